#include "boxes.h"

#include <deque>

namespace {

const UINT kInspect = WM_APP + 0x3A0;  // posted to a dialog on activation, handled once it runs its loop

struct State {
    HHOOK cbt = nullptr;
    HHOOK getMessage = nullptr;
    int defaultButton = IDOK;
    std::deque<int> queued;
    std::vector<SeenBox> seen;
    std::function<bool(HWND)> dialogHandler;
};

thread_local State* g_state = nullptr;

std::string windowText(HWND hwnd)
{
    char buffer[2048] = {};
    if (hwnd) GetWindowTextA(hwnd, buffer, sizeof buffer);
    return buffer;
}

bool isDialogClass(HWND hwnd)
{
    char cls[64] = {};
    GetClassNameA(hwnd, cls, sizeof cls);
    return lstrcmpA(cls, "#32770") == 0;
}

bool visibleItem(HWND dialog, int id)
{
    HWND item = GetDlgItem(dialog, id);
    return item && IsWindowVisible(item);
}

// Message boxes carry their text in the static control 0xFFFF.
bool isMessageBox(HWND dialog)
{
    HWND text = GetDlgItem(dialog, 0xFFFF);
    char cls[32] = {};
    if (text) GetClassNameA(text, cls, sizeof cls);
    return text && lstrcmpiA(cls, "Static") == 0;
}

void inspectAndAnswer(State* s, HWND hwnd)
{
    if (!IsWindow(hwnd)) return;
    if (!isMessageBox(hwnd) && s->dialogHandler && s->dialogHandler(hwnd)) return;
    SeenBox box{};
    box.caption = windowText(hwnd);
    box.text = isMessageBox(hwnd) ? windowText(GetDlgItem(hwnd, 0xFFFF)) : std::string();
    box.owner = GetWindow(hwnd, GW_OWNER);
    box.topmost = (GetWindowLongA(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    box.hasOk = visibleItem(hwnd, IDOK);
    box.hasCancel = visibleItem(hwnd, IDCANCEL);
    box.hasYes = visibleItem(hwnd, IDYES);
    box.hasNo = visibleItem(hwnd, IDNO);
    box.hasIcon = false;
    for (HWND c = GetWindow(hwnd, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        if (IsWindowVisible(c) && (GetWindowLongA(c, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) box.hasIcon = true;
    int button = s->defaultButton;
    if (!s->queued.empty()) {
        button = s->queued.front();
        s->queued.pop_front();
    }
    box.answered = button;
    s->seen.push_back(box);
    PostMessageA(hwnd, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), (LPARAM)GetDlgItem(hwnd, button));
}

LRESULT CALLBACK cbtHook(int code, WPARAM wParam, LPARAM lParam)
{
    State* s = g_state;
    if (s && code == HCBT_ACTIVATE) {
        HWND hwnd = (HWND)wParam;
        if (isDialogClass(hwnd) && !GetPropA(hwnd, "BoxScriptSeen")) {
            SetPropA(hwnd, "BoxScriptSeen", (HANDLE)1);
            PostMessageA(hwnd, kInspect, 0, 0);
        }
    }
    return CallNextHookEx(s ? s->cbt : nullptr, code, wParam, lParam);
}

LRESULT CALLBACK getMessageHook(int code, WPARAM wParam, LPARAM lParam)
{
    State* s = g_state;
    MSG* msg = (MSG*)lParam;
    if (s && code == HC_ACTION && wParam == PM_REMOVE && msg->message == kInspect) {
        HWND hwnd = msg->hwnd;
        msg->message = WM_NULL;
        inspectAndAnswer(s, hwnd);
    }
    return CallNextHookEx(s ? s->getMessage : nullptr, code, wParam, lParam);
}

}  // namespace

BoxScript::BoxScript(int defaultButton)
{
    g_state = new State;
    g_state->defaultButton = defaultButton;
    g_state->cbt = SetWindowsHookExA(WH_CBT, cbtHook, nullptr, GetCurrentThreadId());
    g_state->getMessage = SetWindowsHookExA(WH_GETMESSAGE, getMessageHook, nullptr, GetCurrentThreadId());
}

BoxScript::~BoxScript()
{
    if (g_state->cbt) UnhookWindowsHookEx(g_state->cbt);
    if (g_state->getMessage) UnhookWindowsHookEx(g_state->getMessage);
    delete g_state;
    g_state = nullptr;
}

void BoxScript::queue(int button) { g_state->queued.push_back(button); }

void BoxScript::onDialog(std::function<bool(HWND)> handler) { g_state->dialogHandler = std::move(handler); }

const std::vector<SeenBox>& BoxScript::seen() const { return g_state->seen; }

std::string BoxScript::lastText() const { return g_state->seen.empty() ? std::string() : g_state->seen.back().text; }
