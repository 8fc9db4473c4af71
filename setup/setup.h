// The installer: start-up, its window and the message loop, the wizard, the Setup API install,
// the Program Manager conversation, the registry and the run-once entries.
#pragma once

#include <windows.h>
#include <dde.h>
#include <setupapi.h>

enum {
    SETUP_TEXT = 260,              // every INF value and folder is read into a buffer of this size
    SETUP_DIRID_DESTINATION = 65600,
    SETUP_DIRID_SUBFOLDER = 65601,
    SETUP_DDE_WAIT_MS = 10000,     // how long an execute or terminate waits for Program Manager
    SETUP_DDE_INITIATE_MS = 2000,  // how long the initiate waits for any one top-level window
};

// What Setup and the uninstaller end with (the Windows Installer's codes, so that deployment
// tools read them as they read a package's).
enum {
    SETUP_EXIT_DONE = 0,
    SETUP_EXIT_BAD_SWITCH = 87,    // a switch, /dir or /log that cannot be used
    SETUP_EXIT_CANCELLED = 1602,   // "Exit" on the abort question, or No to a question
    SETUP_EXIT_FAILED = 1603,      // anything else that went wrong, and a running Tintwell
    SETUP_EXIT_BUSY = 1618,        // another Setup or uninstall is running
};

// The command line, read by setup_ParseSwitches.
struct SetupSwitches {
    int quiet;                 // /quiet: no window, no box, no question
    int uninstall;             // /uninstall
    int help;                  // /?
    char dir[SETUP_TEXT];      // /dir=, normalised; "" when not given
    char log[MAX_PATH];        // /log=, as given; "" when not given
    char bad[SETUP_TEXT];      // the argument that could not be used, for the message
};

// The Setup API's default queue callback, or a stand-in with the same signature.
typedef UINT (CALLBACK* SetupQueueHandler)(PVOID context, UINT notification, UINT_PTR param1, UINT_PTR param2);

// What the queue callback saw while the queue was committed.
struct SetupCopyRecord {
    PVOID defaultContext;  // the context of the default queue callback
    int copyFailures;      // files that were skipped after a copy error or a missing source
    int deleteFailures;    // files that exist and could not be deleted
    char lastMedia[2 * MAX_PATH];  // the source last asked for ("path|file") and how often in a row
    int mediaRequests;
};

// The installer's own state; one instance.
struct SetupState {
    int mainWindow;        // toolbox window index of the "Setup" window; -1 until it exists
    HACCEL accelerators;   // the accelerator table "Setup" (nullptr when the program carries none)
    // The install wizard, run once the queue is first empty; its return ends the program.
    int (*wizard)(void);

    // Filled from "setup.inf" (defaults first).
    char productDescription[SETUP_TEXT];
    char destination[SETUP_TEXT];
    char programGroup[SETUP_TEXT];
    char programExe[SETUP_TEXT];
    char programHelp[SETUP_TEXT];
    char destinationSub[SETUP_TEXT];
    char sourceRoot[SETUP_TEXT];   // the installer's own folder, with its final backslash
    HINF inf;                      // the opened "setup.inf", or INVALID_HANDLE_VALUE
    int infRead;                   // set once the INF has been read: the window then paints its bands

    // The server window of the open Program Manager conversation, or nullptr.
    HWND progman;

    int quiet;                     // no window, no box, no question: everything goes to the log
    int uninstalling;              // the program runs as the uninstaller
    char version[32];              // this Setup's version, "1.0.<n>", from its version resource
    int replaceNewer;              // the user agreed to replace a newer installed version
    int upgrading;                 // an earlier install of ours is in the destination folder
    char keptGallery[SETUP_TEXT];  // the Gallery an earlier install in another folder left behind
    HANDLE log;                    // the /log file, or INVALID_HANDLE_VALUE

    // Platform seams, set at start-up to the real services. Tests point them elsewhere.
    HKEY registryRoot;                            // HKEY_LOCAL_MACHINE
    UINT (*startProgram)(const char* command, UINT show);  // WinExec
    SetupQueueHandler defaultQueueCallback;       // SetupDefaultQueueCallbackA
    // The INF's INI and registry pass (SetupInstallFromInfSectionA).
    BOOL(WINAPI* installSection)(HWND, HINF, PCSTR, UINT, HKEY, PCSTR, UINT, PSP_FILE_CALLBACK_A, PVOID, HDEVINFO,
                                 PSP_DEVINFO_DATA);
    // The user's (common = 0) or every user's (common = 1) Programs folder of the Start menu,
    // without a final backslash; 0 when there is none.
    int (*programsFolder)(int common, char* path);
    DWORD(WINAPI* clock)(void);                   // GetTickCount: what the Program Manager waits count by
};

extern SetupState setup;

// Puts every field of the state back to its start-up value (INF closed, no conversation).
void setup_ResetState(void);

