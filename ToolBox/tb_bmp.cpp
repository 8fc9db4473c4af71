// Pictures as Windows BMP files: the 24-bit layout written, and every layout the common writers
// produce read and converted to a 24-bit bitmap.
#include <cstring>

#include "tb_internal.h"

namespace {

// Largest picture the reader accepts: each side at most 16384 pixels and the 24-bit pixel storage
// of the new bitmap at most 128 MB, well inside what a 32-bit process can map at once.
const int kMaxSide = 16384;
const long long kMaxPixelBytes = 128LL * 1024 * 1024;

enum { kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3, kAlphaBitFields = 6 };

DWORD Get32(const BYTE* p) { return p[0] | p[1] << 8 | p[2] << 16 | (DWORD)p[3] << 24; }
WORD Get16(const BYTE* p) { return (WORD)(p[0] | p[1] << 8); }
void Put32(BYTE* p, DWORD v)
{
    p[0] = (BYTE)v;
    p[1] = (BYTE)(v >> 8);
    p[2] = (BYTE)(v >> 16);
    p[3] = (BYTE)(v >> 24);
}

// Reads exactly count bytes from the current file; false on a failed or short read.
bool ReadAll(void* buffer, DWORD count)
{
    if (tb.file == INVALID_HANDLE_VALUE) return false;
    if (count == 0) return true;
    DWORD got = 0;
    return ReadFile(tb.file, buffer, count, &got, nullptr) && got == count;
}

// One colour channel of a bit-field pixel: where it lies and how far it reaches.
struct Channel {
    DWORD mask;
    int shift;
    DWORD top;  // the largest value the channel holds
};

Channel ChannelOf(DWORD mask)
{
    Channel c = {mask, 0, 0};
    if (!mask) return c;
    while (!(mask & 1)) {
        mask >>= 1;
        ++c.shift;
    }
    c.top = mask;
    return c;
}

int Scale(const Channel& c, DWORD pixel)
{
    if (!c.top) return 0;
    DWORD v = (pixel & c.mask) >> c.shift;
    return (int)(((unsigned long long)v * 255 + c.top / 2) / c.top);
}

// Everything the headers say about the picture.
struct Layout {
    DWORD fileSize, offset, headerSize;
    LONG width, height;  // height without its sign
    bool topDown;
    int bits;
    DWORD compression;
    DWORD colours;       // table entries the file declares (0 = all its depth allows)
    int entrySize;       // bytes of one table entry: 3 (OS/2 header) or 4
    DWORD masks[4];      // red, green, blue, alpha
};

// The new picture, written row by row from the top: y counts from the top, as everywhere.
struct Target {
    BYTE* bits;
    int stride, width, height;
    BYTE* Row(int y) const { return bits + (size_t)(height - 1 - y) * stride; }
    void Put(int x, int y, const RGBQUAD& c) const
    {
        BYTE* p = Row(y) + 3 * x;
        p[0] = c.rgbBlue;
        p[1] = c.rgbGreen;
        p[2] = c.rgbRed;
    }
};

void Expand(const Layout& L, const BYTE* pixels, size_t stride, const RGBQUAD* table, const Target& t)
{
    const int w = L.width, h = L.height;
    const DWORD perByte = 8 / L.bits, lowMask = (1u << L.bits) - 1;
    for (int r = 0; r < h; ++r) {
        const BYTE* src = pixels + (size_t)r * stride;
        int y = L.topDown ? r : h - 1 - r;
        for (int x = 0; x < w; ++x) {
            int shift = (int)(8 - L.bits * (x % perByte + 1));
            t.Put(x, y, table[(src[x / perByte] >> shift) & lowMask]);
        }
    }
}

void BitFields(const Layout& L, const BYTE* pixels, size_t stride, const Target& t)
{
    const Channel red = ChannelOf(L.masks[0]), green = ChannelOf(L.masks[1]), blue = ChannelOf(L.masks[2]);
    const Channel alpha = ChannelOf(L.masks[3]);
    const int bytes = L.bits / 8;
    auto at = [&](const BYTE* p) { return bytes == 2 ? (DWORD)Get16(p) : Get32(p); };
    // A file whose alpha is zero everywhere means an opaque picture (several writers leave it so).
    bool blend = false;
    if (alpha.top) {
        for (int r = 0; r < L.height && !blend; ++r)
            for (int x = 0; x < L.width && !blend; ++x)
                blend = Scale(alpha, at(pixels + (size_t)r * stride + (size_t)x * bytes)) != 0;
    }
    for (int r = 0; r < L.height; ++r) {
        const BYTE* src = pixels + (size_t)r * stride;
        int y = L.topDown ? r : L.height - 1 - r;
        for (int x = 0; x < L.width; ++x) {
            DWORD v = at(src + (size_t)x * bytes);
            int c[3] = {Scale(red, v), Scale(green, v), Scale(blue, v)};
            if (blend) {
                // Transparent parts show the white paper.
                int a = Scale(alpha, v);
                for (int& k : c) k = (k * a + 255 * (255 - a) + 127) / 255;
            }
            RGBQUAD q = {(BYTE)c[2], (BYTE)c[1], (BYTE)c[0], 0};
            t.Put(x, y, q);
        }
    }
}

// Run-length data (8 or 4 bits per pixel), bottom row first. Pixels the data skips stay white;
// pixels outside the picture are dropped. False when the data end before the end-of-picture mark
// (a cut file).
bool RunLength(const Layout& L, const BYTE* data, size_t n, const RGBQUAD* table, const Target& t)
{
    const bool four = L.bits == 4;
    long long x = 0, y = 0;  // y counts rows from the bottom
    auto put = [&](int index) {
        if (x >= 0 && x < L.width && y >= 0 && y < L.height) t.Put((int)x, (int)(L.height - 1 - y), table[index]);
        ++x;
    };
    size_t p = 0;
    while (p + 1 < n) {
        BYTE count = data[p], value = data[p + 1];
        p += 2;
        if (count) {
            for (int i = 0; i < count; ++i) put(four ? (i & 1 ? value & 15 : value >> 4) : value);
        } else if (value == 0) {
            x = 0;
            ++y;
        } else if (value == 1) {
            return true;
        } else if (value == 2) {
            if (p + 2 > n) return false;
            x += data[p];
            y += data[p + 1];
            p += 2;
        } else {
            size_t bytes = four ? (value + 1u) / 2 : value;
            if (p + bytes > n) return false;
            for (int i = 0; i < value; ++i) {
                BYTE b = data[p + (four ? i / 2 : i)];
                put(four ? (i & 1 ? b & 15 : b >> 4) : b);
            }
            p += bytes + (bytes & 1);
        }
    }
    return false;
}

// Reads and checks the headers, the bit fields and the colour table; the file is left at the
// first pixel byte. False for anything the reader does not take.
bool ReadLayout(Layout& L, RGBQUAD* table)
{
    BYTE fileHeader[14] = {};
    BYTE info[124] = {};
    if (!ReadAll(fileHeader, sizeof fileHeader) || !ReadAll(info, 4)) return false;
    L.fileSize = Get32(fileHeader + 2);
    L.offset = Get32(fileHeader + 10);
    L.headerSize = Get32(info);
    DWORD h = L.headerSize;
    if (h != 12 && h != 40 && h != 52 && h != 56 && h != 108 && h != 124) return false;
    if (!ReadAll(info + 4, h - 4)) return false;

    LONG height;
    memset(L.masks, 0, sizeof L.masks);
    if (h == 12) {  // the OS/2 header: 16-bit sizes, 3-byte table entries
        L.width = Get16(info + 4);
        height = Get16(info + 6);
        L.bits = Get16(info + 10);
        L.compression = kRgb;
        L.colours = 0;
        L.entrySize = 3;
    } else {
        L.width = (LONG)Get32(info + 4);
        height = (LONG)Get32(info + 8);
        L.bits = Get16(info + 14);
        L.compression = Get32(info + 16);
        L.colours = Get32(info + 32);
        L.entrySize = 4;
    }
    int b = L.bits;
    if (b != 1 && b != 4 && b != 8 && b != 16 && b != 24 && b != 32) return false;

    bool fields = L.compression == kBitFields || L.compression == kAlphaBitFields;
    if (fields ? (b != 16 && b != 32)
               : !(L.compression == kRgb || (L.compression == kRle8 && b == 8) || (L.compression == kRle4 && b == 4)))
        return false;
    L.topDown = height < 0;
    if (L.topDown && (L.compression == kRle8 || L.compression == kRle4)) return false;
    if (height == (LONG)0x80000000) return false;
    L.height = L.topDown ? -height : height;
    if (L.width <= 0 || L.height <= 0 || L.width > kMaxSide || L.height > kMaxSide) return false;
    if ((long long)grfx_StorageWidth(L.width, 24) * L.height > kMaxPixelBytes) return false;

    DWORD used = 14 + h;  // bytes of the file read so far
    if (fields) {
        if (h == 40) {  // the masks follow the header
            BYTE extra[16] = {};
            DWORD count = L.compression == kAlphaBitFields ? 16 : 12;
            if (!ReadAll(extra, count)) return false;
            used += count;
            for (DWORD i = 0; i < count / 4; ++i) L.masks[i] = Get32(extra + 4 * i);
        } else {
            for (int i = 0; i < (h >= 56 ? 4 : 3); ++i) L.masks[i] = Get32(info + 40 + 4 * i);
        }
    } else if (b == 16) {
        L.masks[0] = 0x7C00, L.masks[1] = 0x03E0, L.masks[2] = 0x001F;
    } else if (b == 32) {
        L.masks[0] = 0xFF0000, L.masks[1] = 0xFF00, L.masks[2] = 0xFF;
    }
    if (L.offset < used) return false;

    if (b <= 8) {
        DWORD all = 1u << b;
        if (L.colours > all) return false;
        DWORD wanted = L.colours ? L.colours : all;
        // Some writers declare more entries than they leave room for: the table ends at the pixels.
        DWORD room = (L.offset - used) / L.entrySize;
        DWORD entries = wanted < room ? wanted : room;
        if (entries == 0) return false;
        BYTE raw[256 * 4];
        if (!ReadAll(raw, entries * L.entrySize)) return false;
        used += entries * L.entrySize;
        memset(table, 0, 256 * sizeof *table);  // indices beyond the table show black
        for (DWORD i = 0; i < entries; ++i) {
            const BYTE* e = raw + i * L.entrySize;
            table[i] = RGBQUAD{e[0], e[1], e[2], 0};
        }
    }
    // On to the first pixel byte, wherever the file header says it is.
    if (L.offset > used) {
        LARGE_INTEGER skip;
        skip.QuadPart = L.offset - used;
        if (!SetFilePointerEx(tb.file, skip, nullptr, FILE_CURRENT)) return false;
    }
    return true;
}

}  // namespace

