// Seeded mutation of files: valid BMP files of every depth and header variant made on the spot,
// and the damage done to them, to PNG, JPEG and GIF files and to any other file by one generator
// whose whole sequence follows from its seed, so that any file a run produced can be made again
// from the seed and its number.
//
// Shared by the short regular tests and by the hand-run bench/mutation_runs.cpp. Plain data and
// functions only, no test framework: the caller checks what it reads.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace mutate {

using Bytes = std::vector<uint8_t>;

// splitmix64: the same numbers on every platform and compiler.
struct Random {
    uint64_t state;
    explicit Random(uint64_t seed) : state(seed ^ 0x6A09E667F3BCC908ull) {}
    uint64_t Next64()
    {
        uint64_t z = (state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    uint32_t Next() { return (uint32_t)(Next64() >> 32); }
    // 0 .. n-1 (0 for n = 0).
    uint32_t Below(uint32_t n) { return n ? (uint32_t)(Next64() % n) : 0; }
    bool OneIn(uint32_t n) { return Below(n) == 0; }
    uint8_t Byte() { return (uint8_t)Next(); }
};

// The generator of the file with the given number in a run with the given seed.
inline Random RandomFor(uint64_t seed, uint64_t number) { return Random(seed * 1000003ull + number * 0x100000001B3ull); }

inline uint32_t Get32(const Bytes& b, size_t at)
{
    if (at + 4 > b.size()) return 0;
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | (uint32_t)b[at + 3] << 24;
}
inline uint16_t Get16(const Bytes& b, size_t at) { return at + 2 > b.size() ? 0 : (uint16_t)(b[at] | b[at + 1] << 8); }
inline void PutN(Bytes& b, size_t at, uint32_t v, int size)
{
    for (int i = 0; i < size && at + i < b.size(); ++i) b[at + i] = (uint8_t)(v >> (8 * i));
}
inline void Put32(Bytes& b, size_t at, uint32_t v) { PutN(b, at, v, 4); }
inline void Put16(Bytes& b, size_t at, uint16_t v) { PutN(b, at, v, 2); }

// ---------------------------------------------------------------- valid BMP files

// One layout of BMP file: the info-header size (12 = OS/2, 40, 52, 56, 108, 124), the bits per
// pixel, the compression (0 RGB, 1 RLE8, 2 RLE4, 3 bit fields, 6 bit fields with alpha) and the
// row order.
struct BmpVariant {
    int header, bits, compression;
    bool topDown;
};

// Every layout the reader takes: each header with each depth, both run-length codings, 16- and
// 32-bit pictures with and without bit fields (and alpha), rows bottom-up and top-down.
inline std::vector<BmpVariant> AllBmpVariants()
{
    std::vector<BmpVariant> v;
    const int os2Bits[] = {1, 4, 8, 24};
    for (int bits : os2Bits) v.push_back({12, bits, 0, false});
    const int headers[] = {40, 52, 56, 108, 124};
    const int plainBits[] = {1, 4, 8, 16, 24, 32};
    for (int h : headers) {
        for (int bits : plainBits) {
            v.push_back({h, bits, 0, false});
            v.push_back({h, bits, 0, true});
        }
        v.push_back({h, 8, 1, false});
        v.push_back({h, 4, 2, false});
        v.push_back({h, 16, 3, false});
        v.push_back({h, 32, 3, true});
        if (h == 40 || h >= 56) v.push_back({h, 32, 6, false});
    }
    return v;
}

inline std::string VariantName(const BmpVariant& v)
{
    return "h" + std::to_string(v.header) + "_b" + std::to_string(v.bits) + "_c" + std::to_string(v.compression) +
           (v.topDown ? "_td" : "");
}

// A valid file of the variant, w x h pixels of random content; gap adds unused bytes between the
// headers (and table) and the pixels, with the offset field pointing past them.
inline Bytes MakeBmp(Random& r, const BmpVariant& v, int w, int h, int gap = 0)
{
    const bool os2 = v.header == 12;
    const bool fields = v.compression == 3 || v.compression == 6;
    const int entrySize = os2 ? 3 : 4;
    uint32_t colours = 0;
    if (v.bits <= 8) colours = (!os2 && r.OneIn(3)) ? 1 + r.Below(1u << v.bits) : 1u << v.bits;
    const uint32_t tableEntries = colours;

    Bytes f(14 + v.header, 0);
    f[0] = 'B';
    f[1] = 'M';
    Put32(f, 14, (uint32_t)v.header);
    if (os2) {
        Put16(f, 18, (uint16_t)w);
        Put16(f, 20, (uint16_t)h);
        Put16(f, 22, 1);
        Put16(f, 24, (uint16_t)v.bits);
    } else {
        Put32(f, 18, (uint32_t)w);
        Put32(f, 22, (uint32_t)(v.topDown ? -h : h));
        Put16(f, 26, 1);
        Put16(f, 28, (uint16_t)v.bits);
        Put32(f, 30, (uint32_t)v.compression);
        if (v.bits <= 8 && colours != (1u << v.bits)) Put32(f, 46, colours);
    }
    uint32_t masks[4] = {0, 0, 0, 0};
    if (fields) {
        if (v.bits == 16) {
            masks[0] = 0xF800, masks[1] = 0x07E0, masks[2] = 0x001F;
        } else {
            masks[0] = 0x00FF0000, masks[1] = 0x0000FF00, masks[2] = 0x000000FF;
        }
        if (v.compression == 6 || v.header >= 56) masks[3] = v.bits == 32 && r.OneIn(2) ? 0xFF000000u : 0;
        if (v.header == 40) {
            int count = v.compression == 6 ? 4 : 3;
            for (int i = 0; i < count; ++i) {
                Bytes m(4);
                Put32(m, 0, masks[i]);
                f.insert(f.end(), m.begin(), m.end());
            }
        } else {
            int count = v.header >= 56 ? 4 : 3;
            for (int i = 0; i < count; ++i) Put32(f, 54 + 4 * i, masks[i]);
        }
    }
    for (uint32_t i = 0; i < tableEntries; ++i)
        for (int k = 0; k < entrySize; ++k) f.push_back(k < 3 ? r.Byte() : 0);
    f.insert(f.end(), (size_t)gap, 0xA5);
    Put32(f, 10, (uint32_t)f.size());

    const uint32_t indexLimit = colours ? colours : 1;
    if (v.compression == 1 || v.compression == 2) {
        // Run-length data: runs of one index, a row end after each row, the end mark at the end.
        const bool four = v.compression == 2;
        for (int y = 0; y < h; ++y) {
            int x = 0;
            while (x < w) {
                int run = 1 + (int)r.Below(std::min(w - x, 255) > 0 ? (uint32_t)std::min(w - x, 255) : 1u);
                if (four) {
                    uint8_t a = (uint8_t)r.Below(indexLimit), b = (uint8_t)r.Below(indexLimit);
                    f.push_back((uint8_t)run);
                    f.push_back((uint8_t)(a << 4 | b));
                } else {
                    f.push_back((uint8_t)run);
                    f.push_back((uint8_t)r.Below(indexLimit));
                }
                x += run;
            }
            f.push_back(0);
            f.push_back(y == h - 1 ? 1 : 0);
        }
    } else {
        const size_t stride = ((size_t)w * v.bits + 31) / 32 * 4;
        for (int y = 0; y < h; ++y) {
            Bytes row(stride, 0);
            if (v.bits <= 8) {
                const int perByte = 8 / v.bits;
                for (int x = 0; x < w; ++x) {
                    int shift = 8 - v.bits * (x % perByte + 1);
                    row[x / perByte] |= (uint8_t)(r.Below(indexLimit) << shift);
                }
            } else {
                for (size_t i = 0; i < (size_t)w * v.bits / 8; ++i) row[i] = r.Byte();
            }
            f.insert(f.end(), row.begin(), row.end());
        }
    }
    Put32(f, 2, (uint32_t)f.size());
    return f;
}

// The generated seeds of a run: every variant once at a small random size (1 to 13 pixels a side,
// now and then a gap before the pixels), plus every variant again at a larger size.
inline std::vector<Bytes> GeneratedBmpSeeds(uint64_t seed, std::vector<std::string>* names = nullptr)
{
    Random r(seed);
    std::vector<Bytes> seeds;
    for (int round = 0; round < 2; ++round) {
        for (const BmpVariant& v : AllBmpVariants()) {
            int w = round ? 30 + (int)r.Below(40) : 1 + (int)r.Below(13);
            int h = round ? 20 + (int)r.Below(30) : 1 + (int)r.Below(13);
            int gap = r.OneIn(4) ? 1 + (int)r.Below(24) : 0;
            seeds.push_back(MakeBmp(r, v, w, h, gap));
            if (names) names->push_back(VariantName(v) + "_" + std::to_string(w) + "x" + std::to_string(h));
        }
    }
    return seeds;
}

// ---------------------------------------------------------------- the damage

// A stretch of a file that a mutation aims at: a header field (offset and size in bytes).
struct Field {
    size_t at;
    int size;
};

// The fields of a BMP that decide how it is read: file size, pixel offset, header size, width,
// height, planes, bits, compression, image size, colours used and important, the bit-field masks;
// placed as the file's own header size says (the OS/2 header has 16-bit sizes).
inline std::vector<Field> BmpFields(const Bytes& f)
{
    std::vector<Field> fields = {{2, 4}, {10, 4}, {14, 4}};
    if (Get32(f, 14) == 12) {
        fields.insert(fields.end(), {{18, 2}, {20, 2}, {22, 2}, {24, 2}});
    } else {
        fields.insert(fields.end(), {{18, 4}, {22, 4}, {26, 2}, {28, 2}, {30, 4}, {34, 4}, {46, 4}, {50, 4},
                                     {54, 4}, {58, 4}, {62, 4}, {66, 4}});
    }
    return fields;
}

// Values that sit on the edges of what a field can mean.
inline uint32_t BoundaryValue(Random& r, int size)
{
    static const uint32_t kValues[] = {0,     1,      2,      3,      4,      8,          12,         14,
                                       16,    24,     32,     40,     52,     53,         54,         55,
                                       56,    64,     108,    124,    255,    256,        257,        1024,
                                       1078,  16383,  16384,  16385,  0x7FFF, 0x8000,     0xFFFF,     0x10000,
                                       0x7FFFFFFF, 0x80000000, 0x80000001, 0xFFFFFFFF, 0xFFFFFFFE, 0x40000000,
                                       0x00FF0000, 0xFF000000, 0x0000001F, 0x000003E0, 0x00007C00, 5, 6, 7};
    uint32_t v = kValues[r.Below((uint32_t)(sizeof kValues / sizeof *kValues))];
    return size == 2 ? (uint16_t)v : v;
}

// What was done to a file; the names are printed by the hand-run program.
enum Kind {
    kFlipBits,       // a few bits flipped, most of them in the headers
    kFieldEdit,      // one to three header fields set to an edge value or moved a little
    kTruncate,       // cut anywhere, mostly in the headers and the table
    kInsertRun,      // a run of bytes inserted
    kDeleteRun,      // a run of bytes removed
    kOverwriteRun,   // a run of bytes set to 00, FF or random
    kSplice,         // the front of this file on the back of another
    kAppend,         // bytes appended, the size field now and then following them
    kGarbage,        // random bytes, now and then behind a plausible "BM" header
    kKinds
};

inline const char* KindName(int kind)
{
    static const char* const kNames[] = {"flip bits", "field edit", "truncate", "insert run", "delete run",
                                         "overwrite run", "splice", "append", "garbage"};
    return kind >= 0 && kind < kKinds ? kNames[kind] : "?";
}

// A position in the file, half of the time in its first 128 bytes (headers, masks, table).
inline size_t Position(Random& r, size_t size, bool inclusiveEnd = false)
{
    size_t n = size + (inclusiveEnd ? 1 : 0);
    if (n == 0) return 0;
    if (r.OneIn(2) && n > 128) return r.Below(128);
    return r.Below((uint32_t)n);
}

inline Bytes RandomRun(Random& r, size_t n)
{
    Bytes run(n);
    int style = (int)r.Below(3);
    uint8_t fill = style == 0 ? 0 : 0xFF;
    for (uint8_t& b : run) b = style == 2 ? r.Byte() : fill;
    return run;
}

// One mutation of kind to f (in place); fields aims the field edits (may be empty: then random
// 1-, 2- or 4-byte words of the first 128 bytes); others are the files a splice may take from.
inline void MutateOnce(Random& r, Bytes& f, int kind, const std::vector<Field>& fields,
                       const std::vector<Bytes>& others)
{
    switch (kind) {
    case kFlipBits:
        for (int n = 1 + (int)r.Below(8); n > 0 && !f.empty(); --n) f[Position(r, f.size())] ^= (uint8_t)(1u << r.Below(8));
        break;
    case kFieldEdit:
        for (int n = 1 + (int)r.Below(3); n > 0; --n) {
            Field fd = fields.empty() ? Field{Position(r, f.size()), r.OneIn(2) ? 4 : 2} : fields[r.Below((uint32_t)fields.size())];
            uint32_t old = fd.size == 2 ? Get16(f, fd.at) : Get32(f, fd.at);
            uint32_t v;
            switch (r.Below(4)) {
            case 0: v = BoundaryValue(r, fd.size); break;
            case 1: v = old + (uint32_t)((int)r.Below(9) - 4); break;
            case 2: v = r.OneIn(2) ? old * 2 : old / 2; break;
            default: v = (uint32_t)(-(int32_t)old); break;
            }
            PutN(f, fd.at, v, fd.size);
        }
        break;
    case kTruncate:
        f.resize(Position(r, f.size()));
        break;
    case kInsertRun: {
        size_t at = Position(r, f.size(), true);
        Bytes run = RandomRun(r, 1 + r.Below(r.OneIn(8) ? 4096 : 64));
        f.insert(f.begin() + (ptrdiff_t)at, run.begin(), run.end());
        break;
    }
    case kDeleteRun: {
        if (f.empty()) break;
        size_t at = Position(r, f.size());
        size_t n = std::min(f.size() - at, (size_t)(1 + r.Below(64)));
        f.erase(f.begin() + (ptrdiff_t)at, f.begin() + (ptrdiff_t)(at + n));
        break;
    }
    case kOverwriteRun: {
        if (f.empty()) break;
        size_t at = Position(r, f.size());
        Bytes run = RandomRun(r, std::min(f.size() - at, (size_t)(1 + r.Below(32))));
        std::copy(run.begin(), run.end(), f.begin() + (ptrdiff_t)at);
        break;
    }
    case kSplice: {
        if (others.empty()) break;
        const Bytes& o = others[r.Below((uint32_t)others.size())];
        size_t cut = Position(r, f.size(), true);
        size_t from = Position(r, o.size(), true);
        f.resize(cut);
        f.insert(f.end(), o.begin() + (ptrdiff_t)from, o.end());
        break;
    }
    case kAppend: {
        Bytes run = RandomRun(r, 1 + r.Below(r.OneIn(8) ? 8192 : 128));
        f.insert(f.end(), run.begin(), run.end());
        if (r.OneIn(2)) Put32(f, 2, (uint32_t)f.size());
        break;
    }
    default: {  // kGarbage
        size_t n = r.Below(r.OneIn(4) ? 20000 : 1200);
        f.assign(n, 0);
        for (uint8_t& b : f) b = r.Byte();
        if (n >= 54 && r.OneIn(2)) {
            static const uint32_t kHeaders[] = {12, 40, 52, 56, 108, 124};
            static const uint16_t kBits[] = {1, 4, 8, 16, 24, 32};
            f[0] = 'B';
            f[1] = 'M';
            Put32(f, 14, kHeaders[r.Below(6)]);
            Put16(f, 28, kBits[r.Below(6)]);
            if (r.OneIn(2)) Put32(f, 2, (uint32_t)n);
            if (r.OneIn(2)) Put32(f, 30, 0);
        }
        break;
    }
    }
}

// A damaged copy of one of the seeds: one mutation, or two or three stacked now and then, the field
// edits aimed by fieldsOf. kind gets the first mutation's kind; seedIndex the seed it started from.
inline Bytes Mutate(Random& r, const std::vector<Bytes>& seeds, std::vector<Field> (*fieldsOf)(const Bytes&),
                    int* kind = nullptr, size_t* seedIndex = nullptr)
{
    size_t s = r.Below((uint32_t)seeds.size());
    Bytes f = seeds[s];
    int first = (int)r.Below(kKinds);
    int count = r.OneIn(4) ? 2 + (int)r.Below(2) : 1;
    for (int i = 0; i < count; ++i) {
        int k = i == 0 ? first : (int)r.Below(kGarbage);  // garbage only ever comes first
        MutateOnce(r, f, k, fieldsOf(f), seeds);
    }
    if (kind) *kind = first;
    if (seedIndex) *seedIndex = s;
    return f;
}

inline Bytes MutateBmp(Random& r, const std::vector<Bytes>& seeds, int* kind = nullptr, size_t* seedIndex = nullptr)
{
    return Mutate(r, seeds, BmpFields, kind, seedIndex);
}

// ---------------------------------------------------------------- PNG, JPEG and GIF

inline std::vector<Field> NoFields(const Bytes&) { return {}; }

// A damaged copy of one of the seeds (PNG, JPEG and GIF files): field edits hit words of the first
// 128 bytes (signatures, headers, the EXIF block of a small photo); now and then garbage behind
// the signature of one of the three.
inline Bytes MutatePicture(Random& r, const std::vector<Bytes>& seeds, int* kind = nullptr, size_t* seedIndex = nullptr)
{
    int first;
    Bytes f = Mutate(r, seeds, NoFields, &first, seedIndex);
    static const uint8_t kSignatures[3][8] = {
        {0x89, 'P', 'N', 'G', 13, 10, 26, 10}, {0xFF, 0xD8, 0xFF, 0xE1, 0, 64, 'E', 'x'}, {'G', 'I', 'F', '8', '9', 'a', 37, 0}};
    if (first == kGarbage && f.size() >= 12 && r.OneIn(2)) {
        const uint8_t* signature = kSignatures[r.Below(3)];
        std::copy(signature, signature + 8, f.begin());
    }
    if (kind) *kind = first;
    return f;
}

// ---------------------------------------------------------------- damaged text files (INF)

enum TextKind {
    kTextBytes,        // any of the byte mutations above
    kTextTruncate,     // cut at a line end or anywhere
    kTextHugeLine,     // a line of up to a megabyte: a key, a value, a section name or a copy entry
    kTextDropLine,     // a line removed (a section header, a key, a copy list entry)
    kTextDuplicateLine,
    kTextBadValue,     // a value replaced by an awkward one (quotes, percent signs, dots, long names)
    kTextNulAndUnicode,  // NUL bytes, a byte-order mark, bytes above 127, the whole file in UTF-16
    kTextKinds
};

inline const char* TextKindName(int kind)
{
    static const char* const kNames[] = {"bytes", "truncate", "huge line", "drop line", "duplicate line",
                                         "bad value", "NUL/Unicode"};
    return kind >= 0 && kind < kTextKinds ? kNames[kind] : "?";
}

inline std::vector<std::string> SplitLines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size() - 1;
        lines.push_back(text.substr(start, end + 1 - start));
        start = end + 1;
    }
    return lines;
}

