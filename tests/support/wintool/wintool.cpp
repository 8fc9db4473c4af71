// Looks at and drives the windows of a program under test from outside it (console program):
//   wintool count CLASS              prints how many top-level windows of CLASS exist
//   wintool windows                  prints every top-level window: class, process, visibility, title
//   wintool wait CLASS SECONDS       waits until a visible top-level window of CLASS exists
//   wintool info CLASS               prints title, rectangle, style and visibility of that window
//   wintool close CLASS              posts WM_CLOSE to it
//   wintool minimize CLASS           minimises it
//   wintool tap X Y                  a left click at the screen point whose press and release reach
//                                    the system together, in one SendInput (a touch screen's tap)
//   wintool box CAPTION SECONDS [CLASS]
//                                    waits for a message box with that caption, prints its text
//                                    (line breaks as \n), its owner's class and, given CLASS, how
//                                    many windows of CLASS exist while it is up; then presses OK
//                                    and waits (as long again at most) until the box is gone
//   wintool yes CAPTION SECONDS      the same for a question, answered with Yes
//   wintool run SECONDS COMMAND      runs the command line (one argument), waits for it and prints exit=CODE
//                                    (the whole code, which a Unix exit status would cut to 8 bits)
// Exit code 0 on success, 1 when the window was not found in time, 2 on bad arguments.
#include <windows.h>

#include "process_usage.h"
#include "steps.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

struct Search {
    const char* cls;
    const char* caption;
    bool visibleOnly;
    HWND found;
    int count;
};

BOOL CALLBACK visit(HWND hwnd, LPARAM lParam)
{
    Search* s = (Search*)lParam;
    char cls[256] = {}, text[256] = {};
    GetClassNameA(hwnd, cls, sizeof cls);
    if (lstrcmpiA(cls, s->cls) != 0) return TRUE;
    if (s->caption) {
        GetWindowTextA(hwnd, text, sizeof text);
        if (lstrcmpA(text, s->caption) != 0) return TRUE;
    }
    if (s->visibleOnly && !IsWindowVisible(hwnd)) return TRUE;
    if (!s->found) s->found = hwnd;
    ++s->count;
    return TRUE;
}

Search find(const char* cls, const char* caption, bool visibleOnly)
{
    Search s = {cls, caption, visibleOnly, nullptr, 0};
    EnumWindows(visit, (LPARAM)&s);
    return s;
}

HWND waitFor(const char* cls, const char* caption, double seconds)
{
    DWORD end = GetTickCount() + (DWORD)(seconds * 1000);
    for (;;) {
        Search s = find(cls, caption, true);
        if (s.found) return s.found;
        if ((LONG)(GetTickCount() - end) >= 0) return nullptr;
        Sleep(50);
    }
}

std::string escaped(const char* text)
{
    std::string out;
    for (const char* p = text; *p; ++p) {
        if (*p == '\n') out += "\\n";
        else if (*p != '\r') out += *p;
    }
    return out;
}

BOOL CALLBACK listButton(HWND child, LPARAM)
{
    char cls[64] = {}, text[256] = {};
    GetClassNameA(child, cls, sizeof cls);
    GetWindowTextA(child, text, sizeof text);
    if (lstrcmpiA(cls, "Static") == 0 && text[0] && IsWindowVisible(child)) {
        printf("text %s\n", escaped(text).c_str());
        return TRUE;
    }
    if (lstrcmpiA(cls, "Button") != 0 || !IsWindowVisible(child) || !IsWindowEnabled(child)) return TRUE;
    RECT r;
    GetWindowRect(child, &r);
    printf("button %ld,%ld %s\n", (r.left + r.right) / 2, (r.top + r.bottom) / 2, escaped(text).c_str());
    return TRUE;
}

BOOL CALLBACK listDialog(HWND hwnd, LPARAM)
{
    char cls[64] = {}, title[256] = {};
    GetClassNameA(hwnd, cls, sizeof cls);
    const bool dialog = lstrcmpA(cls, "#32770") == 0;
    if ((!dialog && lstrcmpA(cls, "#32768") != 0) || !IsWindowVisible(hwnd)) return TRUE;
    GetWindowTextA(hwnd, title, sizeof title);
    RECT r;
    GetWindowRect(hwnd, &r);
    printf("window %s %ld,%ld,%ld,%ld %s\n", cls, r.left, r.top, r.right, r.bottom, escaped(title).c_str());
    if (dialog) EnumChildWindows(hwnd, listButton, 0);
    return TRUE;
}

BOOL CALLBACK listWindow(HWND hwnd, LPARAM)
{
    char cls[64] = {}, title[256] = {};
    GetClassNameA(hwnd, cls, sizeof cls);
    GetWindowTextA(hwnd, title, sizeof title);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    printf("%s process=%lu visible=%d %s\n", cls, pid, IsWindowVisible(hwnd) != 0, escaped(title).c_str());
    return TRUE;
}

