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
