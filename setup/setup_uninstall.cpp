// The uninstaller (Setup as uninstall.exe in the Tintwell folder, or with /uninstall): it removes
// what tintwell.inf lists, the folders the install made once they are empty, the Start-menu
// group and the registry keys, and keeps the Gallery with the child's pictures, per-user data
// and the preferences file.
#include "setup/setup.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "toolbox.h"

namespace {

// A value of section "Strings" of inf; "" when missing.
void InfString(HINF inf, const char* key, char* value, size_t size)
{
    if (!SetupGetLineTextA(nullptr, inf, "Strings", key, value, (DWORD)size, nullptr)) value[0] = '\0';
}

// The removal section of inf, run on folder; 1 when every listed file that was there is gone.
int RunRemoval(HINF inf, const char* folder)
{
    char sub[SETUP_TEXT], top[SETUP_TEXT], below[2 * SETUP_TEXT];
    InfString(inf, "DESTINATION_SUB", sub, sizeof sub);
    snprintf(top, sizeof top, "%s", folder);
    snprintf(below, sizeof below, "%s%s", folder, sub);
    // As for the install: without the final backslash (the root of a drive keeps it).
    for (char* path : {top, below}) {
        size_t length = strlen(path);
        if (length > 3 && path[length - 1] == '\\') path[length - 1] = '\0';
    }
    if (!SetupSetDirectoryIdA(inf, SETUP_DIRID_DESTINATION, top) || !SetupSetDirectoryIdA(inf, SETUP_DIRID_SUBFOLDER, below))
        return 0;
    HWND window = setup.quiet ? nullptr : tb_GetWindowHandle(setup.mainWindow);
    SetupCopyRecord record = {};
    record.defaultContext =
        SetupInitDefaultQueueCallbackEx(window, setup.quiet ? (HWND)INVALID_HANDLE_VALUE : nullptr, 0, 0, nullptr);
    if (!record.defaultContext) return 0;
    BOOL ran = SetupInstallFromInfSectionA(window, inf, "DefaultUninstall", SPINST_FILES | SPINST_INIFILES | SPINST_REGISTRY,
                                           nullptr, nullptr, 0, setup_QueueCallback, &record, nullptr, nullptr);
    SetupTermDefaultQueueCallback(record.defaultContext);
    if (!ran) setup_Log("The removal section of the INF could not be run (error %lu)", (unsigned long)GetLastError());
    return ran && record.deleteFailures == 0;
}

// The folders an install recorded (read before the INF's removal deletes the product key),
// deepest first, each removed when it is empty.
void RemoveCreatedFolders(const char* list)
{
    std::vector<std::string> folders;
    for (const char* p = list; *p; p += strlen(p) + 1) folders.push_back(p);
    std::stable_sort(folders.begin(), folders.end(),
                     [](const std::string& a, const std::string& b) { return a.size() > b.size(); });
    for (const std::string& folder : folders)
        if (RemoveDirectoryA(folder.c_str())) setup_Log("Removed the folder %s", folder.c_str());
}

}  // namespace

int setup_RemoveInstall(const char* folder)
{
    // The INF the install left in its folder (tintwell.inf; setup.inf from before it was named
    // so), else the one Setup has open: the same product with the same lists.
    HINF inf = INVALID_HANDLE_VALUE;
    for (const char* name : {"tintwell.inf", "setup.inf"}) {
        char path[2 * SETUP_TEXT];
        snprintf(path, sizeof path, "%s%s", folder, name);
        inf = SetupOpenInfFileA(path, nullptr, INF_STYLE_WIN4, nullptr);
        if (inf != INVALID_HANDLE_VALUE) {
            setup_Log("Removing what %s lists", path);
            break;
        }
    }
    char created[8192];
    setup_ReadCreatedFolders(created, sizeof created);
    bool own = inf != INVALID_HANDLE_VALUE;
    HINF used = own ? inf : setup.inf;
    int removed;
    char group[SETUP_TEXT] = "";
    if (used != INVALID_HANDLE_VALUE && used != nullptr) {
        InfString(used, "PROGRAM_GROUP", group, sizeof group);
        removed = RunRemoval(used, folder);
    } else {
        // Nothing says what was installed: only a folder that is gone already is removed.
        removed = !setup_IsFolder(folder);
        setup_Log("No list of the installed files in %s", folder);
    }
    if (own) SetupCloseInfFile(inf);
    RemoveCreatedFolders(created);
    setup_RemoveGroupFolders(group);
    setup_DeleteProductKeys();
    return removed;
}

int setup_MoveSelfAway(const char* folder)
{
    char self[2 * MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, self, sizeof self);
    if (length == 0 || length >= sizeof self) return 0;
    size_t prefix = strlen(folder);
    if (length < prefix || CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, self, (int)prefix, folder, (int)prefix) != CSTR_EQUAL)
        return 1;
    // A running program can be renamed on its volume but not deleted; the temporary folder is
    // on the system volume, like Program Files.
    char temp[MAX_PATH], moved[2 * MAX_PATH];
    DWORD tempLength = GetTempPathA(sizeof temp, temp);
    if (tempLength > 0 && tempLength < sizeof temp &&
        snprintf(moved, sizeof moved, "%sTintwell-uninstall-%lu.exe", temp, (unsigned long)GetCurrentProcessId()) <
            (int)sizeof moved &&
        MoveFileExA(self, moved, MOVEFILE_REPLACE_EXISTING)) {
        MoveFileExA(moved, nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
        setup_Log("Moved %s to %s, which is deleted at the next restart", self, moved);
        return 1;
    }
    MoveFileExA(self, nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
    setup_Log("%s is deleted at the next restart", self);
    return 0;
}

int setup_Uninstall(void)
{
    if (setup_RefuseOverPackage()) return SETUP_EXIT_FAILED;
    char folder[SETUP_TEXT];
    setup_ReadString(setup_kUserInfoKey, "DestinationPath", 0, folder, sizeof folder);
    if (!folder[0] || !setup_NormaliseFolder(folder, sizeof folder)) {
        setup_Tell(setup_kNotInstalled);
        return SETUP_EXIT_FAILED;
    }
    if (!setup_Ask(setup_kRemoveQuestion, 1)) return SETUP_EXIT_CANCELLED;
    setup_Log("Removing Tintwell from %s", folder);
    setup_MoveSelfAway(folder);
    int removed = setup_RemoveInstall(folder);
    if (!removed) {
        setup_ErrorWithContact(setup_kNotRemoved);
        return SETUP_EXIT_FAILED;
    }
    char gallery[SETUP_TEXT + 16], text[2 * SETUP_TEXT + 128];
    snprintf(gallery, sizeof gallery, "%sGallery", folder);
    snprintf(text, sizeof text, "%s", setup_kRemoved);
    if (setup_IsFolder(gallery))
        snprintf(text + strlen(text), sizeof text - strlen(text), "\n\nThe pictures in %s are kept.", gallery);
    setup_Tell(text);
    return SETUP_EXIT_DONE;
}
