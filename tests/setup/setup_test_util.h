// Support of the installer's tests: a main window of class "Setup", a registry root and a
// folder of the test's own, INF files written on the spot, and a Program Manager stand-in that
// answers DDE on a second thread of the test process.
#pragma once

#include <gtest/gtest.h>

#include <mutex>
#include <string>
#include <vector>

#include "boxes.h"
#include "setup/setup.h"
#include "toolbox.h"

// A folder of this process under the temporary folder, with its final backslash.
std::string TestFolder(const char* name);
void WriteText(const std::string& path, const std::string& text);
bool FileExists(const std::string& path);
void RemoveTree(const std::string& folder);
// A registry value under root: type and bytes; false when it is missing.
bool ReadValue(HKEY root, const char* key, const char* name, DWORD* type, std::string* bytes);
void DeleteKeyTree(HKEY root, const char* key);

// The Program Manager stand-in: a hidden topmost window on a thread of its own that answers the
// initiate of the given client, records each command and answers it as its mode says.
struct ProgmanServer {
    enum Mode { kAccept, kRefuseCreateGroup, kSilent };
    explicit ProgmanServer(Mode mode, HWND client);
    ~ProgmanServer();
    std::vector<std::string> commands();
    int terminates();
    // Makes the server start the terminate itself.
    void terminateFirst();
    HWND window() const { return hwnd; }

    Mode mode;
    HWND client;
    HWND hwnd = nullptr;
    HANDLE thread = nullptr;
    HANDLE ready = nullptr;
    std::mutex lock;
    std::vector<std::string> seen;
    int terminated = 0;
};

// Every test starts with a fresh installer state, a "Setup" main window (index 5000), a registry
// root of its own under HKEY_CURRENT_USER and a recorder in place of WinExec.
class SetupTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // Reads an INF written from text into the test's folder (source root = that folder).
    int readInf(const std::string& text);
    HWND mainWindow() const { return tb_GetWindowHandle(setup.mainWindow); }
    std::string key;       // the test's registry root, below HKEY_CURRENT_USER
    HKEY root = nullptr;
    std::string folder;    // the test's folder, with its final backslash
public:
    static std::vector<std::string> started;  // the commands handed to WinExec's stand-in
    static std::string programs;  // the test's Start-menu Programs folders ("" for none), with a backslash
};

// The INF every install test starts from; VALUES go into its "Strings" section.
std::string StringsSection(const std::string& values);
