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
};

// The Setup API's default queue callback, or a stand-in with the same signature.
typedef UINT (CALLBACK* SetupQueueHandler)(PVOID context, UINT notification, UINT_PTR param1, UINT_PTR param2);

// What the queue callback saw while the queue was committed.
struct SetupCopyRecord {
    PVOID defaultContext;  // the context of the default queue callback
    int copyFailures;      // files that were skipped after a copy error or a missing source
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

    // Platform seams, set at start-up to the real services. Tests point them elsewhere.
    HKEY registryRoot;                            // HKEY_LOCAL_MACHINE
    UINT (*startProgram)(const char* command, UINT show);  // WinExec
    SetupQueueHandler defaultQueueCallback;       // SetupDefaultQueueCallbackA
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
// Shows sentence followed by the maker's contact lines in an "Attention!" box.
void setup_ErrorWithContact(const char* sentence);

// ---------------------------------------------------------------- INF (setup_inf.cpp)
// Reads "setup.inf" beside the running program (defaults first); 0 after the message when it
// cannot be opened. Opens the Program Manager conversation on success.
int setup_ReadInf(void);
// The same from a given INF path and source root (the folder setup.inf lies in).
int setup_ReadInfFrom(const char* infPath, const char* sourceRoot);
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
// group and leaves the run-once entries; 1 when everything was installed.
int setup_Install(void);

// ---------------------------------------------------------------- wizard (setup_wizard.cpp)
// The splash, the agreement and destination pages with their abort question, then the install.
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
// The group with its two items; 1 when created, else 0 after the message.
int setup_CreateProgramGroup(void);

// ---------------------------------------------------------------- registry (setup_registry.cpp)
// "DestinationPath" under "Software\Marrowby\Tintwell\UserInfo\"; 1 when written.
int setup_RecordDestination(void);
// "Wrapper" (only with a sub-key "Setup") and "GrpConv" under RunOnce, then "runonce -r";
// 1 when the key could be opened.
int setup_WriteRunOnce(void);
