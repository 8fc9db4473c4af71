// Setup over an earlier install: one made by the Windows Installer package is left to the
// package, a newer version is kept unless the user agrees, one in another folder is removed
// first (its Gallery stays where it is), one in the same folder is replaced in place.
#include "setup/setup.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

int setup_CompareVersions(const char* a, const char* b)
{
    for (int part = 0; part < 4; ++part) {
        unsigned long x = strtoul(a, (char**)&a, 10), y = strtoul(b, (char**)&b, 10);
        if (x != y) return x < y ? -1 : 1;
        if (*a == '.') ++a;
        if (*b == '.') ++b;
    }
    return 0;
}

void setup_InstalledBy(char* by, size_t size)
{
    // A 32-bit Setup on 64-bit Windows and the 64-bit package write different views.
    const REGSAM views[] = {KEY_WOW64_64KEY, KEY_WOW64_32KEY};
    for (REGSAM view : views) {
        setup_ReadString(setup_kUserInfoKey, "InstalledBy", view, by, size);
        if (by[0]) return;
    }
}

int setup_RefuseOverPackage(void)
{
    char by[16];
    setup_InstalledBy(by, sizeof by);
    if (lstrcmpiA(by, "msi") != 0) return 0;
    setup_Tell(setup_kByPackage);
    return 1;
}

int setup_CheckEarlierInstall(void)
{
    setup.upgrading = 0;
    setup.keptGallery[0] = '\0';
    if (setup_RefuseOverPackage()) return SETUP_EXIT_FAILED;
    char earlier[SETUP_TEXT];
    setup_ReadString(setup_kUserInfoKey, "DestinationPath", 0, earlier, sizeof earlier);
    if (!earlier[0] || !setup_NormaliseFolder(earlier, sizeof earlier)) return 0;
    char version[32];
    setup_ReadString(setup_kEntryKey, "DisplayVersion", 0, version, sizeof version);
    setup_Log("Tintwell %s is installed in %s", version[0] ? version : "(no version)", earlier);
    if (version[0] && setup.version[0] && setup_CompareVersions(version, setup.version) > 0) {
        char question[512];
        snprintf(question, sizeof question, setup_kNewerInstalled, version, setup.version);
        if (!setup_Ask(question, 0)) return setup.quiet ? SETUP_EXIT_FAILED : SETUP_EXIT_CANCELLED;
        setup.replaceNewer = 1;
    }

    if (lstrcmpiA(earlier, setup.destination) == 0) {
        setup.upgrading = 1;
        // An install made before Setup named its INF tintwell.inf left "setup.inf" there (its
        // entry's uninstall command names it); the new entry replaces the old one whole.
        char command[2 * SETUP_TEXT], old[2 * SETUP_TEXT];
        setup_ReadString(setup_kEntryKey, "UninstallString", 0, command, sizeof command);
        snprintf(old, sizeof old, "%ssetup.inf", earlier);
        if (strstr(command, "setup.inf") && lstrcmpiA(earlier, setup.sourceRoot) != 0 && DeleteFileA(old))
            setup_Log("Removed the earlier %s", old);
        RegDeleteKeyA(setup.registryRoot, setup_kEntryKey);
        setup_Log("Replacing it in place");
        return 0;
    }

    setup_Log("Removing it before installing into %s", setup.destination);
    if (!setup_RemoveInstall(earlier)) {
        char sentence[SETUP_TEXT + 128];
        snprintf(sentence, sizeof sentence, setup_kEarlierNotRemoved, earlier);
        setup_ErrorWithContact(sentence);
        return SETUP_EXIT_FAILED;
    }
    char gallery[SETUP_TEXT + 16];
    snprintf(gallery, sizeof gallery, "%sGallery", earlier);
    if (setup_IsFolder(gallery)) {
        snprintf(setup.keptGallery, sizeof setup.keptGallery, "%s", gallery);
        char kept[sizeof gallery + 128];
        snprintf(kept, sizeof kept, setup_kKeptGallery, gallery);
        setup_Log("%s", kept);
    }
    return 0;
}
