// Pictures written by other programs: ImageMagick and Pillow, as Debian ships them, and the hand-
// made layouts neither writes (make_foreign_bitmaps.py writes them at build time, with the picture
// each must read as). Every one opens as a 24-bit bitmap of its size showing its picture: BMP files
// through the toolbox's own reader, PNG, JPEG, GIF and TIFF through the imaging component.
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "boxes.h"
#include "tb_test_util.h"

namespace {

struct Variant {
    std::string name;
    int tolerance;
};

std::vector<Variant> Variants(const char* list = "list.txt")
{
    std::vector<Variant> variants;
    std::ifstream in(ForeignFolder() + list);
    std::string name;
    int tolerance;
    while (in >> name >> tolerance) variants.push_back({name, tolerance});
    return variants;
}

// Bitmap b (w x h) against the picture t shows at (x * scale + left, y * scale + top).
void ExpectPicture(int b, int w, int h, const ForeignTruth& t, int left, int top, int scale, int tolerance,
                   const std::string& what)
{
    for (int y = 0, wrong = 0; y < h && wrong < 3; ++y) {
        for (int x = 0; x < w && wrong < 3; ++x) {
            const BYTE* want = t.At(left + x / scale, top + y / scale);
            Rgb got = Pixel(b, x, y);
            if (abs(got.r - want[0]) > tolerance || abs(got.g - want[1]) > tolerance || abs(got.b - want[2]) > tolerance) {
                ++wrong;
                ADD_FAILURE() << what << " at " << x << "," << y << ": " << got << " instead of (" << int(want[0])
                              << "," << int(want[1]) << "," << int(want[2]) << ")";
            }
        }
    }
}

int ReadAny(const std::string& path, RECT* rect, const TB_PictureNeed* need, int* format = nullptr)
{
    std::vector<char> name(path.begin(), path.end());
    name.push_back(0);
    if (tb_OpenFileToRead(name.data(), 0) != 1) return -2;
    int index = tb_ReadPictureFromFile(rect, need, format);
    tb_CloseFile();
    return index;
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
        ForeignTruth t = ForeignTruthOf(v.name);
        ASSERT_GT(t.w, 0) << v.name;
        RECT r = {-7, -7, -7, -7};
        int b = ReadPicture(ForeignFolder() + v.name + ".bmp", &r);
        ASSERT_GE(b, 0) << v.name << " was refused";
        EXPECT_TRUE(SameRect(r, RECT{0, 0, t.w, t.h})) << v.name;
        EXPECT_EQ(grfx_BitCount(tb_GetBitmapDIB(b)), 24) << v.name;
        ExpectPicture(b, t.w, t.h, t, 0, 0, 1, v.tolerance, v.name);
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

// PNG of every depth and kind, JPEG baseline, progressive, grey, CMYK and in all eight EXIF
// orientations (one in a big-endian block), an animated GIF, a TIFF of two pages: each read whole,
// its middle at its own size (as centred on a smaller canvas; even sizes on odd sides, where a
// mirrored crop would be off by one) and at twice its size (as stretched over the canvas), upright
// and on white paper. Damage the decoders stumble on is refused, however often, without memory kept;
// a GIF cut after its first picture shows that picture.
TEST_F(ForeignBmp, EveryPictureOfTheOtherFormatsReadsUprightAtEachPlacing)
{
    BoxScript boxes;
    std::vector<Variant> pictures = Variants("pictures.txt");
    ASSERT_GE(pictures.size(), 25u) << ForeignFolder();
    for (const Variant& v : pictures) {
        std::string path = ForeignFolder() + v.name, ext = v.name.substr(v.name.rfind('.'));
        RECT r = {-7, -7, -7, -7};
        int format = -1;
        int b = ReadAny(path, &r, nullptr, &format);
        if (v.tolerance < 0) {
            EXPECT_EQ(b, -1) << v.name;
            EXPECT_EQ(FreeSlotCount(), TB_MAX_BITMAPS) << v.name;
            // Refused again and again, it costs no memory: a decoder keeping 20 KB for each
            // damaged file would add 4 MB here.
            SIZE_T before = PrivateBytes();
            for (int k = 0; k < 200; ++k) ReadAny(path, &r, nullptr);
            EXPECT_LT((long long)PrivateBytes() - (long long)before, 1LL << 20) << v.name;
            continue;
        }
        ForeignTruth t = ForeignTruthOf(v.name.substr(0, v.name.rfind('.')));
        ASSERT_GE(b, 0) << v.name << " was refused";
        EXPECT_EQ(format, ext == ".png" ? TB_FORMAT_PNG : ext == ".jpg" ? TB_FORMAT_JPEG : ext == ".gif" ? TB_FORMAT_GIF
                                                                                                     : TB_FORMAT_TIFF);
        EXPECT_TRUE(SameRect(r, RECT{0, 0, t.w, t.h})) << v.name << " is " << r.right << "x" << r.bottom;
        ExpectPicture(b, t.w, t.h, t, 0, 0, 1, v.tolerance, v.name + " whole");
        tb_DisposeBitmap(b);
        TB_PictureNeed middle = {TB_FIT_CROP, 10, 6}, twice = {TB_FIT_SCALE, 2 * t.w, 2 * t.h};
        b = ReadAny(path, &r, &middle);
        ASSERT_TRUE(b >= 0 && SameRect(r, RECT{0, 0, 10, 6})) << v.name;
        ExpectPicture(b, 10, 6, t, t.w / 2 - 5, t.h / 2 - 3, 1, v.tolerance, v.name + " middle");
        tb_DisposeBitmap(b);
        b = ReadAny(path, &r, &twice);
        ASSERT_TRUE(b >= 0 && SameRect(r, RECT{0, 0, 2 * t.w, 2 * t.h})) << v.name;
        ExpectPicture(b, 2 * t.w, 2 * t.h, t, 0, 0, 2, v.tolerance, v.name + " twice");
        tb_DisposeBitmap(b);
    }
    EXPECT_EQ(boxes.count(), 0u);
}
