// Thousands of damaged BMP files fed to the reader: it must never crash, never keep a slot for a
// refused file, and give only sane pictures for the files it accepts.
#include <random>

#include "boxes.h"
#include "tb_test_util.h"

class BmpFuzz : public ToolboxTest {
protected:
    void TearDown() override
    {
        ToolboxTest::TearDown();
        DeleteFileA(path.c_str());
    }
    std::string path = TempFile("tintwell_bmp_fuzz.bmp");
};

namespace {

const uint32_t kInteresting[] = {0,          1,          2,          3,          4,          40,        53,
                                 54,         55,         1078,       16383,      16384,      16385,     0x7FFF,
                                 0x8000,     0xFFFF,     0x10000,    0x7FFFFFFF, 0x80000000, 0xFFFFFFFF, 0xFFFFFFFE,
                                 0xFFFFFF00, 0x40000000, 0x20000000, 24,         8,          32};
const size_t kFields[] = {BMP_SIZE, BMP_OFFSET, BMP_INFO_SIZE, BMP_WIDTH, BMP_HEIGHT, BMP_COMPRESSION,
                          BMP_IMAGE_SIZE, BMP_CLR_USED};

struct Mutator {
    std::mt19937 rng;
    explicit Mutator(unsigned seed) : rng(seed) {}
    int Below(int n) { return (int)(rng() % (unsigned)n); }

    std::vector<BYTE> Base()
    {
        int w = 1 + Below(9), h = 1 + Below(9);
        if (Below(2)) {
            return MakeBmp24(w, h, [&](int x, int y) { return Rgb{x * 20, y * 20, Below(256)}; });
        }
        std::vector<Rgb> table;
        for (int i = 0; i < 256; ++i) table.push_back({Below(256), Below(256), Below(256)});
        return MakeBmp(w, h, 8, table, [&](int) {
            std::vector<BYTE> row;
            for (int x = 0; x < w; ++x) row.push_back((BYTE)Below(256));
            return row;
        });
    }

    std::vector<BYTE> Damaged()
    {
        std::vector<BYTE> f = Base();
        int kind = Below(6);
        if (kind == 0) {  // random bytes of the headers (and table)
            size_t span = Get16(f, BMP_BITS) == 8 ? 1078 : 54;
            for (int n = 1 + Below(4); n > 0; --n) f[Below((int)span)] = (BYTE)rng();
        } else if (kind == 1) {  // a header field set to a boundary value
            for (int n = 1 + Below(3); n > 0; --n)
                Put32(f, kFields[Below((int)(sizeof kFields / sizeof *kFields))],
                      kInteresting[Below((int)(sizeof kInteresting / sizeof *kInteresting))]);
            if (Below(3) == 0) Put16(f, BMP_BITS, Below(2) ? 8 : 24);
        } else if (kind == 2) {  // truncated anywhere
            f.resize(Below((int)f.size()));
        } else if (kind == 3) {  // random bytes, sometimes looking like a BMP
            f.assign(Below(1200), 0);
            for (BYTE& b : f) b = (BYTE)rng();
            if (f.size() >= 30 && Below(2)) {
                f[0] = 'B';
                f[1] = 'M';
                Put16(f, BMP_BITS, Below(2) ? 8 : 24);
            }
        } else if (kind == 4) {  // width and height swapped or changed, sizes recomputed or not
            Put32(f, BMP_WIDTH, Get32(f, BMP_WIDTH) + Below(5) - 2);
            Put32(f, BMP_HEIGHT, Get32(f, BMP_HEIGHT) + Below(5) - 2);
            if (Below(2)) f.resize(f.size() + Below(40));
        } else {  // extra bytes announced or appended
            f.resize(f.size() + Below(64));
            if (Below(2)) Put32(f, BMP_SIZE, (uint32_t)f.size());
        }
        return f;
    }
};

}  // namespace

TEST_F(BmpFuzz, DamagedFilesNeverCrashLeakOrGiveInsaneBitmaps)
{
    BoxScript boxes;  // nothing may be shown; a box would also stop the run without it
    Mutator m(20240611);
    int accepted = 0, refused = 0;
    for (int round = 0; round < 4000; ++round) {
        std::vector<BYTE> file = m.Damaged();
        WriteWholeFile(path, file);
        RECT r = {-7, -7, -7, -7};
        int b = ReadPicture(path, &r);
        ASSERT_NE(b, -2) << "round " << round;
        if (b < 0) {
            ++refused;
            ASSERT_TRUE(SameRect(r, RECT{-7, -7, -7, -7})) << "round " << round;
        } else {
            ++accepted;
            ASSERT_GE(file.size(), 54u);
            int w = (int)Get32(file, BMP_WIDTH), h = (int)Get32(file, BMP_HEIGHT);
            int bits = Get16(file, BMP_BITS);
            uint32_t compression = Get32(file, BMP_COMPRESSION);
            ASSERT_EQ(Get32(file, BMP_INFO_SIZE), 40u) << "round " << round;
            ASSERT_TRUE(bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32)
                << "round " << round;
            if (h < 0) h = -h;
            ASSERT_TRUE(w >= 1 && w <= 16384 && h >= 1 && h <= 16384) << w << "x" << h;
            ASSERT_TRUE(SameRect(r, RECT{0, 0, w, h})) << "round " << round;
            ASSERT_EQ(tb_GetBitmapWidth(b), w);
            ASSERT_EQ(tb_GetBitmapHeight(b), h);
            // Whatever the reader took lies inside the file and inside what its header claims.
            uint32_t size = Get32(file, BMP_SIZE), offset = Get32(file, BMP_OFFSET);
            ASSERT_LE(size, file.size()) << "round " << round;
            ASSERT_GE(offset, 54u) << "round " << round;
            if (compression == 0) {
                size_t pixels = (size_t)Stride(w, bits) * h;
                ASSERT_LE((long long)offset + (long long)pixels, (long long)size) << "round " << round;
                if (bits == 24 && (int)Get32(file, BMP_HEIGHT) > 0) {
                    GdiFlush();
                    ASSERT_EQ(memcmp(tb_GetBitmapDIB(b)->lpBits, file.data() + offset, pixels), 0)
                        << "round " << round;
                }
            }
            tb_DisposeBitmap(b);
        }
        ASSERT_EQ(FreeSlotCount(), TB_MAX_BITMAPS) << "round " << round;
    }
    EXPECT_EQ(boxes.count(), 0u);
    // Both ways through the reader were taken many times.
    EXPECT_GT(accepted, 300);
    EXPECT_GT(refused, 2000);
    EXPECT_EQ(tb.file, INVALID_HANDLE_VALUE);
}