// A 24-bit bitmap of the table, or nullptr.
static const TB_DIB* tb_Writable(int index)
{
    const TB_DIB* dib = index < 5000 ? tb_GetBitmapDIB(index) : nullptr;
    return dib && dib->lpBits && grfx_BitCount(dib) == 24 ? dib : nullptr;
}

int tb_WriteBitmapToFile(int index)
{
    if (!tb_Writable(index)) {
        tb_ErrorBox("Invalid bitmap! (tb_WriteBitmapToFile)");
        return 0;
    }
    // Each of the three blocks by one write, whatever the writes answer.
    DWORD done = 0;
    for (int block = 0; block < 3; ++block) tb_WriteBitmapPart(index, &done, MAXDWORD);
    return 1;
}

// The file is three blocks, the file header, the bitmap's own info header and its pixel storage;
// a part never crosses from one block into the next.
int tb_WriteBitmapPart(int index, DWORD* done, DWORD most)
{
    const TB_DIB* dib = tb_Writable(index);
    if (!dib || !done) return -1;
    const BITMAPINFOHEADER& info = dib->lpBitmapInfo->bmiHeader;
    const DWORD pixels = (DWORD)grfx_StorageWidth(info.biWidth, 24) * (DWORD)info.biHeight;
    BYTE header[14] = {'B', 'M'};
    Put32(header + 2, pixels + 54);
    Put32(header + 10, info.biSize + 14);
    const BYTE* blocks[3] = {header, (const BYTE*)&info, dib->lpBits};
    const DWORD sizes[3] = {sizeof header, sizeof info, pixels};
    DWORD start = 0;
    for (int i = 0; i < 3; ++i) {
        if (*done < start + sizes[i]) {
            DWORD at = *done - start, count = sizes[i] - at;
            if (count > most) count = most;
            if (i == 2) GdiFlush();  // the system may still be drawing into the picture
            int failed = tb_WriteFile(blocks[i] + at, count);
            *done += count;
            if (failed) return -1;
            return *done == start + sizes[i] && i == 2 ? 1 : 0;
        }
        start += sizes[i];
    }
    return 1;
}

