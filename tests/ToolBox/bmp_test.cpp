// Pictures as BMP files: the layout written, round trips, 8-bit files and what the reader refuses.
#include <cstring>

#include "boxes.h"
#include "tb_test_util.h"

class BmpFiles : public ToolboxTest {
protected:
    void TearDown() override
    {
        ToolboxTest::TearDown();
        DeleteFileA(path.c_str());
    }
    std::string path = TempFile("tintwell_bmp_test.bmp");

    bool WriteBitmap(int index)
    {
        std::vector<char> name(path.begin(), path.end());
        name.push_back(0);
        if (tb_OpenFileToWrite(name.data(), 0) != 1) return false;
        int ok = tb_WriteBitmapToFile(index);
        tb_CloseFile();
        return ok == 1;
    }
    // Writes the bytes and reads them as a picture; the rectangle starts as a sentinel.
    int Read(const std::vector<BYTE>& bytes, RECT* rect)
    {
        WriteWholeFile(path, bytes);
        *rect = RECT{-7, -7, -7, -7};
        return ReadPicture(path, rect);
    }
};

namespace {

Rgb Pattern(int x, int y) { return {(x * 7 + y) & 255, (x * 3 + y * 5) & 255, (x ^ y) & 255}; }

std::vector<Rgb> RandomTable(unsigned seed)
{
    std::vector<Rgb> table;
    for (int i = 0; i < 256; ++i) {
        seed = seed * 1103515245u + 12345u;
        table.push_back({(int)(seed >> 8) & 255, (int)(seed >> 16) & 255, (int)(seed >> 24) & 255});
    }
    return table;
}

}  // namespace

TEST_F(BmpFiles, WriterLaysOutHeadersAndPaddedRows)
{
    for (int width : {1, 3, 4, 5}) {
        int b = Blank24(width, 3);
        Fill(b, Pattern);
        ASSERT_TRUE(WriteBitmap(b));
        std::vector<BYTE> file = ReadWholeFile(path);
        int stride = Stride(width, 24);
        ASSERT_EQ(file.size(), (size_t)(54 + stride * 3)) << "width " << width;
        EXPECT_EQ(file[0], 'B');
        EXPECT_EQ(file[1], 'M');
        EXPECT_EQ(Get32(file, BMP_SIZE), (uint32_t)(stride * 3 + 54));
        EXPECT_EQ(Get32(file, 6), 0u);
        EXPECT_EQ(Get32(file, BMP_OFFSET), 54u);
        EXPECT_EQ(Get32(file, BMP_INFO_SIZE), 40u);
        EXPECT_EQ(Get32(file, BMP_WIDTH), (uint32_t)width);
        EXPECT_EQ(Get32(file, BMP_HEIGHT), 3u);
        EXPECT_EQ(Get16(file, BMP_PLANES), 1);
        EXPECT_EQ(Get16(file, BMP_BITS), 24);
        for (size_t at = BMP_COMPRESSION; at < 54; at += 4) EXPECT_EQ(Get32(file, at), 0u) << "field at " << at;
        // Rows bottom first, blue green red, padded with the zeros of a blank bitmap.
        for (int row = 0; row < 3; ++row) {
            int y = 2 - row;
            const BYTE* p = file.data() + 54 + row * stride;
            for (int x = 0; x < width; ++x) {
                Rgb c = Pattern(x, y);
                ASSERT_EQ(Rgb({p[3 * x + 2], p[3 * x + 1], p[3 * x]}), c) << x << "," << y;
            }
            for (int pad = 3 * width; pad < stride; ++pad) EXPECT_EQ(p[pad], 0);
        }
        tb_DisposeBitmap(b);
    }
}