// ---------------------------------------------------------------- start-up and window (setup.cpp)
// A window of class "Setup" already open is restored and brought forward: returns 1, else 0.
int setup_ActivateRunningInstance(void);
// Registers the class "Setup" (icon 108, no cursor, navy background); 0 on failure.
int setup_RegisterClass(HINSTANCE instance);
// Opens the overlapped "Setup" window over the desktop rectangle; returns and keeps its index.
int setup_OpenMainWindow(void);
// Lets the Program Manager's answers through to the main window when the installer runs elevated
// and the shell does not (where the platform has a per-window message filter).
void setup_AllowDdeAnswers(HWND window);
// Dispatches every waiting message, then runs the wizard; returns the program's exit code.
int setup_MessageLoop(void);
// The main window's picture: 30 bands from black at the bottom to blue at the top, and the
// shadowed product description.
void setup_PaintMainWindow(void);

LRESULT CALLBACK setup_WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

int setup_Main(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int showCommand);
// The version in the program's own version resource ("1.0.<n>"), or "" when it has none.
void setup_ReadOwnVersion(char* version, size_t size);

// ---------------------------------------------------------------- switches (setup_switches.cpp)
// Reads the command line after the program's name: /quiet, /dir="X:\folder", /log="file",
// /uninstall and /? (or -quiet ...), case-insensitive. A value runs from '=' to the end of the
// argument, or from a quote to the next quote; backslashes never escape. Returns 0, or
// SETUP_EXIT_BAD_SWITCH with the argument in switches->bad.
int setup_ParseSwitches(const char* commandLine, SetupSwitches* switches);
// The text of the box /? shows.
extern const char setup_kUsage[];

// ---------------------------------------------------------------- log and messages (setup_log.cpp)
// Creates or replaces the log file (relative to the current folder); 0 when it cannot.
int setup_OpenLog(const char* path);
void setup_CloseLog(void);
// One line of the log (printf-style; line breaks inside become spaces); nothing without a log.
void setup_Log(const char* format, ...);
// A message for the user: into the log, and into an "Attention!" box unless Setup is quiet.
void setup_Tell(const char* text);
// A question for the user (Yes/No); quiet Setup asks nothing and takes the answer given.
int setup_Ask(const char* text, int quietAnswer);

// ---------------------------------------------------------------- texts (setup_text.cpp)
extern const char setup_kAgreement[];
extern const char setup_kContactLines[];
extern const char setup_kCantRun[];
extern const char setup_kMissingFiles[];
extern const char setup_kNoDestination[];
extern const char setup_kNoQueue[];
extern const char setup_kNoQueueCallback[];
extern const char setup_kNotCopied[];
extern const char setup_kNoGroup[];
extern const char setup_kCompleted[];
extern const char setup_kNotRegistered[];
extern const char setup_kByPackage[];
extern const char setup_kTintwellRunning[];
extern const char setup_kBusy[];
extern const char setup_kNewerInstalled[];
extern const char setup_kKeptGallery[];
extern const char setup_kNotInstalled[];
extern const char setup_kRemoveQuestion[];
extern const char setup_kRemoved[];
extern const char setup_kNotRemoved[];
extern const char setup_kEarlierNotRemoved[];
extern const char setup_kBadSwitch[];
extern const char setup_kNoLog[];
// Shows sentence followed by the maker's contact lines in an "Attention!" box (the sentence
// alone goes to the log; quiet Setup shows nothing).
void setup_ErrorWithContact(const char* sentence);

// ---------------------------------------------------------------- INF (setup_inf.cpp)
// Reads "setup.inf" beside the running program (defaults first); 0 after the message when it
// cannot be opened. Opens the Program Manager conversation on success.
int setup_ReadInf(void);
// The same beside the program at programPath: a path too long to name the INF beside it counts
// as a missing INF.
int setup_ReadInfBeside(const char* programPath);
// The same from a given INF path and source root (the folder setup.inf lies in).
int setup_ReadInfFrom(const char* infPath, const char* sourceRoot);
// Turns every '/' into a backslash and gives the folder its final backslash; 1 when it is then
// absolute ("X:\..." or "\\server\share\..."), 0 when it names no place to install to.
int setup_NormaliseFolder(char* folder, size_t size);
// Closes the INF if it is open.
void setup_CloseInf(void);
// Gives folder a final backslash when it lacks one and there is room (size = buffer size).
void setup_EndWithBackslash(char* folder, size_t size);
// Sets directory ids 65600 (destination) and 65601 (destination + sub-folder) on the INF; 0 on failure.
int setup_SetDirectoryIds(void);

