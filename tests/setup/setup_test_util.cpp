#include "setup_test_util.h"

#include <cstdio>
#include <cstring>

std::vector<std::string> SetupTest::started;

std::string TestFolder(const char* name)
{
    char temp[MAX_PATH] = {};
    GetTempPathA(sizeof temp, temp);
    std::string folder = std::string(temp) + std::to_string(GetCurrentProcessId()) + "_" + name + "\\";
    RemoveTree(folder);
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

void WriteText(const std::string& path, const std::string& text)
{
    FILE* f = fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr) << path;
    fwrite(text.data(), 1, text.size(), f);
    fclose(f);
}

bool FileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

void RemoveTree(const std::string& folder)
{
    std::string base = folder;
    if (!base.empty() && base.back() != '\\') base += '\\';
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((base + "*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::string name = data.cFileName;
            if (name == "." || name == "..") continue;
            std::string path = base + name;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) RemoveTree(path);
            else {
                SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(path.c_str());
            }
        } while (FindNextFileA(find, &data));
        FindClose(find);
    }
    RemoveDirectoryA(base.c_str());
}

bool ReadValue(HKEY root, const char* key, const char* name, DWORD* type, std::string* bytes)
{
    HKEY k;
    if (RegOpenKeyExA(root, key, 0, KEY_READ, &k) != ERROR_SUCCESS) return false;
    char buffer[1024];
    DWORD size = sizeof buffer;
    LONG result = RegQueryValueExA(k, name, nullptr, type, (BYTE*)buffer, &size);
    RegCloseKey(k);
    if (result != ERROR_SUCCESS) return false;
    bytes->assign(buffer, size);
    return true;
}

