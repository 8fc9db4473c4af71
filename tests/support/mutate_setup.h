// Damaged "setup.inf" files and what Setup must do with each: the Setup API parses the file (that
// is the platform's part); ours is Setup's reaction to every failure it reports. Shared by the
// regular setup tests and bench/mutation_runs.cpp; no test framework here.
//
// Reading: either the INF is refused with "Setup cannot find all of the files required for
// installation." and the contact lines, the INF closed; or it is read without a message, every
// value a terminated text of fewer than 260 characters.
// Installing: either the install returns 1 with the files the product lists in place, ending with
// "Setup has completed successfully." (or with the group's failure when only the Start menu could
// not be reached), or it returns 0 after one of the installer's own sentences with the contact
// lines, and never with the success message. Both ways the INF is closed and Program Manager let go.
#pragma once

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "boxes.h"
#include "mutate.h"
#include "setup/setup.h"

namespace mutate {

// The source folder of a small product: setup.inf (returned, not written), paint.exe and
// Pages\blank.bmp; its registry pass writes a marker under HKCU\markerKey.
inline std::string ProductInf(const std::string& destination, const std::string& markerKey)
{
    std::string inf = "[Version]\r\nSignature=\"$Windows NT$\"\r\n\r\n[Strings]\r\n";
    inf += "PRODUCT_DESC=\"Tintwell\"\r\nDESTINATION_DIR=\"" + destination +
           "\"\r\nPROGRAM_GROUP=\"Tintwell\"\r\nPROGRAM_EXE=\"paint.exe\"\r\n"
           "PROGRAM_HELP=\"Help_twk.html\"\r\nDESTINATION_SUB=\"Pages\\\"\r\n\r\n";
    inf += "[SourceDisksNames]\r\n1=\"Tintwell\",,,\r\n";
    inf += "[SourceDisksFiles]\r\npaint.exe=1\r\nblank.bmp=1,Pages\r\n";
    inf += "[DestinationDirs]\r\nProgram=65600\r\nPages=65601\r\n";
    inf += "[ProductInstall]\r\nCopyFiles=Program,Pages\r\nAddReg=Marker\r\n";
    inf += "[Program]\r\npaint.exe\r\n";
    inf += "[Pages]\r\nblank.bmp\r\n";
    inf += "[Marker]\r\nHKCU,\"" + markerKey + "\\Marker\",Installed,,\"%65600%\"\r\n";
    return inf;
}

inline bool WriteTextFile(const std::string& path, const std::string& text)
{
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    BOOL ok = text.empty() || WriteFile(h, text.data(), (DWORD)text.size(), &written, nullptr);
    CloseHandle(h);
    return ok && written == text.size();
}

// Writes the product's files (not setup.inf) into source (ending in a backslash).
inline void MakeProductFiles(const std::string& source)
{
    CreateDirectoryA(source.c_str(), nullptr);
    CreateDirectoryA((source + "Pages").c_str(), nullptr);
    WriteTextFile(source + "paint.exe", "the program");
    WriteTextFile(source + "Pages\\blank.bmp", "a page");
}

inline std::string WithContact(const char* sentence) { return std::string(sentence) + setup_kContactLines; }

inline bool Terminated(const char* text, size_t size)
{
    return memchr(text, 0, size) != nullptr && strlen(text) < SETUP_TEXT;
}

// After setup_ReadInfFrom returned result, with the boxes shown by it.
inline std::string CheckInfRead(int result, const std::vector<SeenBox>& shown)
{
    if (result == 0) {
        if (shown.size() != 1) return "a refused INF showed " + std::to_string(shown.size()) + " boxes";
        if (shown[0].text != WithContact(setup_kMissingFiles)) return "a refused INF said: " + shown[0].text;
        if (setup.inf != INVALID_HANDLE_VALUE) return "a refused INF left a handle";
        return "";
    }
    if (result != 1) return "reading gave " + std::to_string(result);
    if (!shown.empty()) return "a read INF showed: " + shown[0].text;
    if (setup.inf == INVALID_HANDLE_VALUE || !setup.inf) return "a read INF has no handle";
    const char* values[] = {setup.productDescription, setup.destination, setup.programGroup,
                            setup.programExe,         setup.programHelp, setup.destinationSub};
    for (const char* v : values)
        if (!Terminated(v, SETUP_TEXT)) return "a value overran its buffer";
    if (!setup.infRead) return "the INF was not marked read";
    return "";
}

// After setup_Install returned result, with the boxes shown by it.
inline std::string CheckInstall(int result, const std::vector<SeenBox>& shown)
{
    if (setup.inf != INVALID_HANDLE_VALUE) return "the install left the INF open";
    if (setup.progman) return "the install kept the Program Manager conversation";
    for (size_t i = 0; i + 1 < shown.size(); ++i)
        if (shown[i].text == setup_kCompleted) return "success was shown before another message";
    if (result == 1) {
        if (shown.empty() || (shown.back().text != setup_kCompleted && shown.back().text != WithContact(setup_kNoGroup)))
            return "an install that returned 1 did not say so";
        std::string program = std::string(setup.destination) + setup.programExe;
        if (setup.programExe[0] && GetFileAttributesA(program.c_str()) == INVALID_FILE_ATTRIBUTES)
            return "success was reported without the program in place";
        return "";
    }
    if (result != 0) return "the install gave " + std::to_string(result);
    if (shown.size() != 1) return "a failed install showed " + std::to_string(shown.size()) + " boxes";
    const char* sentences[] = {setup_kNoDestination, setup_kNoQueue, setup_kNoQueueCallback, setup_kNotCopied,
                               setup_kNotRegistered};
    for (const char* s : sentences)
        if (shown[0].text == WithContact(s)) return "";
    return "a failed install said: " + shown[0].text;
}

}  // namespace mutate