TEST_F(BmpFiles, RoundTripsKeepEveryByteOfTheStorage)
{
    struct Size { int w, h; };
    for (Size s : {Size{1, 1}, Size{3, 2}, Size{5, 7}, Size{1920, 1080}}) {
        int b = Blank24(s.w, s.h);
        ASSERT_GE(b, 0);
        GdiFlush();
        TB_DIB* dib = tb_GetBitmapDIB(b);
        size_t bytes = (size_t)Stride(s.w, 24) * s.h;
        for (size_t i = 0; i < bytes; ++i) dib->lpBits[i] = (BYTE)(i * 31 + i / 7);
        ASSERT_TRUE(WriteBitmap(b));
        EXPECT_EQ(ReadWholeFile(path).size(), bytes + 54);

        RECT r = {9, 9, 9, 9};
        int back = ReadPicture(path, &r);
        ASSERT_GE(back, 0);
        EXPECT_TRUE(SameRect(r, RECT{0, 0, s.w, s.h}));
        EXPECT_EQ(tb_GetBitmapWidth(back), s.w);
        EXPECT_EQ(tb_GetBitmapHeight(back), s.h);
        RECT kept = {};
        tb_GetBitmapRect(back, &kept);
        EXPECT_TRUE(SameRect(kept, r));
        EXPECT_NE(tb_GetBitmapDC(back), nullptr);
        EXPECT_EQ(memcmp(tb_GetBitmapDIB(back)->lpBits, dib->lpBits, bytes), 0) << s.w << "x" << s.h;
        tb_DisposeBitmap(back);
        tb_DisposeBitmap(b);
    }
}

TEST_F(BmpFiles, WriterRefusesIndicesThatNameNoTwentyFourBitBitmap)
{
    BoxScript boxes;
    int b8 = Blank8(4, 4);
    for (int index : {-1, 50, 5000, 9000, b8}) {
        std::vector<char> name(path.begin(), path.end());
        name.push_back(0);
        ASSERT_EQ(tb_OpenFileToWrite(name.data(), 0), 1);
        EXPECT_EQ(tb_WriteBitmapToFile(index), 0);
        tb_CloseFile();
        EXPECT_EQ(boxes.lastText(), "Invalid bitmap! (tb_WriteBitmapToFile)");
        EXPECT_EQ(ReadWholeFile(path).size(), 0u);
    }
    EXPECT_EQ(boxes.count(), 5u);
    tb_DisposeBitmap(b8);
}

TEST_F(BmpFiles, EightBitFilesShowTheColoursOfTheirTable)
{
    for (int width : {1, 5, 8, 13}) {
        std::vector<Rgb> table = RandomTable(width);
        auto index = [](int x, int y) { return (BYTE)(x * 37 + y * 11 + 3); };
        std::vector<BYTE> file = MakeBmp(width, 4, 8, table, [&](int y) {
            std::vector<BYTE> row;
            for (int x = 0; x < width; ++x) row.push_back(index(x, y));
            return row;
        }, 0xCC);
        ASSERT_EQ(Get32(file, BMP_OFFSET), 1078u);
        RECT r;
        int b = Read(file, &r);
        ASSERT_GE(b, 0) << "width " << width;
        EXPECT_TRUE(SameRect(r, RECT{0, 0, width, 4}));
        EXPECT_EQ(grfx_BitCount(tb_GetBitmapDIB(b)), 24);
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < width; ++x) ASSERT_EQ(Pixel(b, x, y), table[index(x, y)]) << x << "," << y;
        tb_DisposeBitmap(b);
    }
}

TEST_F(BmpFiles, TwentyFourBitPixelsAreReadFromTheOffsetTheFileHeaderGives)
{
    std::vector<BYTE> file = MakeBmp24(4, 2, Pattern);  // stride 12
    // Four extra bytes announced before the pixels: size and offset both grow by 4.
    file.insert(file.begin() + 54, {0xA1, 0xA2, 0xA3, 0xA4});
    Put32(file, BMP_OFFSET, 58);
    Put32(file, BMP_SIZE, (uint32_t)file.size());
    RECT r;
    int b = Read(file, &r);
    ASSERT_GE(b, 0);
    const BYTE* bits = tb_GetBitmapDIB(b)->lpBits;
    EXPECT_EQ(memcmp(bits, file.data() + 58, 24), 0);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x) EXPECT_EQ(Pixel(b, x, y), Pattern(x, y)) << x << "," << y;
    tb_DisposeBitmap(b);

    // An info header that claims to reach past the pixel offset is refused, not read as pixels.
    file = MakeBmp24(4, 2, Pattern);
    Put32(file, BMP_INFO_SIZE, 56);
    EXPECT_EQ(Read(file, &r), -1);
    EXPECT_EQ(FreeSlotCount(), TB_MAX_BITMAPS);
}

