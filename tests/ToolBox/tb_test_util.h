// Helpers shared by the bitmap, palette, copy and file tests of the toolbox.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "tb_internal.h"
#include "test_files.h"
#include "test_pictures.h"

// Every test starts without a program palette and must give back every bitmap slot it took.
class ToolboxTest : public testing::Test {
protected:
    void SetUp() override { ForgetPalette(); }
    void TearDown() override
    {
        for (int i = 0; i < TB_MAX_BITMAPS; ++i) {
            if (!tb.bitmaps[i].free) {
                ADD_FAILURE() << "bitmap slot " << i << " is still in use";
                tb_DisposeBitmap(i);
            }
        }
        tb_CloseFile();
        ForgetPalette();
    }
    static void ForgetPalette()
    {
        if (tb.palette) DeleteObject(tb.palette);
        tb.palette = nullptr;
    }
};

// The commit charge of the process, summed over its private regions.
inline SIZE_T PrivateBytes()
{
    SIZE_T total = 0;
    MEMORY_BASIC_INFORMATION info;
    for (BYTE* p = nullptr; VirtualQuery(p, &info, sizeof info) == sizeof info; p += info.RegionSize) {
        if (info.State == MEM_COMMIT && info.Type == MEM_PRIVATE) total += info.RegionSize;
        if ((BYTE*)info.BaseAddress + info.RegionSize < p) break;
    }
    return total;
}

inline int FreeSlotCount()
{
    int n = 0;
    for (int i = 0; i < TB_MAX_BITMAPS; ++i) n += tb.bitmaps[i].free ? 1 : 0;
    return n;
}

inline int MakeBitmap(int width, int height, int source, int depth)
{
    RECT r = {0, 0, width, height};
    return tb_CreateBitmap(&r, source, depth);
}
inline int Blank24(int width, int height) { return MakeBitmap(width, height, 0, 24); }
inline int Blank8(int width, int height) { return MakeBitmap(width, height, 0, 8); }
inline int Memory24(int width, int height) { return MakeBitmap(width, height, TB_SOURCE_MEMORY, 24); }
inline int Memory8(int width, int height) { return MakeBitmap(width, height, TB_SOURCE_MEMORY, 8); }

inline Rgb Pixel(int index, int x, int y)
{
    GdiFlush();
    BYTE r = 1, g = 1, b = 1;
    grfx_GetPixel24(tb_GetBitmapDIB(index), x, y, &r, &g, &b);
    return {r, g, b};
}

inline void PutPixel(int index, int x, int y, Rgb c)
{
    GdiFlush();
    grfx_SetPixel24(tb_GetBitmapDIB(index), x, y, (BYTE)c.r, (BYTE)c.g, (BYTE)c.b);
}

inline void Fill(int index, const std::function<Rgb(int, int)>& color)
{
    int w = tb_GetBitmapWidth(index), h = tb_GetBitmapHeight(index);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) PutPixel(index, x, y, color(x, y));
}

// A colour that names its position, distinct for every pixel of pictures up to 256 x 256.
inline Rgb Marker(int x, int y) { return {x & 255, y & 255, 0x5A}; }
inline Rgb Grey(int, int) { return {90, 90, 90}; }

// The colour of an 8-bit pixel as its surface shows it.
inline Rgb SurfaceColor(HDC dc, int x, int y)
{
    COLORREF c = GetPixel(dc, x, y);
    return {GetRValue(c), GetGValue(c), GetBValue(c)};
}

inline uint32_t Get32(const std::vector<BYTE>& b, size_t at)
{
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | (uint32_t)b[at + 3] << 24;
}
inline uint16_t Get16(const std::vector<BYTE>& b, size_t at) { return (uint16_t)(b[at] | b[at + 1] << 8); }
inline void Put32(std::vector<BYTE>& b, size_t at, uint32_t v)
{
    for (int i = 0; i < 4; ++i) b[at + i] = (BYTE)(v >> (8 * i));
}
inline void Put16(std::vector<BYTE>& b, size_t at, uint16_t v)
{
    b[at] = (BYTE)v;
    b[at + 1] = (BYTE)(v >> 8);
}

// Field offsets of a BMP file.
enum {
    BMP_SIZE = 2, BMP_OFFSET = 10, BMP_INFO_SIZE = 14, BMP_WIDTH = 18, BMP_HEIGHT = 22, BMP_PLANES = 26,
    BMP_BITS = 28, BMP_COMPRESSION = 30, BMP_IMAGE_SIZE = 34, BMP_CLR_USED = 46,
};

inline int Stride(int width, int bits) { return (width * bits + 31) / 32 * 4; }

// A bottom-up BMP file: headers, the colour table given (r, g, b) and padded rows of the bytes that
// rowBytes gives for each row counted from the top. The padding is filled with padByte.
inline std::vector<BYTE> MakeBmp(int width, int height, int bits, const std::vector<Rgb>& table,
                                 const std::function<std::vector<BYTE>(int)>& rowBytes, BYTE padByte = 0)
{
    int stride = Stride(width, bits);
    std::vector<BYTE> file(54 + table.size() * 4, 0);
    file[0] = 'B';
    file[1] = 'M';
    Put32(file, BMP_OFFSET, (uint32_t)file.size());
    Put32(file, BMP_INFO_SIZE, 40);
    Put32(file, BMP_WIDTH, width);
    Put32(file, BMP_HEIGHT, height);
    Put16(file, BMP_PLANES, 1);
    Put16(file, BMP_BITS, (uint16_t)bits);
    Put32(file, BMP_CLR_USED, (uint32_t)table.size());
    for (size_t i = 0; i < table.size(); ++i) {
        file[54 + 4 * i] = (BYTE)table[i].b;
        file[54 + 4 * i + 1] = (BYTE)table[i].g;
        file[54 + 4 * i + 2] = (BYTE)table[i].r;
    }
    for (int y = height - 1; y >= 0; --y) {
        std::vector<BYTE> row = rowBytes(y);
        row.resize(stride, padByte);
        file.insert(file.end(), row.begin(), row.end());
    }
    Put32(file, BMP_SIZE, (uint32_t)file.size());
    return file;
}

inline std::vector<BYTE> MakeBmp24(int width, int height, const std::function<Rgb(int, int)>& color)
{
    return MakeBmp(width, height, 24, {}, [&](int y) {
        std::vector<BYTE> row;
        for (int x = 0; x < width; ++x) {
            Rgb c = color(x, y);
            row.push_back((BYTE)c.b);
            row.push_back((BYTE)c.g);
            row.push_back((BYTE)c.r);
        }
        return row;
    });
}

// Opens path on the channel, reads a picture and closes the channel again.
inline int ReadPicture(const std::string& path, RECT* rect)
{
    std::vector<char> name(path.begin(), path.end());
    name.push_back(0);
    if (tb_OpenFileToRead(name.data(), 0) != 1) return -2;
    int index = tb_ReadBitmapFromFile(rect);
    tb_CloseFile();
    return index;
}

inline bool SameRect(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

inline std::ostream& operator<<(std::ostream& os, const Rgb& c)
{
    return os << "(" << c.r << "," << c.g << "," << c.b << ")";
}
