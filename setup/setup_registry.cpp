// What the installer leaves in the registry: the destination folder, and the run-once entries
// that let the shell turn the program group into a Start menu folder.
#include "setup/setup.h"

#include <cstdio>
#include <cstring>

const char setup_kProductKey[] = "Software\\Marrowby\\Tintwell";
const char setup_kUserInfoKey[] = "Software\\Marrowby\\Tintwell\\UserInfo\\";
const char setup_kEntryKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tintwell";
static const char kMakerKey[] = "Software\\Marrowby";
static const char kRunOnceKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";

int setup_RecordDestination(void)
{
    char folder[SETUP_TEXT];
    snprintf(folder, sizeof folder, "%s", setup.destination);
    HKEY key;
    DWORD disposition;
    if (RegCreateKeyExA(setup.registryRoot, setup_kUserInfoKey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
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
    setup_Log("Run-once entries written");
    // From the system folder by its full path: a "runonce.exe" beside Setup (in a downloads
    // folder, say) would otherwise run with Setup's administrator rights.
    char system[MAX_PATH], command[MAX_PATH + 32];
    UINT length = GetSystemDirectoryA(system, sizeof system);
    if (length == 0 || length >= sizeof system) return 1;
    snprintf(command, sizeof command, "\"%s\\runonce.exe\" -r", system);
    setup.startProgram(command, SW_SHOWNORMAL);
    return 1;
}

void setup_ReadString(const char* key, const char* name, REGSAM view, char* value, size_t size)
{
    value[0] = '\0';
    HKEY k;
    if (RegOpenKeyExA(setup.registryRoot, key, 0, KEY_READ | view, &k) != ERROR_SUCCESS) return;
    DWORD type = 0, bytes = (DWORD)size - 1;
    if (RegQueryValueExA(k, name, nullptr, &type, (BYTE*)value, &bytes) == ERROR_SUCCESS && type == REG_SZ &&
        bytes < size)
        value[bytes] = '\0';
    else
        value[0] = '\0';
    RegCloseKey(k);
}

int setup_WriteCreatedFolders(const char* folders, size_t length)
{
    HKEY key;
    if (RegCreateKeyExA(setup.registryRoot, setup_kProductKey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                        nullptr, &key, nullptr) != ERROR_SUCCESS)
        return 0;
    LONG result = RegSetValueExA(key, "CreatedFolders", 0, REG_MULTI_SZ, (const BYTE*)folders, (DWORD)length);
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

int setup_ReadCreatedFolders(char* folders, size_t size)
{
    memset(folders, 0, size);
    HKEY k;
    if (RegOpenKeyExA(setup.registryRoot, setup_kProductKey, 0, KEY_READ, &k) != ERROR_SUCCESS) return 0;
    DWORD type = 0, bytes = (DWORD)size - 2;
    LONG result = RegQueryValueExA(k, "CreatedFolders", nullptr, &type, (BYTE*)folders, &bytes);
    RegCloseKey(k);
    if (result != ERROR_SUCCESS || type != REG_MULTI_SZ) {
        memset(folders, 0, size);
        return 0;
    }
    return 1;
}

// A key with everything below it.
static void setup_DeleteTree(HKEY root, const char* name)
{
    HKEY key;
    if (RegOpenKeyExA(root, name, 0, KEY_READ | KEY_WRITE, &key) != ERROR_SUCCESS) return;
    char sub[256];
    for (;;) {
        DWORD size = sizeof sub;
        if (RegEnumKeyExA(key, 0, sub, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        size_t before = strlen(sub);
        setup_DeleteTree(key, sub);
        // A sub-key that cannot be deleted would be enumerated for ever.
        HKEY still;
        if (before && RegOpenKeyExA(key, sub, 0, KEY_READ, &still) == ERROR_SUCCESS) {
            RegCloseKey(still);
            break;
        }
    }
    RegCloseKey(key);
    RegDeleteKeyA(root, name);
}

void setup_DeleteProductKeys(void)
{
    setup_DeleteTree(setup.registryRoot, setup_kProductKey);
    setup_DeleteTree(setup.registryRoot, setup_kEntryKey);
    // The maker's key goes too once nothing of anyone's is left in it.
    HKEY maker;
    if (RegOpenKeyExA(setup.registryRoot, kMakerKey, 0, KEY_READ, &maker) != ERROR_SUCCESS) return;
    DWORD keys = 1, values = 1;
    LONG result = RegQueryInfoKeyA(maker, nullptr, nullptr, nullptr, &keys, nullptr, nullptr, &values, nullptr,
                                   nullptr, nullptr, nullptr);
    RegCloseKey(maker);
    if (result == ERROR_SUCCESS && keys == 0 && values == 0) RegDeleteKeyA(setup.registryRoot, kMakerKey);
}