TEST_F(BmpFiles, UnknownDepthsGiveMinusOneAndLeaveTheChannelOpen)
{
    for (int bits : {0, 2, 3, 7, 48, 64}) {
        std::vector<BYTE> file = MakeBmp24(6, 6, Pattern);
        Put16(file, BMP_BITS, (uint16_t)bits);
        WriteWholeFile(path, file);
        std::vector<char> name(path.begin(), path.end());
        name.push_back(0);
        ASSERT_EQ(tb_OpenFileToRead(name.data(), 0), 1);
        RECT r = {1, 2, 3, 4};
        EXPECT_EQ(tb_ReadBitmapFromFile(&r), -1) << bits << " bits";
        EXPECT_TRUE(SameRect(r, RECT{1, 2, 3, 4}));
        BYTE next[2] = {};
        EXPECT_EQ(tb_ReadFile(next, 2), 0);  // still open, and positioned right after the headers
        EXPECT_EQ(memcmp(next, file.data() + 54, 2), 0);
        tb_CloseFile();
        EXPECT_EQ(FreeSlotCount(), TB_MAX_BITMAPS);
    }
}

TEST_F(BmpFiles, MalformedFilesAreRefusedWithoutTakingASlot)
{
    BoxScript boxes;
    const std::vector<BYTE> good24 = MakeBmp24(5, 3, Pattern);  // stride 16, 48 pixel bytes
    const std::vector<BYTE> good8 = MakeBmp(5, 3, 8, RandomTable(1), [](int) { return std::vector<BYTE>(5, 1); });
    struct Case {
        const char* what;
        std::function<std::vector<BYTE>()> make;
    };
    auto with = [](std::vector<BYTE> f, size_t at, uint32_t v) {
        Put32(f, at, v);
        return f;
    };
    auto cut = [](std::vector<BYTE> f, size_t n) {
        f.resize(n);
        return f;
    };
    std::vector<Case> cases = {
        {"empty file", [&] { return std::vector<BYTE>(); }},
        {"headers cut after the bit count", [&] { return cut(good24, 30); }},
        {"headers cut at 53 bytes", [&] { return cut(good24, 53); }},
        {"pixels cut short", [&] { return cut(good24, good24.size() - 1); }},
        {"8-bit colour table cut short", [&] { return cut(good8, 54 + 1000); }},
        {"8-bit pixels cut short", [&] { return cut(good8, good8.size() - 3); }},
        {"zero width", [&] { return with(good24, BMP_WIDTH, 0); }},
        {"zero height", [&] { return with(good24, BMP_HEIGHT, 0); }},
        {"negative width", [&] { return with(good24, BMP_WIDTH, (uint32_t)-5); }},
        {"top-down taller than its pixels", [&] { return with(good24, BMP_HEIGHT, (uint32_t)-4); }},
        {"height -2^31", [&] { return with(good24, BMP_HEIGHT, 0x80000000u); }},
        {"width over 16384", [&] { return with(good24, BMP_WIDTH, 16385); }},
        {"height over 16384", [&] { return with(good24, BMP_HEIGHT, 16385); }},
        {"width 0x7fffffff", [&] { return with(good24, BMP_WIDTH, 0x7fffffff); }},
        {"10000 x 10000 at 24 bits (300 MB)",
         [&] { return with(with(with(good24, BMP_WIDTH, 10000), BMP_HEIGHT, 10000), BMP_SIZE, 54 + 30000 * 10000); }},
        {"size claims one pixel byte more", [&] { return with(good24, BMP_SIZE, (uint32_t)good24.size() + 1); }},
        {"size claims one pixel byte fewer", [&] { return with(good24, BMP_SIZE, (uint32_t)good24.size() - 1); }},
        {"size claims four gigabytes", [&] { return with(good24, BMP_SIZE, 0xFFFFFFFFu); }},
        {"offset beyond the size", [&] { return with(good24, BMP_OFFSET, (uint32_t)good24.size() + 10); }},
        {"offset zero", [&] { return with(good24, BMP_OFFSET, 0); }},
        {"8-bit file counted as 24-bit pixels", [&] { return with(good8, BMP_SIZE, 1078 + 48); }},
        {"8-bit RLE", [&] { return with(good8, BMP_COMPRESSION, BI_RLE8); }},
        {"8-bit with 300 colours", [&] { return with(good8, BMP_CLR_USED, 300); }},
        {"24-bit height larger than the pixels", [&] { return with(good24, BMP_HEIGHT, 4); }},
    };
    for (const Case& c : cases) {
        RECT r;
        EXPECT_EQ(Read(c.make(), &r), -1) << c.what;
        EXPECT_TRUE(SameRect(r, RECT{-7, -7, -7, -7})) << c.what;
        EXPECT_EQ(FreeSlotCount(), TB_MAX_BITMAPS) << c.what;
    }
    EXPECT_EQ(boxes.count(), 0u);

    // The untouched files are accepted, so the refusals above come from the faults.
    RECT r;
    int b = Read(good24, &r);
    EXPECT_GE(b, 0);
    tb_DisposeBitmap(b);
    b = Read(good8, &r);
    EXPECT_GE(b, 0);
    tb_DisposeBitmap(b);
}

