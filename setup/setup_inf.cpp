// Reading "setup.inf": the product's strings with their defaults, the source root, and the two
// directory ids the INF's install section copies into.
#include "setup/setup.h"

#include <cstdio>
#include <cstring>

static void setup_Copy(char* to, const char* from)
{
    snprintf(to, SETUP_TEXT, "%s", from);
}

// A key of section "Strings"; a missing key leaves the value as it was.
static void setup_ReadString(const char* key, char* value)
{
    char text[SETUP_TEXT];
    if (SetupGetLineTextA(nullptr, setup.inf, "Strings", key, text, sizeof text, nullptr)) setup_Copy(value, text);
}

int setup_ReadInfFrom(const char* infPath, const char* sourceRoot)
{
    setup_Copy(setup.productDescription, "This Product");
    snprintf(setup.destination, SETUP_TEXT, "c:\\Program Files\\Marrowby\\%s", setup.productDescription);
    setup.programGroup[0] = '\0';
    setup.programExe[0] = '\0';
    setup.programHelp[0] = '\0';
    setup.destinationSub[0] = '\0';
    setup_Copy(setup.sourceRoot, sourceRoot);

    setup_CloseInf();
    setup.inf = SetupOpenInfFileA(infPath, nullptr, INF_STYLE_WIN4, nullptr);
    if (setup.inf == INVALID_HANDLE_VALUE) {
        setup_ErrorWithContact(setup_kMissingFiles);
        return 0;
    }
    setup_ReadString("PRODUCT_DESC", setup.productDescription);
    setup_ReadString("DESTINATION_DIR", setup.destination);
    setup_ReadString("PROGRAM_GROUP", setup.programGroup);
    setup_ReadString("PROGRAM_EXE", setup.programExe);
    setup_ReadString("PROGRAM_HELP", setup.programHelp);
    setup_ReadString("DESTINATION_SUB", setup.destinationSub);
    setup.infRead = 1;
    return 1;
}

int setup_ReadInf(void)
{
    char path[MAX_PATH + 1] = {};
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) path[0] = '\0';
    char* slash = strrchr(path, '\\');
    if (slash) slash[1] = '\0';
    else path[0] = '\0';
    char inf[MAX_PATH + 16];
    snprintf(inf, sizeof inf, "%ssetup.inf", path);
    if (!setup_ReadInfFrom(inf, path)) return 0;
    setup_OpenProgman();
    return 1;
}

void setup_CloseInf(void)
{
    if (setup.inf != INVALID_HANDLE_VALUE && setup.inf != nullptr) SetupCloseInfFile(setup.inf);
    setup.inf = INVALID_HANDLE_VALUE;
}

void setup_EndWithBackslash(char* folder, size_t size)
{
    size_t length = strlen(folder);
    if (length == 0 || folder[length - 1] == '\\' || folder[length - 1] == '/') return;
    if (length + 1 >= size) return;
    folder[length] = '\\';
    folder[length + 1] = '\0';
}

int setup_SetDirectoryIds(void)
{
    char folder[SETUP_TEXT];
    setup_Copy(folder, setup.destination);
    setup_EndWithBackslash(folder, sizeof folder);
    size_t length = strlen(folder);
    // An empty folder, or one too long to take its final backslash, names no place to install to.
    if (length == 0 || folder[length - 1] != '\\') return 0;
    char sub[SETUP_TEXT];
    if (snprintf(sub, sizeof sub, "%s%s", folder, setup.destinationSub) >= (int)sizeof sub) return 0;
    if (!SetupSetDirectoryIdA(setup.inf, SETUP_DIRID_DESTINATION, folder)) return 0;
    if (!SetupSetDirectoryIdA(setup.inf, SETUP_DIRID_SUBFOLDER, sub)) return 0;
    return 1;
}
