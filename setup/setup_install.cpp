// The install proper: the destination in the registry, the file copy through the Setup API,
// the INF's INI and registry operations, the program group and the run-once entries.
#include "setup/setup.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "toolbox.h"

int setup_ExitCode = SETUP_EXIT_DONE;

namespace {

// The system's sentence for an error code, on one line.
std::string ErrorText(DWORD error)
{
    char text[512] = {};
    if (!FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0, text,
                        sizeof text, nullptr))
        snprintf(text, sizeof text, "error %lu", (unsigned long)error);
    std::string line = text;
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r' || line.back() == ' ')) line.pop_back();
    return line;
}

const char* TargetOf(UINT_PTR param1)
{
    const FILEPATHS_A* paths = (const FILEPATHS_A*)param1;
    return paths && paths->Target ? paths->Target : "a file";
}

DWORD ErrorOf(UINT_PTR param1)
{
    const FILEPATHS_A* paths = (const FILEPATHS_A*)param1;
    return paths ? paths->Win32Error : 0;
}

// Quiet Setup answers every notification that would bring up a prompt itself; the sentence goes
// to the log and the file counts as not copied. Returns 1 with the answer when it answered.
int AnswerQuietly(SetupCopyRecord* record, UINT notification, UINT_PTR param1, UINT* answer)
{
    switch (notification) {
    case SPFILENOTIFY_COPYERROR:
        setup_Log("Setup could not copy %s: %s", TargetOf(param1), ErrorText(ErrorOf(param1)).c_str());
        break;
    case SPFILENOTIFY_RENAMEERROR:
        setup_Log("Setup could not rename %s: %s", TargetOf(param1), ErrorText(ErrorOf(param1)).c_str());
        break;
    case SPFILENOTIFY_NEEDMEDIA: {
        // The Setup API asks for the source of every file; only a missing one would bring a prompt.
        const SOURCE_MEDIA_A* media = (const SOURCE_MEDIA_A*)param1;
        char source[2 * MAX_PATH] = "";
        if (media && media->SourcePath && media->SourceFile)
            snprintf(source, sizeof source, "%s\\%s", media->SourcePath, media->SourceFile);
        if (source[0] && GetFileAttributesA(source) != INVALID_FILE_ATTRIBUTES) return 0;
        setup_Log("Setup cannot find %s", source[0] ? source : "a file");
        break;
    }
    case SPFILENOTIFY_TARGETNEWER:
        setup_Log("A newer %s is installed; Setup keeps it", TargetOf(param1));
        ++record->copyFailures;
        *answer = FALSE;  // not copied
        return 1;
    default:
        return 0;
    }
    ++record->copyFailures;
    *answer = FILEOP_SKIP;
    return 1;
}

}  // namespace

UINT CALLBACK setup_QueueCallback(PVOID context, UINT notification, UINT_PTR param1, UINT_PTR param2)
{
    SetupCopyRecord* record = (SetupCopyRecord*)context;
    // A file that cannot be deleted is skipped without asking; one already gone is what the
    // delete wanted, any other counts against an uninstall.
    if (notification == SPFILENOTIFY_DELETEERROR) {
        DWORD error = ErrorOf(param1);
        if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND) {
            ++record->deleteFailures;
            setup_Log("Setup could not delete %s: %s", TargetOf(param1), ErrorText(error).c_str());
        }
        return FILEOP_SKIP;
    }
    // The user agreed to go back to an older version.
    if (notification == SPFILENOTIFY_TARGETNEWER && setup.replaceNewer) return TRUE;
    UINT quietAnswer;
    if (setup.quiet && AnswerQuietly(record, notification, param1, &quietAnswer)) return quietAnswer;
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
    return setup_IsFolder(path);
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

int setup_IsFolder(const char* path)
{
    DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

static bool setup_Inside(const std::string& path, const std::string& folder)
{
    return path.size() >= folder.size() && CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, path.c_str(),
                                                          (int)folder.size(), folder.c_str(), (int)folder.size()) == CSTR_EQUAL;
}

// The folders this install makes, found before the copy: those above the destination that do not
// exist yet, and the destination with every folder the INF copies into inside it (when they do
// not exist yet, or an earlier install of ours made them). Each ends in a backslash.
static std::vector<std::string> setup_FoldersToMake(void)
{
    std::vector<std::string> made;
    std::string destination = setup.destination;
    // Above the destination, up to the root of its drive or share.
    size_t root = 3;
    if (destination[0] == '\\') {
        size_t share = destination.find('\\', 2);
        root = share == std::string::npos ? destination.size() : destination.find('\\', share + 1) + 1;
    }
    size_t start = destination.rfind('\\', destination.size() - 2);
    std::vector<std::string> above;
    for (size_t end = start; end != std::string::npos && end + 1 > root; end = destination.rfind('\\', end - 1)) {
        std::string folder = destination.substr(0, end + 1);
        if (setup_IsFolder(folder.c_str())) break;
        above.insert(above.begin(), folder);
    }
    made.insert(made.end(), above.begin(), above.end());
    std::vector<std::string> inside = {destination};
    INFCONTEXT line;
    for (BOOL more = SetupFindFirstLineA(setup.inf, "DestinationDirs", nullptr, &line); more;
         more = SetupFindNextLine(&line, &line)) {
        char section[SETUP_TEXT], target[MAX_PATH];
        if (!SetupGetStringFieldA(&line, 0, section, sizeof section, nullptr) ||
            !SetupGetTargetPathA(setup.inf, nullptr, section, target, sizeof target, nullptr))
            continue;
        std::string folder = target;
        if (folder.empty() || folder.back() != '\\') folder += '\\';
        if (!setup_Inside(folder, destination) || folder.size() == destination.size()) continue;
        // The folders between the destination and the target, the target last.
        for (size_t end = folder.find('\\', destination.size()); end != std::string::npos;
             end = folder.find('\\', end + 1))
            inside.push_back(folder.substr(0, end + 1));
    }
    for (const std::string& folder : inside)
        if (setup.upgrading || !setup_IsFolder(folder.c_str())) made.push_back(folder);
    return made;
}