int run(int argc, char** argv)
{
    if (argc < 2) return 2;
    std::string cmd = argv[1];
    if (cmd == "dialogs") {
        EnumWindows(listDialog, 0);
        return 0;
    }
    if (cmd == "windows") {
        EnumWindows(listWindow, 0);
        return 0;
    }
    if (cmd == "gdicheck") return usage_SelfCheck() ? 0 : 1;
    if (argc < 3) return 2;
    if (cmd == "usage") {
        HWND hwnd = find(argv[2], nullptr, false).found;
        ProcessUsage u;
        if (!hwnd || !usage_Read(hwnd, &u)) return 1;
        printf("pid=%lu\ngdi=%d\ngdi_types=", u.pid, u.gdi.total);
        const char* sep = "";
        for (int t = 0; t < 32; ++t) {
            if (!u.gdi.byType[t]) continue;
            printf("%s%d:%d", sep, t, u.gdi.byType[t]);
            sep = ",";
        }
        printf("\ngui_gdi=%lu\ngui_user=%lu\ngui_error=%lu\n", u.guiGdi, u.guiUser, u.guiError);
        if (u.memoryKnown)
            printf("working_set=%llu\nprivate=%llu\n", (unsigned long long)u.workingSet,
                   (unsigned long long)u.privateBytes);
        return 0;
    }
    if (cmd == "count") {
        printf("%d\n", find(argv[2], nullptr, false).count);
        return 0;
    }
    if (cmd == "wait" && argc >= 4) return waitFor(argv[2], nullptr, atof(argv[3])) ? 0 : 1;
    if (cmd == "info") {
        HWND hwnd = find(argv[2], nullptr, false).found;
        if (!hwnd) return 1;
        char title[256] = {};
        GetWindowTextA(hwnd, title, sizeof title);
        RECT r;
        GetWindowRect(hwnd, &r);
        LONG style = GetWindowLongA(hwnd, GWL_STYLE);
        printf("title=%s\nrect=%ld,%ld,%ld,%ld\npopup=%d\ncaption=%d\nvisible=%d\niconic=%d\n", title, r.left, r.top,
               r.right, r.bottom, (style & WS_POPUP) != 0, (style & WS_CAPTION) == WS_CAPTION,
               IsWindowVisible(hwnd) != 0, IsIconic(hwnd) != 0);
        return 0;
    }
    if (cmd == "close") {
        HWND hwnd = find(argv[2], nullptr, false).found;
        if (!hwnd) return 1;
        PostMessageA(hwnd, WM_CLOSE, 0, 0);
        return 0;
    }
    if (cmd == "minimize") {
        HWND hwnd = find(argv[2], nullptr, false).found;
        if (!hwnd) return 1;
        ShowWindow(hwnd, SW_MINIMIZE);
        return 0;
    }
    if (cmd == "run" && argc >= 4) {
        // The command line as one argument (quotes inside it are the command's own).
        std::string command = argv[3];
        for (int i = 4; i < argc; ++i) command += std::string(" ") + argv[i];
        STARTUPINFOA si = {};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi;
        if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
            printf("exit=none (error %lu)\n", GetLastError());
            return 1;
        }
        DWORD code = 0;
        if (WaitForSingleObject(pi.hProcess, (DWORD)(atof(argv[2]) * 1000)) != WAIT_OBJECT_0) {
            printf("exit=timeout\n");
            return 1;
        }
        GetExitCodeProcess(pi.hProcess, &code);
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
        printf("exit=%lu\n", code);
        return 0;
    }
    if (cmd == "tap" && argc >= 4) {
        if (!SetCursorPos(atoi(argv[2]), atoi(argv[3]))) return 1;
        INPUT clicks[2] = {};
        clicks[0].type = clicks[1].type = INPUT_MOUSE;
        clicks[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
        clicks[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
        return SendInput(2, clicks, sizeof clicks[0]) == 2 ? 0 : 1;
    }
    if ((cmd == "box" || cmd == "yes") && argc >= 4) {
        HWND box = waitFor("#32770", argv[2], atof(argv[3]));
        if (!box) return 1;
        Sleep(200);  // let the box finish its initialisation
        char text[2048] = {}, owner[256] = "none";
        GetWindowTextA(GetDlgItem(box, 0xFFFF), text, sizeof text);
        HWND ownerHwnd = GetWindow(box, GW_OWNER);
        if (ownerHwnd) GetClassNameA(ownerHwnd, owner, sizeof owner);
        printf("text=%s\nowner=%s\n", escaped(text).c_str(), owner);
        if (argc >= 5) printf("windows=%d\n", find(argv[4], nullptr, false).count);
        fflush(stdout);
        int button = cmd == "yes" ? IDYES : IDOK;
        PostMessageA(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), (LPARAM)GetDlgItem(box, button));
        // Answered once the box is gone: a dialog counted next is not this box any more.
        DWORD end = GetTickCount() + (DWORD)(atof(argv[3]) * 1000);
        while (IsWindow(box)) {
            if ((LONG)(GetTickCount() - end) >= 0) return 1;
            Sleep(20);
        }
        return 0;
    }
    return 2;
}

}  // namespace

// The steps file (when the checks' helper names one) tells an answer of wintool's own, such as a
// window not found, from a process that Wine ended before or while it ran.
int main(int argc, char** argv)
{
    steps_Record("main entered:", argc > 1 ? argv[1] : "");
    int code = run(argc, argv);
    steps_Record("ended, code", std::to_string(code).c_str());
    return code;
}