void DeleteKeyTree(HKEY root, const char* key)
{
    HKEY k;
    if (RegOpenKeyExA(root, key, 0, KEY_ALL_ACCESS, &k) == ERROR_SUCCESS) {
        char sub[256];
        for (;;) {
            DWORD size = sizeof sub;
            if (RegEnumKeyExA(k, 0, sub, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
            DeleteKeyTree(k, sub);
        }
        RegCloseKey(k);
    }
    RegDeleteKeyA(root, key);
}

// ---------------------------------------------------------------- the Program Manager stand-in

namespace {

thread_local ProgmanServer* t_server = nullptr;
const UINT kTerminateFirst = WM_APP + 7;

std::string AtomText(ATOM atom)
{
    char text[64] = {};
    GlobalGetAtomNameA(atom, text, sizeof text);
    return text;
}

LRESULT CALLBACK ServerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    ProgmanServer* s = t_server;
    switch (message) {
    case WM_DDE_INITIATE:
        if ((HWND)wParam == s->client && lstrcmpiA(AtomText(LOWORD(lParam)).c_str(), "PROGMAN") == 0 &&
            lstrcmpiA(AtomText(HIWORD(lParam)).c_str(), "PROGMAN") == 0) {
            SendMessageA(s->client, WM_DDE_ACK, (WPARAM)hwnd,
                         MAKELPARAM(GlobalAddAtomA("PROGMAN"), GlobalAddAtomA("PROGMAN")));
        }
        return 0;
    case WM_DDE_EXECUTE: {
        HGLOBAL memory = (HGLOBAL)lParam;
        const char* text = (const char*)GlobalLock(memory);
        std::string command = text ? text : "";
        if (text) GlobalUnlock(memory);
        {
            std::lock_guard<std::mutex> guard(s->lock);
            s->seen.push_back(command);
        }
        if (s->mode == ProgmanServer::kSilent) return 0;
        bool refuse = s->mode == ProgmanServer::kRefuseCreateGroup && command.find("[CreateGroup(") == 0;
        PostMessageA((HWND)wParam, WM_DDE_ACK, (WPARAM)hwnd,
                     PackDDElParam(WM_DDE_ACK, refuse ? 0 : 0x8000, (UINT_PTR)memory));
        return 0;
    }
    case WM_DDE_TERMINATE: {
        std::lock_guard<std::mutex> guard(s->lock);
        ++s->terminated;
        if (s->mode != ProgmanServer::kSilent) PostMessageA((HWND)wParam, WM_DDE_TERMINATE, (WPARAM)hwnd, 0);
        return 0;
    }
    case kTerminateFirst:
        PostMessageA(s->client, WM_DDE_TERMINATE, (WPARAM)hwnd, 0);
        return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

DWORD WINAPI ServerThread(void* parameter)
{
    ProgmanServer* s = (ProgmanServer*)parameter;
    t_server = s;
    WNDCLASSA wc = {};
    wc.lpfnWndProc = ServerProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "TestProgman";
    RegisterClassA(&wc);
    // Topmost, so that the broadcast reaches it before the shell's own Program Manager server.
    s->hwnd = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, "TestProgman", "", WS_POPUP, 0, 0, 0, 0, nullptr,
                              nullptr, wc.hInstance, nullptr);
    SetEvent(s->ready);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
    DestroyWindow(s->hwnd);
    return 0;
}

}  // namespace

ProgmanServer::ProgmanServer(Mode m, HWND c) : mode(m), client(c)
{
    ready = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    thread = CreateThread(nullptr, 0, ServerThread, this, 0, nullptr);
    WaitForSingleObject(ready, 10000);
}

ProgmanServer::~ProgmanServer()
{
    PostThreadMessageA(GetThreadId(thread), WM_QUIT, 0, 0);
    WaitForSingleObject(thread, 10000);
    CloseHandle(thread);
    CloseHandle(ready);
}

std::vector<std::string> ProgmanServer::commands()
{
    std::lock_guard<std::mutex> guard(lock);
    return seen;
}

int ProgmanServer::terminates()
{
    std::lock_guard<std::mutex> guard(lock);
    return terminated;
}

void ProgmanServer::terminateFirst() { PostMessageA(hwnd, kTerminateFirst, 0, 0); }

// ---------------------------------------------------------------- the fixture

static UINT RecordStart(const char* command, UINT show)
{
    SetupTest::started.push_back(std::string(command) + " show=" + std::to_string(show));
    return 33;
}

std::string SetupTest::programs;

// The Start menu's Programs folders of the test: "Common" and "User" in its own folder.
static int TestProgramsFolder(int common, char* path)
{
    if (SetupTest::programs.empty()) return 0;
    std::string folder = SetupTest::programs + (common ? "Common" : "User");
    CreateDirectoryA(SetupTest::programs.c_str(), nullptr);
    CreateDirectoryA(folder.c_str(), nullptr);
    snprintf(path, MAX_PATH, "%s", folder.c_str());
    return 1;
}

void SetupTest::SetUp()
{
    HINSTANCE instance = GetModuleHandleA(nullptr);
    UnregisterClassA("Setup", instance);
    ASSERT_TRUE(setup_RegisterClass(instance));
    tb_SetInstance(instance, SW_SHOWNORMAL);
    tb_SetClassName("Setup");
    tb_InitToolbox();
    setup_ResetState();
    ASSERT_EQ(setup_OpenMainWindow(), 5000);
    const testing::TestInfo* info = testing::UnitTest::GetInstance()->current_test_info();
    key = std::string("Software\\TintwellTests\\") + std::to_string(GetCurrentProcessId()) + "_" + info->name();
    DeleteKeyTree(HKEY_CURRENT_USER, key.c_str());
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &root, nullptr),
              ERROR_SUCCESS);
    setup.registryRoot = root;
    setup.startProgram = RecordStart;
    started.clear();
    folder = TestFolder(info->name());
    programs = folder + "Programs\\";
    setup.programsFolder = TestProgramsFolder;
}

void SetupTest::TearDown()
{
    setup_CloseInf();
    HWND main = mainWindow();
    if (main && IsWindow(main)) DestroyWindow(main);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
    setup_ResetState();
    RegCloseKey(root);
    DeleteKeyTree(HKEY_CURRENT_USER, key.c_str());
    RemoveTree(folder);
    UnregisterClassA("Setup", GetModuleHandleA(nullptr));
}

int SetupTest::readInf(const std::string& text)
{
    WriteText(folder + "setup.inf", text);
    return setup_ReadInfFrom((folder + "setup.inf").c_str(), folder.c_str());
}

std::string StringsSection(const std::string& values)
{
    return "[Version]\r\nSignature=\"$Windows NT$\"\r\n\r\n[Strings]\r\n" + values + "\r\n";
}