inline std::string JoinLines(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& l : lines) text += l;
    return text;
}

inline std::string AwkwardValue(Random& r)
{
    static const char* const kValues[] = {
        "\"\"", "\"", "\"unterminated", "%", "%%", "%65600%", "%UNDEFINED%", "..\\..\\..\\escape.exe",
        "\\\\server\\share\\x", "con", "nul.txt", "a|b<c>d", "*", "?.exe", "c:", "c:\\", "\\", ";comment",
        "[Section]", "=", ",,,,,", "\"a\",\"b\"", "\"quote\"in\"the\"middle\"", "x)][ExitProgman(1)][(",
    };
    std::string v = kValues[r.Below((uint32_t)(sizeof kValues / sizeof *kValues))];
    if (r.OneIn(4)) v = std::string(255 + r.Below(10), 'n');  // around the 260-character buffers
    return v;
}

// A damaged copy of an INF text (a string of bytes, which may hold NUL bytes). others: other INF
// texts a byte-level splice may take from.
inline std::string MutateText(Random& r, const std::string& text, const std::vector<Bytes>& others,
                              int* kindOut = nullptr)
{
    int kind = (int)r.Below(kTextKinds);
    if (kindOut) *kindOut = kind;
    std::vector<std::string> lines = SplitLines(text);
    auto line = [&]() -> size_t { return lines.empty() ? 0 : r.Below((uint32_t)lines.size()); };
    switch (kind) {
    case kTextBytes: {
        Bytes b(text.begin(), text.end());
        MutateOnce(r, b, (int)r.Below(kGarbage + (r.OneIn(6) ? 1 : 0)), {}, others);
        return std::string(b.begin(), b.end());
    }
    case kTextTruncate: {
        if (r.OneIn(2) && !lines.empty()) {
            lines.resize(line());
            return JoinLines(lines);
        }
        return text.substr(0, r.Below((uint32_t)text.size() + 1));
    }
    case kTextHugeLine: {
        size_t n = r.OneIn(2) ? (1u << 20) : 256 + r.Below(70000);
        std::string big(n, (char)('a' + r.Below(26)));
        std::string l;
        switch (r.Below(4)) {
        case 0: l = big + "=\"x\"\r\n"; break;
        case 1: l = "PRODUCT_DESC=\"" + big + "\"\r\n"; break;
        case 2: l = "[" + big + "]\r\n"; break;
        default: l = big + ".exe\r\n"; break;
        }
        lines.insert(lines.begin() + (ptrdiff_t)(lines.empty() ? 0 : line() + 1), l);
        return JoinLines(lines);
    }
    case kTextDropLine:
        for (int n = 1 + (int)r.Below(3); n > 0 && !lines.empty(); --n) lines.erase(lines.begin() + (ptrdiff_t)line());
        return JoinLines(lines);
    case kTextDuplicateLine:
        if (!lines.empty()) {
            size_t i = line();
            lines.insert(lines.begin() + (ptrdiff_t)i, lines[i]);
        }
        return JoinLines(lines);
    case kTextBadValue: {
        if (lines.empty()) return text;
        size_t i = line();
        std::string& l = lines[i];
        size_t eq = l.find('=');
        std::string value = AwkwardValue(r);
        if (eq != std::string::npos) l = l.substr(0, eq + 1) + value + "\r\n";
        else l = value + "\r\n";  // an entry of a copy list, a section name
        return JoinLines(lines);
    }
    default: {  // kTextNulAndUnicode
        switch (r.Below(4)) {
        case 0: {
            std::string t = text;
            for (int n = 1 + (int)r.Below(4); n > 0; --n) t.insert(r.Below((uint32_t)t.size() + 1), 1, '\0');
            return t;
        }
        case 1: return std::string("\xEF\xBB\xBF") + text;
        case 2: {
            std::string t = text;
            for (int n = 1 + (int)r.Below(8); n > 0 && !t.empty(); --n) t[r.Below((uint32_t)t.size())] = (char)(0x80 + r.Below(128));
            return t;
        }
        default: {  // UTF-16 little-endian with its byte-order mark, or cut in the middle of a character
            std::string t("\xFF\xFE", 2);
            for (char c : text) {
                t += c;
                t += '\0';
            }
            if (r.OneIn(3)) t.resize(r.Below((uint32_t)t.size() + 1));
            return t;
        }
        }
    }
    }
}

}  // namespace mutate