// Accepted: the 12-byte OS/2 header and the 40-, 52-, 56-, 108- and 124-byte Windows headers;
// 1, 4 and 8 bits per pixel through their colour table (also run-length coded at 4 and 8 bits),
// 16 and 32 bits through their bit fields (5-5-5 and 8-8-8 when the file gives none; an alpha
// channel is laid over white paper), and 24 bits; rows bottom-up or top-down, read from the offset
// the file header gives; bytes after the pixels are ignored.
//
// Refused with -1, before any bitmap is kept (the channel stays open for the caller to close):
// - another header size, bit count or compression (JPEG and PNG inside a BMP among them);
// - a file header that claims more bytes than the file holds, or too few for its pixels;
// - pixel data that begin inside the headers, or a colour table with no entry before them;
// - a width or height of zero or over 16384, or a 24-bit pixel storage over 128 MB;
// - run-length data that end before their end-of-picture mark;
// - more colours declared than the depth allows;
// - no free bitmap slot (tb_CreateBitmap reports it), or memory that cannot be had.
int tb_ReadBitmapFromFile(RECT* rect)
{
    Layout L;
    RGBQUAD table[256];
    if (!ReadLayout(L, table)) return -1;

    LARGE_INTEGER length;
    if (!GetFileSizeEx(tb.file, &length) || (long long)L.fileSize > length.QuadPart) return -1;
    if (L.fileSize < L.offset) return -1;
    long long available = (long long)L.fileSize - L.offset;
    const bool runs = L.compression == kRle8 || L.compression == kRle4;
    long long stride = grfx_StorageWidth(L.width, L.bits);
    long long n = stride * L.height;
    if (runs) {
        // At most two bytes a pixel and a mark a row; anything behind that is not the picture's.
        long long most = (2LL * L.width + 4) * L.height + 2;
        n = available < most ? available : most;
        if (n < 2) return -1;
    } else if (n > available) {
        return -1;
    }

    BYTE* pixels = (BYTE*)GlobalAlloc(GMEM_FIXED, (SIZE_T)n);
    if (!pixels) return -1;
    if (!ReadAll(pixels, (DWORD)n)) {
        GlobalFree(pixels);
        return -1;
    }

    RECT r = {0, 0, L.width, L.height};
    int index = tb_CreateBitmap(&r, 0, 24);
    TB_DIB* dib = index >= 0 ? tb_GetBitmapDIB(index) : nullptr;
    bool ok = dib && dib->lpBits;
    if (ok) {
        GdiFlush();
        Target t = {dib->lpBits, grfx_StorageWidth(L.width, 24), L.width, L.height};
        if (runs) {
            memset(t.bits, 255, (size_t)t.stride * t.height);
            ok = RunLength(L, pixels, (size_t)n, table, t);
        } else if (L.bits == 24) {
            // Rows as stored, padding bytes included.
            for (int row = 0; row < L.height; ++row)
                memcpy(t.Row(L.topDown ? row : L.height - 1 - row), pixels + row * stride, (size_t)stride);
        } else if (L.bits <= 8) {
            Expand(L, pixels, (size_t)stride, table, t);
        } else {
            BitFields(L, pixels, (size_t)stride, t);
        }
    }
    GlobalFree(pixels);
    if (!ok) {
        if (index >= 0) tb_DisposeBitmap(index);
        return -1;
    }
    if (rect) SetRect(rect, 0, 0, L.width, L.height);
    return index;
}
