// Files of a test's own: names in the temporary folder that belong to this test process alone, so
// that tests running side by side never share a file, and whole files read and written as bytes.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

inline std::string TempFile(const char* name)
{
    char folder[MAX_PATH] = {};
    GetTempPathA(sizeof folder, folder);
    return std::string(folder) + std::to_string(GetCurrentProcessId()) + "_" + name;
}

// The file's bytes; none when it cannot be read.
inline std::vector<BYTE> ReadWholeFile(const std::string& path)
{
    std::vector<BYTE> bytes;
    FILE* f = fopen(path.c_str(), "rb");
    if (!f) return bytes;
    BYTE buffer[65536];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, f)) > 0) bytes.insert(bytes.end(), buffer, buffer + n);
    fclose(f);
    return bytes;
}

inline void WriteWholeFile(const std::string& path, const std::vector<BYTE>& bytes)
{
    FILE* f = fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr) << path;
    if (!bytes.empty()) fwrite(bytes.data(), 1, bytes.size(), f);
    fclose(f);
}

#ifdef TINTWELL_FOREIGN_BMPS
// The pictures ImageMagick and Pillow wrote at build time (tests/ToolBox/make_foreign_bitmaps.py),
// as Wine's Z: drive shows their folder.
inline std::string ForeignFolder()
{
    std::string path = std::string("Z:") + TINTWELL_FOREIGN_BMPS + "/";
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

// The picture a file there must read as (its NAME.rgb): width, height and red, green, blue rows
// from the top; w = 0 when there is none.
struct ForeignTruth {
    int w = 0, h = 0;
    std::vector<BYTE> rgb;
    const BYTE* At(int x, int y) const { return rgb.data() + 3 * ((size_t)y * w + x); }
};

inline ForeignTruth ForeignTruthOf(const std::string& stem)
{
    ForeignTruth t;
    std::vector<BYTE> bytes = ReadWholeFile(ForeignFolder() + stem + ".rgb");
    if (bytes.size() < 8) return t;
    t.w = bytes[0] | bytes[1] << 8 | bytes[2] << 16;
    t.h = bytes[4] | bytes[5] << 8 | bytes[6] << 16;
    if (bytes.size() != 8u + 3u * t.w * t.h) return ForeignTruth();
    t.rgb.assign(bytes.begin() + 8, bytes.end());
    return t;
}
#endif
