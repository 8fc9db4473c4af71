// Which way up a photo was taken: the orientation a camera or phone writes into a JPEG file's EXIF
// block (tag 0x0112 of its first directory), read from the file's bytes with every offset and
// length checked against the bytes there are.
#include <cstring>

#include "tb_internal.h"

namespace {

enum {
    kStartOfImage = 0xD8,
    kEndOfImage = 0xD9,
    kStartOfScan = 0xDA,
    kApp1 = 0xE1,
    kOrientationTag = 0x0112,
    kShort = 3,
};

// The block behind "Exif\0\0": a TIFF header and its directories, in either byte order.
struct Tiff {
    const BYTE* data;
    size_t size;
    bool motorola;  // "MM": most significant byte first
    unsigned Get16(size_t at) const
    {
        return motorola ? (unsigned)(data[at] << 8 | data[at + 1]) : (unsigned)(data[at] | data[at + 1] << 8);
    }
    size_t Get32(size_t at) const
    {
        DWORD v = motorola ? (DWORD)data[at] << 24 | data[at + 1] << 16 | data[at + 2] << 8 | data[at + 3]
                           : (DWORD)data[at + 3] << 24 | data[at + 2] << 16 | data[at + 1] << 8 | data[at];
        return v;
    }
};

// The orientation in the first directory of a TIFF block; 0 when it holds none that can be read.
int FromTiff(const BYTE* data, size_t size)
{
    if (size < 8) return 0;
    Tiff t = {data, size, false};
    if (data[0] == 'M' && data[1] == 'M') {
        t.motorola = true;
    } else if (!(data[0] == 'I' && data[1] == 'I')) {
        return 0;
    }
    if (t.Get16(2) != 42) return 0;
    size_t directory = t.Get32(4);
    if (directory > size || size - directory < 2) return 0;
    unsigned entries = t.Get16(directory);
    for (unsigned i = 0; i < entries; ++i) {
        size_t entry = directory + 2 + 12 * (size_t)i;
        if (entry > size || size - entry < 12) return 0;
        if (t.Get16(entry) != kOrientationTag) continue;
        if (t.Get16(entry + 2) != kShort || t.Get32(entry + 4) < 1) return 0;
        unsigned value = t.Get16(entry + 8);  // a single short lies at the start of the value field
        return value >= 1 && value <= 8 ? (int)value : 0;
    }
    return 0;
}

}  // namespace

int tb_ExifOrientation(const BYTE* data, size_t size)
{
    if (!data || size < 4 || data[0] != 0xFF || data[1] != kStartOfImage) return 1;
    size_t at = 2;
    while (size - at >= 4) {
        if (data[at] != 0xFF) return 1;
        BYTE marker = data[at + 1];
        if (marker == 0xFF) {  // a fill byte before the marker
            ++at;
            continue;
        }
        // Markers without a length of their own.
        if (marker == kStartOfImage || marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {
            at += 2;
            continue;
        }
        // The EXIF block comes before the picture's data, or not at all.
        if (marker == kStartOfScan || marker == kEndOfImage) return 1;
        size_t length = (size_t)data[at + 2] << 8 | data[at + 3];
        if (length < 2 || length > size - at - 2) return 1;
        const BYTE* body = data + at + 4;
        size_t bodySize = length - 2;
        if (marker == kApp1 && bodySize >= 6 && memcmp(body, "Exif\0\0", 6) == 0) {
            int orientation = FromTiff(body + 6, bodySize - 6);
            if (orientation) return orientation;
        }
        at += 2 + length;
    }
    return 1;
}
