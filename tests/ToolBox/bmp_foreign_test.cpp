// Pictures written by other programs: ImageMagick and Pillow, as Debian ships them, and the hand-
// made layouts neither writes (make_foreign_bitmaps.py writes them at build time, with the picture
// each must read as). Every one opens as a 24-bit bitmap of its size showing its picture: the BMP
// files through the toolbox's own reader, PNG, JPEG, GIF and TIFF through the imaging component.
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

Rgb Color(const ForeignTruth& t, int x, int y)
{
    const BYTE* p = t.At(x, y);
    return {p[0], p[1], p[2]};
}

// Every pixel of bitmap b against at(x, y) within tolerance; reports the first few that differ.
void ExpectPixels(int b, int w, int h, const std::function<Rgb(int, int)>& at, int tolerance, const std::string& what)
{
    int wrong = 0;
    for (int y = 0; y < h && wrong < 3; ++y) {
        for (int x = 0; x < w && wrong < 3; ++x) {
            Rgb want = at(x, y), got = Pixel(b, x, y);
            if (abs(got.r - want.r) > tolerance || abs(got.g - want.g) > tolerance || abs(got.b - want.b) > tolerance) {
                ++wrong;
                ADD_FAILURE() << what << " at " << x << "," << y << ": " << got << " instead of " << want;
            }
        }
    }
}

// Opens path, reads it as need asks (nullptr: whole) and closes the channel.
int ReadAny(const std::string& path, RECT* rect, const TB_PictureNeed* need, int* format)
{
    std::vector<char> name(path.begin(), path.end());
    name.push_back(0);
    if (tb_OpenFileToRead(name.data(), 0) != 1) return -2;
    int index = tb_ReadPictureFromFile(rect, need, format);
    tb_CloseFile();
    return index;
}

