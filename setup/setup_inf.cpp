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

int setup_ReadInfBeside(const char* programPath)
{
    // The INF's path must be whole: a cut one would name "setup.inf" in the current folder.
    char root[SETUP_TEXT] = {}, inf[MAX_PATH] = {};
    const char* slash = strrchr(programPath, '\\');
    size_t rootLength = slash ? (size_t)(slash - programPath) + 1 : 0;
    int fits = rootLength > 0 && rootLength < sizeof root &&
               rootLength + strlen("setup.inf") < sizeof inf;
    if (!fits) {
        setup_CloseInf();
        setup_ErrorWithContact(setup_kMissingFiles);
        return 0;
    }
    memcpy(root, programPath, rootLength);
    snprintf(inf, sizeof inf, "%ssetup.inf", root);
    return setup_ReadInfFrom(inf, root);
}

int setup_ReadInf(void)
{
    char path[2 * MAX_PATH] = {};
    DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    if (length == 0 || length >= sizeof path) path[0] = '\0';
    if (!setup_ReadInfBeside(path)) return 0;
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

int setup_NormaliseFolder(char* folder, size_t size)
{
    for (char* p = folder; *p; ++p)
        if (*p == '/') *p = '\\';
    setup_EndWithBackslash(folder, size);
    size_t length = strlen(folder);
    // One too long to take its final backslash names no place either.
    if (length == 0 || folder[length - 1] != '\\') return 0;
    char c = folder[0];
    int letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    if (letter && folder[1] == ':' && folder[2] == '\\') return 1;
    // \\server\share\ with a server and a share.
    if (folder[0] != '\\' || folder[1] != '\\') return 0;
    const char* server = folder + 2;
    const char* share = strchr(server, '\\');
    if (!share || share == server) return 0;
    ++share;
    const char* end = strchr(share, '\\');
    return end && end != share;
}

// A folder with its final backslash as the Setup API takes it: without that backslash (INF
// entries append a backslash and a name), except for the root of a drive.
static void setup_DirectoryIdPath(const char* folder, char* path, size_t size)
{
    snprintf(path, size, "%s", folder);
    size_t length = strlen(path);
    if (length > 3 && path[length - 1] == '\\') path[length - 1] = '\0';
}

int setup_SetDirectoryIds(void)
{
    char folder[SETUP_TEXT];
    setup_Copy(folder, setup.destination);
    if (!setup_NormaliseFolder(folder, sizeof folder)) return 0;
    char sub[SETUP_TEXT];
    if (snprintf(sub, sizeof sub, "%s%s", folder, setup.destinationSub) >= (int)sizeof sub) return 0;
    char top[SETUP_TEXT], below[SETUP_TEXT];
    setup_DirectoryIdPath(folder, top, sizeof top);
    setup_DirectoryIdPath(sub, below, sizeof below);
    if (!SetupSetDirectoryIdA(setup.inf, SETUP_DIRID_DESTINATION, top)) return 0;
    if (!SetupSetDirectoryIdA(setup.inf, SETUP_DIRID_SUBFOLDER, below)) return 0;
    return 1;
}
