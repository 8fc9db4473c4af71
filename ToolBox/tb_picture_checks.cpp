// What the system's imaging component is given: some of its decoders crash on, or keep memory for,
// damaged files that a walk over their blocks finds first. A PNG reaches it only with every
// critical chunk whole and its check sum right; a GIF only up to the end of its first picture (the
// one shown), with that picture's data whole, its codes giving every pixel, and a colour table for
// it. All offsets and lengths are checked against the bytes there are.
#include <cstring>

#include "tb_internal.h"

namespace {

DWORD Big32(const BYTE* p) { return (DWORD)p[0] << 24 | p[1] << 16 | p[2] << 8 | p[3]; }

DWORD Crc32(const BYTE* data, size_t size)
{
    static DWORD table[256];
    if (!table[1]) {
        for (DWORD n = 0; n < 256; ++n) {
            DWORD c = n;
            for (int k = 0; k < 8; ++k) c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            table[n] = c;
        }
    }
    DWORD c = 0xFFFFFFFFu;
    for (size_t i = 0; i < size; ++i) c = table[(c ^ data[i]) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

// Every chunk up to the end chunk whole; the critical ones (a capital first letter) with the
// check sum they carry. The header chunk first, the end chunk last.
bool PngWhole(const BYTE* data, size_t size)
{
    size_t at = 8;
    bool first = true;
    while (size - at >= 12) {
        DWORD length = Big32(data + at);
        if (length > size - at - 12) return false;
        const BYTE* type = data + at + 4;
        if (first && memcmp(type, "IHDR", 4) != 0) return false;
        first = false;
        bool critical = type[0] >= 'A' && type[0] <= 'Z';
        if (critical && Crc32(type, 4 + (size_t)length) != Big32(type + 4 + length)) return false;
        if (memcmp(type, "IEND", 4) == 0) return true;
        at += 12 + (size_t)length;
    }
    return false;
}

// Skips a chain of data sub-blocks at `at` (each a length byte and that many bytes, ended by a
// zero length); the offset behind the chain, or 0 when it runs past the end.
size_t SkipSubBlocks(const BYTE* data, size_t size, size_t at)
{
    while (at < size) {
        BYTE n = data[at];
        if (n == 0) return at + 1;
        if (n >= size - at) return 0;
        at += 1 + (size_t)n;
    }
    return 0;
}

// Whether the compressed codes of a GIF picture (the sub-blocks at `at`, minimum code size
// codeSize, 2..8) give all of its pixels before they end: each code one the table holds at that
// point (after a clear code, a single pixel), the end code not before the last pixel. Only the
// length of each table entry is kept, not its pixels.
bool CodesGiveEveryPixel(const BYTE* data, size_t size, size_t at, int codeSize, unsigned long long pixels)
{
    WORD lengths[4096];
    const unsigned clear = 1u << codeSize, end = clear + 1;
    unsigned width = codeSize + 1, next = end + 1, previous = 0;
    bool afterClear = true;
    unsigned long long given = 0;
    DWORD bits = 0;
    unsigned held = 0, left = 0;  // bits held; bytes left in the current sub-block
    for (unsigned c = 0; c < clear; ++c) lengths[c] = 1;
    for (;;) {
        while (held < width) {
            if (!left) {
                if (at >= size || !data[at]) return false;  // no more data
                left = data[at++];
            }
            bits |= (DWORD)data[at++] << held;
            held += 8;
            --left;
        }
        unsigned code = bits & ((1u << width) - 1);
        bits >>= width;
        held -= width;
        if (code == clear) {
            width = codeSize + 1, next = end + 1, afterClear = true;
            continue;
        }
        if (code == end) return given >= pixels;
        if (afterClear) {
            if (code > clear) return false;
            given += 1;
        } else {
            if (code > next) return false;
            given += code == next ? lengths[previous] + 1u : lengths[code];
            if (next < 4096) {
                lengths[next++] = (WORD)(lengths[previous] + 1);
                if (next == 1u << width && width < 12) ++width;
            }
        }
        afterClear = false;
        previous = code;
        if (given >= pixels) return true;
    }
}

// The length of a GIF up to the end of its first picture's data; 0 when the file does not reach
// that far whole, or the picture has no colour table of its own or of the file.
size_t GifFirstPicture(const BYTE* data, size_t size)
{
    if (size < 13) return 0;
    const bool globalTable = (data[10] & 0x80) != 0;
    size_t at = 13 + (globalTable ? 3u << ((data[10] & 7) + 1) : 0);
    while (at < size) {
        if (data[at] == 0x21) {  // an extension: a label, then sub-blocks
            if (size - at < 2) return 0;
            at = SkipSubBlocks(data, size, at + 2);
            if (!at) return 0;
        } else if (data[at] == 0x2C) {  // the first picture
            if (size - at < 11) return 0;
            BYTE flags = data[at + 9];
            if (!globalTable && !(flags & 0x80)) return 0;
            unsigned left = data[at + 1] | data[at + 2] << 8, top = data[at + 3] | data[at + 4] << 8;
            unsigned w = data[at + 5] | data[at + 6] << 8, h = data[at + 7] | data[at + 8] << 8;
            unsigned screenW = data[6] | data[7] << 8, screenH = data[8] | data[9] << 8;
            if (!w || !h || left + w > screenW || top + h > screenH) return 0;  // a picture off the screen
            size_t table = flags & 0x80 ? 3u << ((flags & 7) + 1) : 0;
            if (table >= size - at - 10) return 0;
            at += 10 + table;  // the descriptor and its table; then the code size and the data
            if (data[at] < 2 || data[at] > 8) return 0;
            size_t behind = SkipSubBlocks(data, size, at + 1);
            if (!behind || !CodesGiveEveryPixel(data, behind, at + 1, data[at], (unsigned long long)w * h)) return 0;
            return behind;
        } else {
            return 0;  // the trailer or anything else before a picture
        }
    }
    return 0;
}

}  // namespace

size_t tb_PictureBytesForDecoder(const BYTE* data, size_t size, bool* addTrailer)
{
    *addTrailer = false;
    if (size >= 8 && memcmp(data, "\x89PNG\r\n\x1a\n", 8) == 0) return PngWhole(data, size) ? size : 0;
    if (size >= 6 && (memcmp(data, "GIF87a", 6) == 0 || memcmp(data, "GIF89a", 6) == 0)) {
        *addTrailer = true;
        return GifFirstPicture(data, size);
    }
    return size;
}