int FormatOfName(const std::string& name)
{
    std::string ext = name.substr(name.rfind('.'));
    return ext == ".png" ? TB_FORMAT_PNG : ext == ".jpg" ? TB_FORMAT_JPEG : ext == ".gif" ? TB_FORMAT_GIF : TB_FORMAT_TIFF;
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
        ASSERT_GT(t.w, 0) << v.name << ": no picture to compare with";
        int w = t.w, h = t.h;
        RECT r = {-7, -7, -7, -7};
        int b = ReadPicture(ForeignFolder() + v.name + ".bmp", &r);
        ASSERT_GE(b, 0) << v.name << " was refused";
        EXPECT_TRUE(SameRect(r, RECT{0, 0, w, h})) << v.name;
        EXPECT_EQ(grfx_BitCount(tb_GetBitmapDIB(b)), 24) << v.name;
        ExpectPixels(b, w, h, [&](int x, int y) { return Color(t, x, y); }, v.tolerance, v.name);
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
// orientations, an animated GIF and a TIFF of two pages: each read whole, its middle at its own
// size (as an opened picture is centred on a smaller canvas) and scaled to twice its size (as the
// stretch preference fills the canvas), upright and over white paper.
TEST_F(ForeignBmp, EveryPictureOfTheOtherFormatsReadsUprightAtEachPlacing)
{
    BoxScript boxes;
    std::vector<Variant> pictures = Variants("pictures.txt");
    ASSERT_GE(pictures.size(), 25u) << ForeignFolder();
    for (const Variant& v : pictures) {
        ForeignTruth t = ForeignTruthOf(v.name.substr(0, v.name.rfind('.')));
        ASSERT_GT(t.w, 0) << v.name << ": no picture to compare with";
        RECT r = {-7, -7, -7, -7};
        int format = -1;
        int b = ReadAny(ForeignFolder() + v.name, &r, nullptr, &format);
        ASSERT_GE(b, 0) << v.name << " was refused";
        EXPECT_EQ(format, FormatOfName(v.name)) << v.name;
        EXPECT_TRUE(SameRect(r, RECT{0, 0, t.w, t.h})) << v.name << " is " << r.right << "x" << r.bottom;
        ExpectPixels(b, t.w, t.h, [&](int x, int y) { return Color(t, x, y); }, v.tolerance, v.name + " whole");
        tb_DisposeBitmap(b);

        // The middle 10 x 6 at its own size (even on odd sides: a mirrored crop would be off by one).
        TB_PictureNeed middle = {TB_FIT_CROP, 10, 6};
        b = ReadAny(ForeignFolder() + v.name, &r, &middle, nullptr);
        ASSERT_GE(b, 0) << v.name;
        EXPECT_TRUE(SameRect(r, RECT{0, 0, 10, 6})) << v.name;
        int left = t.w / 2 - 10 / 2, top = t.h / 2 - 6 / 2;
        ExpectPixels(b, 10, 6, [&](int x, int y) { return Color(t, left + x, top + y); }, v.tolerance, v.name + " middle");
        tb_DisposeBitmap(b);

        // Twice the size: every pixel twice in each direction.
        TB_PictureNeed twice = {TB_FIT_SCALE, 2 * t.w, 2 * t.h};
        b = ReadAny(ForeignFolder() + v.name, &r, &twice, nullptr);
        ASSERT_GE(b, 0) << v.name;
        EXPECT_TRUE(SameRect(r, RECT{0, 0, 2 * t.w, 2 * t.h})) << v.name;
        ExpectPixels(b, 2 * t.w, 2 * t.h, [&](int x, int y) { return Color(t, x / 2, y / 2); }, v.tolerance,
                     v.name + " twice");
        tb_DisposeBitmap(b);
    }
    EXPECT_EQ(boxes.count(), 0u);
}

namespace {

// The start of a JPEG file around an EXIF block: SOI, the segments given, then the start of the
// scan. tiff is the block behind "Exif\0\0".
void Append(std::vector<BYTE>& to, const std::vector<BYTE>& bytes)
{
    for (BYTE b : bytes) to.push_back(b);
}

std::vector<BYTE> Segment(BYTE marker, const std::vector<BYTE>& body)
{
    std::vector<BYTE> s = {0xFF, marker, (BYTE)((body.size() + 2) >> 8), (BYTE)(body.size() + 2)};
    Append(s, body);
    return s;
}

std::vector<BYTE> ExifBody(const std::vector<BYTE>& tiff)
{
    std::vector<BYTE> b = {'E', 'x', 'i', 'f', 0, 0};
    Append(b, tiff);
    return b;
}

// A TIFF block whose first directory holds the given entries (tag, type, count, value) in one byte
// order; the value of a single short lies at the start of the value field.
struct Entry {
    unsigned tag, type, count, value;
};
std::vector<BYTE> TiffBlock(bool motorola, const std::vector<Entry>& entries, unsigned directory = 8)
{
    std::vector<BYTE> t;
    auto put = [&](unsigned v, int n) {
        for (int i = 0; i < n; ++i) t.push_back((BYTE)(motorola ? v >> (8 * (n - 1 - i)) : v >> (8 * i)));
    };
    t.push_back(motorola ? 'M' : 'I');
    t.push_back(motorola ? 'M' : 'I');
    put(42, 2);
    put(directory, 4);
    while (t.size() < directory) t.push_back(0);
    put((unsigned)entries.size(), 2);
    for (const Entry& e : entries) {
        put(e.tag, 2);
        put(e.type, 2);
        put(e.count, 4);
        if (e.type == 3) {
            put(e.value, 2);
            put(0, 2);
        } else {
            put(e.value, 4);
        }
    }
    put(0, 4);  // no next directory
    return t;
}

std::vector<BYTE> Jpeg(const std::vector<std::vector<BYTE>>& segments)
{
    std::vector<BYTE> f = {0xFF, 0xD8};
    for (const auto& s : segments) Append(f, s);
    Append(f, Segment(0xDA, {1, 2, 3}));
    return f;
}

}  // namespace

// The orientation wherever a camera's file puts it, and 1 for every block that does not hold one
// that can be read, cut anywhere included.
TEST(ExifOrientation, FoundWhereverTheBlockPutsItAndOneForAnythingElse)
{
    const Entry six = {0x0112, 3, 1, 6};
    const std::vector<BYTE> jfif = Segment(0xE0, {'J', 'F', 'I', 'F', 0, 1, 2, 0, 0, 1, 0, 1, 0, 0});
    const std::vector<BYTE> xmp = Segment(0xE1, {'h', 't', 't', 'p', ':', '/', '/', 'n', 's', 0});
    struct Case {
        const char* what;
        std::vector<BYTE> file;
        int orientation;
    };
    const std::vector<BYTE> five = Jpeg({Segment(0xE1, ExifBody(TiffBlock(false, {{0x0112, 3, 1, 5}})))});
    std::vector<BYTE> filled = {0xFF, 0xD8, 0xFF, 0xFF};
    Append(filled, std::vector<BYTE>(five.begin() + 2, five.end()));
    std::vector<BYTE> beyond = Jpeg({Segment(0xE1, ExifBody(TiffBlock(false, {six})))});
    beyond[2 + 4 + 6 + 4] = 0x60;  // the directory's offset, 8, becomes 0xEA60
    beyond[2 + 4 + 6 + 5] = 0xEA;
    std::vector<BYTE> afterScan = Jpeg({});
    Append(afterScan, Segment(0xE1, ExifBody(TiffBlock(false, {six}))));
    const Case cases[] = {
        {"little-endian, first entry", Jpeg({Segment(0xE1, ExifBody(TiffBlock(false, {six})))}), 6},
        {"big-endian, third entry", Jpeg({Segment(0xE1, ExifBody(TiffBlock(true, {{0x010F, 2, 4, 0}, {0x0110, 2, 4, 0},
                                                                               {0x0112, 3, 1, 8}})))}), 8},
        {"behind JFIF", Jpeg({jfif, Segment(0xE1, ExifBody(TiffBlock(false, {{0x0112, 3, 1, 3}})))}), 3},
        {"fill bytes before the marker", filled, 5},
        {"behind an XMP block", Jpeg({xmp, Segment(0xE1, ExifBody(TiffBlock(true, {{0x0112, 3, 1, 7}})))}), 7},
        {"directory further on", Jpeg({Segment(0xE1, ExifBody(TiffBlock(true, {{0x0112, 3, 1, 2}}, 20)))}), 2},
        {"value 9", Jpeg({Segment(0xE1, ExifBody(TiffBlock(false, {{0x0112, 3, 1, 9}})))}), 1},
        {"value 0", Jpeg({Segment(0xE1, ExifBody(TiffBlock(false, {{0x0112, 3, 1, 0}})))}), 1},
        {"a long, not a short", Jpeg({Segment(0xE1, ExifBody(TiffBlock(false, {{0x0112, 4, 1, 6}})))}), 1},
        {"no orientation", Jpeg({Segment(0xE1, ExifBody(TiffBlock(false, {{0x010F, 2, 4, 0}})))}), 1},
        {"no EXIF at all", Jpeg({jfif}), 1},
        {"only after the scan", afterScan, 1},
        {"directory beyond the block", beyond, 1},
        {"not a JPEG", {'G', 'I', 'F', '8', '9', 'a'}, 1},
    };
    for (const Case& c : cases) EXPECT_EQ(tb_ExifOrientation(c.file.data(), c.file.size()), c.orientation) << c.what;

    // More entries claimed than the block holds, a segment length under 2, and every cut of a file
    // that holds 6: never read past the end, 6 only while the block is whole.
    std::vector<BYTE> many = Jpeg({Segment(0xE1, ExifBody(TiffBlock(false, {{0x010F, 2, 4, 0}})))});
    many[2 + 4 + 6 + 8] = 0xFF;  // the entry count
    EXPECT_EQ(tb_ExifOrientation(many.data(), many.size()), 1);
    std::vector<BYTE> shortLength = Jpeg({Segment(0xE1, ExifBody(TiffBlock(false, {six})))});
    shortLength[5] = 1;
    shortLength[4] = 0;
    EXPECT_EQ(tb_ExifOrientation(shortLength.data(), shortLength.size()), 1);
    const std::vector<BYTE> whole = cases[0].file;
    const size_t blockEnd = 2 + 4 + 6 + 8 + 2 + 12 + 4;
    for (size_t n = 0; n <= whole.size(); ++n) {
        std::vector<BYTE> cut(whole.begin(), whole.begin() + n);  // a buffer of exactly n bytes
        EXPECT_EQ(tb_ExifOrientation(cut.data(), cut.size()), n >= blockEnd ? 6 : 1) << "cut to " << n;
    }
}

namespace {

uint32_t Crc(const std::vector<BYTE>& b, size_t from, size_t n)
{
    uint32_t c = 0xFFFFFFFFu;
    for (size_t i = from; i < from + n; ++i) {
        c ^= b[i];
        for (int k = 0; k < 8; ++k) c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    }
    return c ^ 0xFFFFFFFFu;
}

}  // namespace

// Damage some of the system's decoders crash on or keep memory for is refused before they see
// it: a GIF whose first picture has no colour table, is cut, lies off the screen or has an
// impossible code size; a PNG with a critical chunk cut or changed. What the damage leaves whole
// still reads: a GIF cut after its first picture shows that picture; a PNG with a damaged text
// chunk reads.
TEST_F(ForeignBmp, DamageTheDecodersStumbleOnIsRefusedFirstAndTheRestStillReads)
{
    BoxScript boxes;
    const std::vector<BYTE> gif = ReadWholeFile(ForeignFolder() + "pil_gif_animated.gif");
    const std::vector<BYTE> png = ReadWholeFile(ForeignFolder() + "pil_png_rgb.png");
    ASSERT_GT(gif.size(), 200u);
    ASSERT_GT(png.size(), 100u);
    const size_t table = 3u << ((gif[10] & 7) + 1), picture = 13 + table + 19 + 8;  // behind two extensions
    ASSERT_EQ(gif[picture], 0x2C);
    size_t end = picture + 11;  // the end of the first picture's data
    while (gif[end]) end += 1 + gif[end];
    ++end;

    struct Case {
        const char* what;
        std::vector<BYTE> file;
        const char* truth;  // the picture it reads as, or nullptr: refused
    };
    std::vector<Case> cases;
    std::vector<BYTE> f = gif;
    f.erase(f.begin() + 13, f.begin() + 13 + table);
    f[10] &= 0x7F;
    cases.push_back({"GIF without a colour table", f, nullptr});
    cases.push_back({"GIF cut in its first picture", std::vector<BYTE>(gif.begin(), gif.begin() + end - 5), nullptr});
    cases.push_back({"GIF cut after its first picture", std::vector<BYTE>(gif.begin(), gif.begin() + end + 30),
                     "pil_gif_animated"});
    f = gif;
    f[picture + 1] = 5;
    cases.push_back({"GIF picture off the screen", f, nullptr});
    f = gif;
    f[picture + 10] = 12;
    cases.push_back({"GIF code size 12", f, nullptr});
    f = png;
    f[33 + 8 + 100] ^= 0x10;
    cases.push_back({"PNG with changed picture data", f, nullptr});
    cases.push_back({"PNG cut in its picture data", std::vector<BYTE>(png.begin(), png.begin() + 300), nullptr});
    std::vector<BYTE> text = {0, 0, 0, 5, 't', 'E', 'X', 't', 'a', 0, 'b', 'c', 'd', 1, 2, 3, 4};  // wrong sum
    f = png;
    f.insert(f.begin() + 33, text.begin(), text.end());
    cases.push_back({"PNG with a damaged text chunk", f, "pil_png_rgb"});
    f = png;
    Put32(f, 33 + 8 + 100, 0);  // changed data with its sum made right: the decoder's own refusal
    uint32_t sum = Crc(f, 37, 4 + 565);
    f[33 + 8 + 565] = (BYTE)(sum >> 24), f[33 + 8 + 566] = (BYTE)(sum >> 16), f[33 + 8 + 567] = (BYTE)(sum >> 8),
    f[33 + 8 + 568] = (BYTE)sum;
    cases.push_back({"PNG with changed data and a right sum", f, nullptr});

    std::string path = TempFile("tintwell_damaged_picture");
    for (const Case& c : cases) {
        WriteWholeFile(path, c.file);
        RECT r = {-7, -7, -7, -7};
        int b = ReadAny(path, &r, nullptr, nullptr);
        if (!c.truth) {
            EXPECT_EQ(b, -1) << c.what;
            EXPECT_EQ(FreeSlotCount(), TB_MAX_BITMAPS) << c.what;
        } else {
            ASSERT_GE(b, 0) << c.what;
            ForeignTruth t = ForeignTruthOf(c.truth);
            EXPECT_TRUE(SameRect(r, RECT{0, 0, t.w, t.h})) << c.what;
            ExpectPixels(b, t.w, t.h, [&](int x, int y) { return Color(t, x, y); }, 0, c.what);
        }
        if (b >= 0) tb_DisposeBitmap(b);
    }
    DeleteFileA(path.c_str());
    EXPECT_EQ(boxes.count(), 0u);
}
