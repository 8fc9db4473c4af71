// The program group as the shell's own link files, for where no Program Manager answers (or it
// refuses): the same two items in a folder of every user's Start menu.
#include "setup/setup.h"

#include <objbase.h>
#include <shlobj.h>

#include <cstdio>
#include <cstring>

namespace {

// One link file at path pointing at target, started in folder.
int SaveLink(const char* path, const char* target, const char* folder)
{
    IShellLinkA* link = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, (void**)&link)))
        return 0;
    int saved = 0;
    IPersistFile* file = nullptr;
    if (SUCCEEDED(link->SetPath(target)) && SUCCEEDED(link->SetWorkingDirectory(folder)) &&
        SUCCEEDED(link->QueryInterface(IID_IPersistFile, (void**)&file))) {
        WCHAR wide[MAX_PATH];
        if (MultiByteToWideChar(CP_ACP, 0, path, -1, wide, MAX_PATH) > 0) saved = SUCCEEDED(file->Save(wide, TRUE));
        file->Release();
    }
    link->Release();
    return saved;
}

}  // namespace

int setup_CreateGroupLinks(void)
{
    char programs[MAX_PATH], group[MAX_PATH], link[MAX_PATH], target[2 * SETUP_TEXT];
    if (!setup.programGroup[0] || !setup.programsFolder(1, programs)) return 0;
    if (snprintf(group, sizeof group, "%s\\%s", programs, setup.programGroup) >= (int)sizeof group) return 0;
    CreateDirectoryA(group, nullptr);
    HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    int made = snprintf(link, sizeof link, "%s\\%s.lnk", group, setup.programGroup) < (int)sizeof link &&
               snprintf(target, sizeof target, "%s%s", setup.destination, setup.programExe) < (int)sizeof target &&
               SaveLink(link, target, setup.destination);
    if (made && setup.programHelp[0])
        made = snprintf(link, sizeof link, "%s\\Help.lnk", group) < (int)sizeof link &&
               snprintf(target, sizeof target, "%s%s", setup.destination, setup.programHelp) < (int)sizeof target &&
               SaveLink(link, target, setup.destination);
    if (SUCCEEDED(com)) CoUninitialize();
    if (made) setup_Log("Program group \"%s\" created as shell links in %s", setup.programGroup, programs);
    else RemoveDirectoryA(group);  // only when nothing was saved in it
    return made;
}

void setup_RemoveGroupFolders(const char* group)
{
    if (!group[0]) return;
    for (int common = 0; common < 2; ++common) {
        char programs[MAX_PATH], folder[MAX_PATH];
        if (!setup.programsFolder(common, programs)) continue;
        if (snprintf(folder, sizeof folder, "%s\\%s", programs, group) >= (int)sizeof folder) continue;
        if (RemoveDirectoryA(folder)) setup_Log("Removed the Start-menu folder %s", folder);
    }
}