TEST_F(BmpFiles, NoBitmapLeftMeansMinusOne)
{
    BoxScript boxes;
    for (int i = 0; i < TB_MAX_BITMAPS; ++i) ASSERT_EQ(Memory24(1, 1), i);
    RECT r;
    EXPECT_EQ(Read(MakeBmp24(3, 3, Pattern), &r), -1);
    EXPECT_EQ(boxes.lastText(), "No more available Bitmaps! (tb_CreateBitmap)");
    EXPECT_TRUE(SameRect(r, RECT{-7, -7, -7, -7}));
    for (int i = 0; i < TB_MAX_BITMAPS; ++i) tb_DisposeBitmap(i);

    // Without an open file there is nothing to read.
    EXPECT_EQ(tb_ReadBitmapFromFile(&r), -1);
    EXPECT_EQ(FreeSlotCount(), TB_MAX_BITMAPS);
}

// A PNG written by the imaging component reads back as the bitmap it was written from, its middle
// at its own size, and at half its size as the average of each 2 x 2 block. Without the component
// no PNG is written or read, and BMP files still read.
TEST_F(BmpFiles, PngRoundTripsAndScalesDownByAveraging)
{
    BoxScript boxes;
    const int w = 64, h = 38;
    int b = Blank24(w, h);
    Fill(b, Pattern);
    std::vector<char> name(path.begin(), path.end());
    name.push_back(0);
    auto write = [&](int (*writer)(int)) {
        int ok = tb_OpenFileToWrite(name.data(), 0) == 1 && writer(b) == 1;
        tb_CloseFile();
        return ok;
    };
    auto read = [&](const TB_PictureNeed* need) {
        RECT r;
        int index = tb_OpenFileToRead(name.data(), 0) == 1 ? tb_ReadPictureFromFile(&r, need, nullptr) : -2;
        tb_CloseFile();
        return index;
    };
    ASSERT_TRUE(write(tb_WritePngToFile));
    EXPECT_EQ(memcmp(ReadWholeFile(path).data(), "\x89PNG\r\n\x1a\n", 8), 0);
    TB_PictureNeed middle = {TB_FIT_CROP, 20, 10}, half = {TB_FIT_SCALE, w / 2, h / 2};
    int whole = read(nullptr), part = read(&middle), small = read(&half);
    ASSERT_TRUE(whole >= 0 && part >= 0 && small >= 0);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            ASSERT_EQ(Pixel(whole, x, y), Pattern(x, y)) << x << "," << y;
            if (x >= 22 && x < 42 && y >= 14 && y < 24) {
                ASSERT_EQ(Pixel(part, x - 22, y - 14), Pattern(x, y));
            }
            if (x % 2 || y % 2) continue;
            Rgb a = Pattern(x, y), c = Pattern(x + 1, y), d = Pattern(x, y + 1), e = Pattern(x + 1, y + 1);
            Rgb mean = {(a.r + c.r + d.r + e.r + 2) / 4, (a.g + c.g + d.g + e.g + 2) / 4, (a.b + c.b + d.b + e.b + 2) / 4};
            ASSERT_EQ(Pixel(small, x / 2, y / 2), mean) << x << "," << y;
        }
    }
    for (int index : {whole, part, small}) tb_DisposeBitmap(index);

    const GUID* kept = tb_imagingFactoryClass;
    const GUID none = {0x12345678, 0x9abc, 0xdef0, {1, 2, 3, 4, 5, 6, 7, 8}};
    tb_imagingFactoryClass = &none;
    EXPECT_EQ(read(nullptr), -1);
    EXPECT_FALSE(write(tb_WritePngToFile));
    ASSERT_TRUE(write(tb_WriteBitmapToFile));
    int bmp = read(nullptr);
    EXPECT_GE(bmp, 0);
    if (bmp >= 0) tb_DisposeBitmap(bmp);
    tb_imagingFactoryClass = kept;
    tb_DisposeBitmap(b);
    EXPECT_EQ(boxes.count(), 0u);
}
