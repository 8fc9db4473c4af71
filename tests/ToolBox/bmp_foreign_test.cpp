// Pictures written by other programs: ImageMagick and Pillow, as Debian ships them, and the hand-
// made layouts neither writes (make_foreign_bitmaps.py writes them at build time, with the picture
// each must read as). Every one opens as a 24-bit bitmap of its size showing its picture.
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "boxes.h"
#include "tb_test_util.h"

namespace {

// The folder as Wine's Z: drive shows it.
std::string ForeignFolder()
{
    std::string path = std::string("Z:") + TINTWELL_FOREIGN_BMPS + "/";
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

struct Variant {
    std::string name;
    int tolerance;
};

std::vector<Variant> Variants()
{
    std::vector<Variant> list;
    std::ifstream in(ForeignFolder() + "list.txt");
    std::string name;
    int tolerance;
    while (in >> name >> tolerance) list.push_back({name, tolerance});
    return list;
}

}  // namespace

class ForeignBmp : public ToolboxTest {};

TEST_F(ForeignBmp, EveryVariantOfTheCommonWritersReadsAsItsPicture)
{
    BoxScript boxes;
    std::vector<Variant> variants = Variants();
    ASSERT_GE(variants.size(), 25u) << ForeignFolder();
    int magick = 0, pillow = 0;
    for (const Variant& v : variants) {
        std::vector<BYTE> truth = ReadWholeFile(ForeignFolder() + v.name + ".rgb");
        ASSERT_GE(truth.size(), 8u) << v.name;
        int w = (int)Get32(truth, 0), h = (int)Get32(truth, 4);
        ASSERT_EQ(truth.size(), 8u + 3u * w * h) << v.name;
        RECT r = {-7, -7, -7, -7};
        int b = ReadPicture(ForeignFolder() + v.name + ".bmp", &r);
        ASSERT_GE(b, 0) << v.name << " was refused";
        EXPECT_TRUE(SameRect(r, RECT{0, 0, w, h})) << v.name;
        EXPECT_EQ(grfx_BitCount(tb_GetBitmapDIB(b)), 24) << v.name;
        int wrong = 0;
        for (int y = 0; y < h && wrong < 3; ++y) {
            for (int x = 0; x < w && wrong < 3; ++x) {
                const BYTE* t = truth.data() + 8 + 3 * (y * w + x);
                Rgb got = Pixel(b, x, y);
                if (abs(got.r - t[0]) > v.tolerance || abs(got.g - t[1]) > v.tolerance ||
                    abs(got.b - t[2]) > v.tolerance) {
                    ++wrong;
                    ADD_FAILURE() << v.name << " at " << x << "," << y << ": " << got << " instead of ("
                                  << int(t[0]) << "," << int(t[1]) << "," << int(t[2]) << ")";
                }
            }
        }
        tb_DisposeBitmap(b);
        magick += v.name.rfind("im_", 0) == 0;
        pillow += v.name.rfind("pil_", 0) == 0;
    }
    EXPECT_GE(magick, 10);
    EXPECT_GE(pillow, 5);
    EXPECT_EQ(boxes.count(), 0u);
}

// Each of those files cut short anywhere in its headers, table or pixels is refused and leaves
// nothing behind; the same bytes with more appended after the pixels still read.
TEST_F(ForeignBmp, CutFilesAreRefusedAndTrailingBytesIgnored)
{
    BoxScript boxes;
    std::string path = TempFile("tintwell_foreign_cut.bmp");
    for (const Variant& v : Variants()) {
        std::vector<BYTE> whole = ReadWholeFile(ForeignFolder() + v.name + ".bmp");
        ASSERT_GT(whole.size(), 60u) << v.name;
        for (size_t keep : {size_t(0), size_t(13), size_t(20), size_t(53), whole.size() / 2, whole.size() - 1}) {
            std::vector<BYTE> cut(whole.begin(), whole.begin() + keep);
            WriteWholeFile(path, cut);
            RECT r = {-7, -7, -7, -7};
            EXPECT_EQ(ReadPicture(path, &r), -1) << v.name << " cut to " << keep;
            EXPECT_EQ(FreeSlotCount(), TB_MAX_BITMAPS) << v.name;
        }
        std::vector<BYTE> longer = whole;
        longer.insert(longer.end(), 300, 0xEE);
        Put32(longer, BMP_SIZE, (uint32_t)longer.size());
        WriteWholeFile(path, longer);
        RECT r;
        int b = ReadPicture(path, &r);
        EXPECT_GE(b, 0) << v.name << " with trailing bytes";
        if (b >= 0) tb_DisposeBitmap(b);
    }
    DeleteFileA(path.c_str());
    EXPECT_EQ(boxes.count(), 0u);
}