// "CreatedFolders": this install's folders with those an earlier install recorded, parents first.
static void setup_RecordFolders(const std::vector<std::string>& made)
{
    std::vector<std::string> all;
    char earlier[8192];
    if (setup_ReadCreatedFolders(earlier, sizeof earlier))
        for (const char* p = earlier; *p; p += strlen(p) + 1) all.push_back(p);
    for (const std::string& folder : made) {
        bool known = false;
        for (const std::string& other : all) known = known || lstrcmpiA(other.c_str(), folder.c_str()) == 0;
        if (!known) all.push_back(folder);
    }
    std::stable_sort(all.begin(), all.end(), [](const std::string& a, const std::string& b) { return a.size() < b.size(); });
    std::string list;
    for (const std::string& folder : all) list += folder + '\0';
    list += '\0';
    setup_WriteCreatedFolders(list.data(), list.size());
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
    setup_ExitCode = SETUP_EXIT_FAILED;
    // Quiet Setup puts up nothing: no owner for prompts, no progress window.
    HWND window = setup.quiet ? nullptr : tb_GetWindowHandle(setup.mainWindow);
    // Names are appended to the folder from here on; one that is not absolute would put the
    // files beside Setup and the entry and the group would point nowhere.
    if (!setup_NormaliseFolder(setup.destination, sizeof setup.destination))
        return setup_StopInstall(setup_kNoDestination);
    int refused = setup_CheckEarlierInstall();
    if (refused) {
        setup_StopInstall(nullptr);
        setup_ExitCode = refused;
        return 0;
    }
    setup_Log("Destination: %s", setup.destination);
    setup_RecordDestination();

    if (!setup_SetDirectoryIds()) return setup_StopInstall(setup_kNoDestination);
    HSPFILEQ queue = SetupOpenFileQueue();
    if (!queue || queue == INVALID_HANDLE_VALUE) return setup_StopInstall(setup_kNoQueue);
    SetupCopyRecord record = {};
    record.defaultContext =
        SetupInitDefaultQueueCallbackEx(window, setup.quiet ? (HWND)INVALID_HANDLE_VALUE : nullptr, 0, 0, nullptr);
    if (!record.defaultContext) {
        SetupCloseFileQueue(queue);
        return setup_StopInstall(setup_kNoQueueCallback);
    }

    // An INF without the install section would copy nothing and still look installed.
    int copied = 0;
    std::vector<std::string> made = setup_FoldersToMake();
    if (SetupGetLineCountA(setup.inf, "ProductInstall") >= 0 && setup_MakeDestination() &&
        SetupInstallFilesFromInfSectionA(setup.inf, nullptr, queue, "ProductInstall", setup.sourceRoot,
                                         SP_COPY_NEWER)) {
        setup_Log("Copying the files");
        copied = SetupCommitFileQueueA(window, queue, setup_QueueCallback, &record) && record.copyFailures == 0 &&
                 setup_ProgramInPlace();
    }
    // The folders are recorded even after a failed copy: the uninstall removes them when empty.
    for (std::string& folder : made)
        if (!setup_IsFolder(folder.c_str())) folder.clear();
    made.erase(std::remove(made.begin(), made.end(), std::string()), made.end());
    setup_RecordFolders(made);
    // Registry entries that describe an installed program are written only when it was installed.
    int registered = copied && setup.installSection(window, setup.inf, "ProductInstall",
                                                     SPINST_INIFILES | SPINST_REGISTRY, nullptr, nullptr, 0,
                                                     nullptr, nullptr, nullptr, nullptr);
    SetupTermDefaultQueueCallback(record.defaultContext);
    SetupCloseFileQueue(queue);
    setup_CloseInf();
    if (!copied) return setup_StopInstall(setup_kNotCopied);
    if (!registered) return setup_StopInstall(setup_kNotRegistered);
    setup_Log("Files copied and registry entries written");

    // The shell's Program Manager server may have started after the installer did: ask once more.
    if (!setup.progman) setup_OpenProgman();
    int group = setup_CreateProgramGroup();
    if (window) SetFocus(window);
    setup_WriteRunOnce();
    setup_ExitCode = SETUP_EXIT_DONE;
    char kept[SETUP_TEXT + 128] = "";
    if (setup.keptGallery[0]) snprintf(kept, sizeof kept, setup_kKeptGallery, setup.keptGallery);
    if (group) {
        char text[sizeof kept + 64];
        snprintf(text, sizeof text, "%s%s%s", setup_kCompleted, kept[0] ? "\n\n" : "", kept);
        setup_Tell(text);
    } else if (kept[0]) {
        setup_Tell(kept);
    }
    return 1;
}
