// The install proper: the destination in the registry, the file copy through the Setup API,
// the INF's INI and registry operations, the program group and the run-once entries.
#include "setup/setup.h"

#include "toolbox.h"

UINT CALLBACK setup_QueueCallback(PVOID context, UINT notification, UINT_PTR param1, UINT_PTR param2)
{
    SetupCopyRecord* record = (SetupCopyRecord*)context;
    // A file that cannot be deleted is of no consequence to the install: go on without asking.
    if (notification == SPFILENOTIFY_DELETEERROR) return FILEOP_SKIP;
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

    int copied = 0;
    if (SetupInstallFilesFromInfSectionA(setup.inf, nullptr, queue, "ProductInstall", setup.sourceRoot,
                                         SP_COPY_NEWER))
        copied = SetupCommitFileQueueA(window, queue, setup_QueueCallback, &record) && record.copyFailures == 0;
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
