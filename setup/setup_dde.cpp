// The conversation with Program Manager (or the shell standing in for it) through DDE window
// messages on the installer's main window: initiate, execute with a wait for each answer,
// terminate. The waits remove only the answers they wait for and dispatch nothing else.
#include "setup/setup.h"

#include <cstdio>
#include <cstring>

#include "toolbox.h"

static HWND setup_ClientWindow(void) { return tb_GetWindowHandle(setup.mainWindow); }

// Set while the initiate is being sent: only then are acknowledgements answers to it.
static int s_initiating;

int setup_OpenProgman(void)
{
    if (setup.progman) return 1;
    HWND client = setup_ClientWindow();
    if (!client) return 0;
    ATOM application = GlobalAddAtomA("PROGMAN");
    ATOM topic = GlobalAddAtomA("PROGMAN");
    s_initiating = 1;
    // A window that does not answer (a hung program) is given up on instead of holding Setup.
    DWORD_PTR result;
    SendMessageTimeoutA(HWND_BROADCAST, WM_DDE_INITIATE, (WPARAM)client, MAKELPARAM(application, topic),
                        SMTO_ABORTIFHUNG, SETUP_DDE_INITIATE_MS, &result);
    s_initiating = 0;
    GlobalDeleteAtom(application);
    GlobalDeleteAtom(topic);
    return setup.progman != nullptr;
}

int setup_HandleDdeMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    HWND sender = (HWND)wParam;
    if (message == WM_DDE_ACK) {
        if (!s_initiating) {
            // A late answer to a command that timed out: nothing waits for it any more.
            FreeDDElParam(WM_DDE_ACK, lParam);
            return 1;
        }
        GlobalDeleteAtom(LOWORD(lParam));
        GlobalDeleteAtom(HIWORD(lParam));
        // The first server to answer is the one; any other is let go at once.
        if (!setup.progman) setup.progman = sender;
        else if (sender != setup.progman) PostMessageA(sender, WM_DDE_TERMINATE, (WPARAM)window, 0);
        return 1;
    }
    if (message == WM_DDE_TERMINATE) {
        if (sender && sender == setup.progman) {
            PostMessageA(sender, WM_DDE_TERMINATE, (WPARAM)window, 0);
            setup.progman = nullptr;
        }
        return 1;
    }
    return 0;
}

int setup_ExecuteProgman(const char* command)
{
    HWND client = setup_ClientWindow();
    if (!setup.progman || !client) return 0;
    size_t length = strlen(command);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, length + 1);
    if (!memory) return 0;
    char* text = (char*)GlobalLock(memory);
    if (!text) {
        GlobalFree(memory);
        return 0;
    }
    memcpy(text, command, length + 1);
    GlobalUnlock(memory);
    if (!PostMessageA(setup.progman, WM_DDE_EXECUTE, (WPARAM)client, (LPARAM)memory)) {
        GlobalFree(memory);
        return 0;
    }
    int accepted = 0, answered = 0;
    DWORD start = setup.clock();
    while (!answered && setup.clock() - start < SETUP_DDE_WAIT_MS) {
        MSG msg;
        if (!PeekMessageA(&msg, client, WM_DDE_ACK, WM_DDE_ACK, PM_REMOVE)) {
            Sleep(1);
            continue;
        }
        UINT_PTR status = 0, handle = 0;
        UnpackDDElParam(WM_DDE_ACK, msg.lParam, &status, &handle);
        FreeDDElParam(WM_DDE_ACK, msg.lParam);
        if ((HWND)msg.wParam != setup.progman) continue;
        answered = 1;
        accepted = (status & 0x8000) != 0;
    }
    // The command memory is freed once, after the answer or the time-out.
    GlobalFree(memory);
    return accepted;
}

void setup_TerminateProgman(void)
{
    HWND client = setup_ClientWindow();
    if (!setup.progman || !client) {
        setup.progman = nullptr;
        return;
    }
    PostMessageA(setup.progman, WM_DDE_TERMINATE, (WPARAM)client, 0);
    DWORD start = setup.clock();
    while (setup.progman && setup.clock() - start < SETUP_DDE_WAIT_MS) {
        MSG msg;
        if (!PeekMessageA(&msg, client, WM_DDE_TERMINATE, WM_DDE_TERMINATE, PM_REMOVE)) {
            Sleep(1);
            continue;
        }
        if ((HWND)msg.wParam == setup.progman) setup.progman = nullptr;
    }
    setup.progman = nullptr;
}

int setup_CreateProgramGroup(void)
{
    int created = 0;
    if (setup.progman) {
        char program[2 * SETUP_TEXT], help[2 * SETUP_TEXT], command[6 * SETUP_TEXT];
        snprintf(program, sizeof program, "%s%s", setup.destination, setup.programExe);
        snprintf(help, sizeof help, "%s%s", setup.destination, setup.programHelp);
        snprintf(command, sizeof command, "[CreateGroup(\"%s\", v1.0)]", setup.programGroup);
        if (setup_ExecuteProgman(command)) {
            snprintf(command, sizeof command, "[AddItem(\"%s\",\"%s\")]", program, setup.programGroup);
            if (setup_ExecuteProgman(command)) {
                snprintf(command, sizeof command, "[AddItem(\"%s\",\"%s\")]", help, "Help");
                created = setup_ExecuteProgman(command);
            }
        }
        setup_TerminateProgman();
    }
    if (created) setup_Log("Program group \"%s\" created through Program Manager", setup.programGroup);
    // Without Program Manager, or where it refused, the same group as the shell's own links.
    if (!created) created = setup_CreateGroupLinks();
    if (!created) setup_ErrorWithContact(setup_kNoGroup);
    return created;
}
