// What the installer leaves in the registry: the destination folder, and the run-once entries
// that let the shell turn the program group into a Start menu folder.
#include "setup/setup.h"

#include <cstdio>
#include <cstring>

static const char kUserInfoKey[] = "Software\\Marrowby\\Tintwell\\UserInfo\\";
static const char kRunOnceKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";

int setup_RecordDestination(void)
{
    char folder[SETUP_TEXT];
    snprintf(folder, sizeof folder, "%s", setup.destination);
    HKEY key;
    DWORD disposition;
    if (RegCreateKeyExA(setup.registryRoot, kUserInfoKey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                        nullptr, &key, &disposition) != ERROR_SUCCESS)
        return 0;
    // The length given is that of the text without its terminating zero.
    LONG result = RegSetValueExA(key, "DestinationPath", 0, REG_SZ, (const BYTE*)folder, (DWORD)strlen(folder));
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

int setup_WriteRunOnce(void)
{
    HKEY key;
    if (RegOpenKeyExA(setup.registryRoot, kRunOnceKey, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return 0;
    HKEY wrapper;
    if (RegOpenKeyExA(key, "Setup", 0, KEY_READ, &wrapper) == ERROR_SUCCESS) {
        RegCloseKey(wrapper);
        static const char kRunonce[] = "runonce";
        RegSetValueExA(key, "Wrapper", 0, REG_SZ, (const BYTE*)kRunonce, sizeof kRunonce);
    }
    static const char kGrpConv[] = "grpconv -o";
    RegSetValueExA(key, "GrpConv", 0, REG_SZ, (const BYTE*)kGrpConv, sizeof kGrpConv);
    RegCloseKey(key);
    setup.startProgram("runonce -r", SW_SHOWNORMAL);
    return 1;
}
