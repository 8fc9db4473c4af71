// The place of the preferences file. Its home is the Windows folder; a user without the right to
// write there (any standard user on today's systems) keeps it in a folder of the program's own
// under the user's application data, so that the choices survive the next start.
#include "tb_internal.h"

#include <shlobj.h>

#include <cstring>

namespace {

const char kName[] = "qlnpfs.pfs";
const char kOwnFolder[] = "Tintwell";

bool Exists(const char* path) { return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES; }

// Whether this user may write the preferences file in the Windows folder: the file itself when it
// exists, else a probe of that name that is removed again as soon as it is closed.
bool WindowsPlaceWritable(const char* path)
{
    HANDLE h = CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE && GetLastError() == ERROR_FILE_NOT_FOUND)
        h = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                        FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    CloseHandle(h);
    return true;
}

}  // namespace

void tb_PrefsWindowsPath(char* path)
{
    char folder[247] = {};
    GetWindowsDirectoryA(folder, sizeof folder);
    wsprintfA(path, "%s\\%s", folder, kName);
}

void tb_PrefsUserPath(char* path)
{
    char folder[MAX_PATH] = {};
    path[0] = 0;
    typedef HRESULT(WINAPI * FolderProc)(HWND, int, HANDLE, DWORD, LPSTR);
    FolderProc folderPath = (FolderProc)(void*)tb_SystemProc("SHELL32", "SHGetFolderPathA");
    if (!folderPath || folderPath(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder) != S_OK || !folder[0])
        return;
    if (lstrlenA(folder) + lstrlenA(kOwnFolder) + lstrlenA(kName) + 2 >= MAX_PATH + 16) return;
    wsprintfA(path, "%s\\%s\\%s", folder, kOwnFolder, kName);
}

void tb_PrefsPath(char* path, int writing)
{
    tb_PrefsWindowsPath(path);
    if (WindowsPlaceWritable(path)) return;
    char user[MAX_PATH + 16];
    tb_PrefsUserPath(user);
    if (!user[0]) return;
    if (writing) {
        // The program's own folder in the application data, made on first use.
        char folder[MAX_PATH + 16];
        lstrcpyA(folder, user);
        *strrchr(folder, '\\') = 0;
        CreateDirectoryA(folder, nullptr);
        lstrcpyA(path, user);
    } else if (Exists(user)) {
        // Read what this user saved; until then, what the Windows folder holds.
        lstrcpyA(path, user);
    }
}