// ---------------------------------------------------------------- install (setup_install.cpp)
// The queue callback: skips delete errors without asking, counts skipped copies, hands every
// other notification to the default callback.
UINT CALLBACK setup_QueueCallback(PVOID context, UINT notification, UINT_PTR param1, UINT_PTR param2);
// Records the destination, copies the files, runs the INI and registry pass, creates the program
// group and leaves the run-once entries; 1 when the program was installed (also when only the
// group could not be made). Earlier installs are dealt with first (setup_CheckEarlierInstall).
// The exit code is left in setup_ExitCode.
int setup_Install(void);
extern int setup_ExitCode;
// 1 when path is a folder.
int setup_IsFolder(const char* path);

// ---------------------------------------------------------------- wizard (setup_wizard.cpp)
// The splash, the agreement and destination pages with their abort question, then the install;
// returns the exit code.
int setup_RunWizard(void);
// The abort question: 1 for "Resume", 0 for "Exit".
int setup_AskResume(void);

// ---------------------------------------------------------------- Program Manager (setup_dde.cpp)
// Broadcasts the initiate for "PROGMAN"/"PROGMAN" unless a conversation is open; 1 when a server answered.
int setup_OpenProgman(void);
// Sends one command and waits for its acknowledgement; 1 accepted, 0 refused, timed out or not connected.
int setup_ExecuteProgman(const char* command);
// Ends the conversation, waiting for the server's own terminate.
void setup_TerminateProgman(void);
// The main window's part of the conversation: acknowledgements of the initiate and a terminate
// the server starts itself. Returns 1 when the message was one of those.
int setup_HandleDdeMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// The group with its two items, through Program Manager or else as shell links in the common
// Programs folder; 1 when created, else 0 after the message.
int setup_CreateProgramGroup(void);

// ---------------------------------------------------------------- shell links (setup_links.cpp)
// The group folder with "<group>.lnk" (the program) and "Help.lnk" in the common Programs folder,
// made through the shell's link objects; 1 when both links were saved.
int setup_CreateGroupLinks(void);
// The group's folder in the user's and in the common Programs folder, removed when empty.
void setup_RemoveGroupFolders(const char* group);

// ---------------------------------------------------------------- earlier installs (setup_upgrade.cpp)
// Before an install: refuses over an install made by the Windows Installer package (looked for
// in both registry views) and over a newer version unless the user agrees; removes an earlier
// install in another folder (its Gallery stays); over an install in the same folder removes the
// old "setup.inf" and its installed-programs entry. Returns 0 to go on, else the exit code.
int setup_CheckEarlierInstall(void);
// An install made by the Windows Installer package (in either registry view) is the package's to
// upgrade or remove: says so and returns 1.
int setup_RefuseOverPackage(void);
// Compares "a.b.c" versions (missing parts are 0): <0, 0, >0.
int setup_CompareVersions(const char* a, const char* b);
// The install's "InstalledBy" ("setup" or "msi") in the 64-bit or the 32-bit registry view; ""
// when neither has one.
void setup_InstalledBy(char* by, size_t size);

// ---------------------------------------------------------------- uninstall (setup_uninstall.cpp)
// The uninstaller: the question, then the removal of the install recorded in the registry.
// Returns the exit code.
int setup_Uninstall(void);
// Removes the install in folder (with its final backslash): the removal section of the INF it
// left there (or of the INF Setup has open), the folders it created once they are empty, the
// Start-menu group folders, its registry keys and its installed-programs entry. The Gallery and
// everything else not installed stays. 1 when all it listed is gone.
int setup_RemoveInstall(const char* folder);
// The program itself, when it lies in folder: moved into the temporary folder and marked for
// deletion at the next restart. 1 when it was moved (or lies elsewhere).
int setup_MoveSelfAway(const char* folder);

// ---------------------------------------------------------------- registry (setup_registry.cpp)
// "DestinationPath" under "Software\Marrowby\Tintwell\UserInfo\"; 1 when written.
int setup_RecordDestination(void);
// "Wrapper" (only with a sub-key "Setup") and "GrpConv" under RunOnce, then "runonce -r" from
// the system folder; 1 when the key could be opened.
int setup_WriteRunOnce(void);
// The product key "Software\Marrowby\Tintwell", its "UserInfo" key and its installed-programs entry.
extern const char setup_kProductKey[];
extern const char setup_kUserInfoKey[];
extern const char setup_kEntryKey[];
// A string value under the registry root (view: 0, KEY_WOW64_64KEY or KEY_WOW64_32KEY); "" when missing.
void setup_ReadString(const char* key, const char* name, REGSAM view, char* value, size_t size);
// The folders an install created ("CreatedFolders" under the product key, one per string).
int setup_WriteCreatedFolders(const char* folders, size_t length);
// The same, read back: a list of zero-terminated strings ending in an empty one.
int setup_ReadCreatedFolders(char* folders, size_t size);
// Deletes the product key, "Software\Marrowby" once it is empty, and the installed-programs entry.
void setup_DeleteProductKeys(void);
