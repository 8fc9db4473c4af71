// The install proper: the destination in the registry, the file copy through the Setup API,
// the INF's INI and registry operations, the program group and the run-once entries.
#include "setup/setup.h"

#include <cstdio>
#include <cstring>

#include "toolbox.h"

UINT CALLBACK setup_QueueCallback(PVOID context, UINT notification, UINT_PTR param1, UINT_PTR param2)
{
    SetupCopyRecord* record = (SetupCopyRecord*)context;
    // A file that cannot be deleted is of no consequence to the install: go on without asking.
    if (notification == SPFILENOTIFY_DELETEERROR) return FILEOP_SKIP;
    // The Setup API asks for the source again when a copy fails on the target's side (a file in
    // the way of a folder, a name the file system refuses); where no prompt comes up the same
    // failing copy would repeat for ever. The third request for one file skips it.
    if (notification == SPFILENOTIFY_NEEDMEDIA && param1) {
        const SOURCE_MEDIA_A* media = (const SOURCE_MEDIA_A*)param1;
        char source[sizeof record->lastMedia];
        snprintf(source, sizeof source, "%s|%s", media->SourcePath ? media->SourcePath : "",
                 media->SourceFile ? media->SourceFile : "");
        if (strcmp(source, record->lastMedia) == 0) {
            if (++record->mediaRequests >= 3) {
                ++record->copyFailures;
                return FILEOP_SKIP;
            }
        } else {
            snprintf(record->lastMedia, sizeof record->lastMedia, "%s", source);
            record->mediaRequests = 1;
        }
    }
    UINT answer = setup.defaultQueueCallback(record->defaultContext, notification, param1, param2);
    switch (notification) {
    case SPFILENOTIFY_COPYERROR:
    case SPFILENOTIFY_NEEDMEDIA:
        if (answer == FILEOP_SKIP) ++record->copyFailures;
        break;
    case SPFILENOTIFY_ENDCOPY: {
        const FILEPATHS_A* paths = (const FILEPATHS_A*)param1;
        if (paths && paths->Win32Error != NO_ERROR) ++record->copyFailures;
        break;
    }
    default:
        break;
    }
    return answer;
}

// Creates folder and the folders above it; 1 when it is a folder in the end.
static int setup_MakeFolder(const char* folder)
{
    char path[SETUP_TEXT];
    snprintf(path, sizeof path, "%s", folder);
    size_t length = strlen(path);
    while (length > 3 && path[length - 1] == '\\') path[--length] = '\0';
    for (size_t i = 3; i <= length; ++i) {
        if (path[i] != '\\' && path[i] != '\0') continue;
        char saved = path[i];
        path[i] = '\0';
        CreateDirectoryA(path, nullptr);
        path[i] = saved;
    }
    DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The destination folder and its sub-folder exist before the copy; a file in their way or a
// name the file system refuses stops the install here (the Setup API would retry such a copy
// without end).
static int setup_MakeDestination(void)
{
    char sub[SETUP_TEXT];
    snprintf(sub, sizeof sub, "%s%s", setup.destination, setup.destinationSub);
    return setup_MakeFolder(setup.destination) && setup_MakeFolder(sub);
}

// The program the group's item will start is where the item points: an INF whose copy lists miss
// it (a copy section missing or misnamed) copies the rest and would otherwise look installed.
static int setup_ProgramInPlace(void)
{
    if (!setup.programExe[0]) return 1;
    char program[2 * SETUP_TEXT];
    snprintf(program, sizeof program, "%s%s", setup.destination, setup.programExe);
    DWORD attributes = GetFileAttributesA(program);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Ends an install that stopped early: the INF is closed and Program Manager let go.
static int setup_StopInstall(const char* sentence)
{
    if (sentence) setup_ErrorWithContact(sentence);
    setup_CloseInf();
    setup_TerminateProgman();
    return 0;
}

int setup_Install(void)
{
    HWND window = tb_GetWindowHandle(setup.mainWindow);
    // Names are appended to the folder from here on.
    setup_EndWithBackslash(setup.destination, sizeof setup.destination);
    setup_RecordDestination();

    if (!setup_SetDirectoryIds()) return setup_StopInstall(setup_kNoDestination);
    HSPFILEQ queue = SetupOpenFileQueue();
    if (!queue || queue == INVALID_HANDLE_VALUE) return setup_StopInstall(setup_kNoQueue);
    SetupCopyRecord record = {};
    record.defaultContext = SetupInitDefaultQueueCallbackEx(window, nullptr, 0, 0, nullptr);
    if (!record.defaultContext) {
        SetupCloseFileQueue(queue);
        return setup_StopInstall(setup_kNoQueueCallback);
    }

    // An INF without the install section would copy nothing and still look installed.
    int copied = 0;
    if (SetupGetLineCountA(setup.inf, "ProductInstall") >= 0 && setup_MakeDestination() &&
        SetupInstallFilesFromInfSectionA(setup.inf, nullptr, queue, "ProductInstall", setup.sourceRoot,
                                         SP_COPY_NEWER))
        copied = SetupCommitFileQueueA(window, queue, setup_QueueCallback, &record) && record.copyFailures == 0 &&
                 setup_ProgramInPlace();
    // Registry entries that describe an installed program are written only when it was installed.
    int registered = copied && SetupInstallFromInfSectionA(window, setup.inf, "ProductInstall",
                                                           SPINST_INIFILES | SPINST_REGISTRY, nullptr, nullptr, 0,
                                                           nullptr, nullptr, nullptr, nullptr);
    SetupTermDefaultQueueCallback(record.defaultContext);
    SetupCloseFileQueue(queue);
    setup_CloseInf();
    if (!copied) return setup_StopInstall(setup_kNotCopied);
    if (!registered) return setup_StopInstall(nullptr);

    // The shell's Program Manager server may have started after the installer did: ask once more.
    if (!setup.progman) setup_OpenProgman();
    int group = setup_CreateProgramGroup();
    if (window) SetFocus(window);
    setup_WriteRunOnce();
    if (group) tb_AttentionBox(setup_kCompleted);
    return group;
}
