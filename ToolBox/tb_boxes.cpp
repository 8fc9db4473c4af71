// The standard message boxes through which the toolbox reports errors and asks questions. Every
// box is owned by the main window while it exists, so that the program's own window can take no
// click, key or command until the box is answered.
#include "tb_internal.h"

namespace {

HWND Owner(void) { return tb.mainWindow && IsWindow(tb.mainWindow) ? tb.mainWindow : nullptr; }

}  // namespace

void tb_ErrorBox(const char* text)
{
    MessageBoxA(Owner(), text, "Error...", MB_OK | MB_ICONEXCLAMATION | MB_SYSTEMMODAL);
}

void tb_AttentionBox(const char* text) { MessageBoxA(Owner(), text, "Attention!", MB_OK | MB_ICONINFORMATION); }

void tb_InfoBox(const char* text) { tb_InfoBox(text, Owner()); }

void tb_InfoBox(const char* text, HWND owner)
{
    MessageBoxA(owner && IsWindow(owner) ? owner : Owner(), text, "Information...", MB_OK | MB_ICONINFORMATION);
}

static int tb_MapAnswer(int answer)
{
    switch (answer) {
    case IDYES: return 1;
    case IDNO: return 0;
    default: return -1;
    }
}

int tb_AskYesNoCancel(const char* text)
{
    return tb_MapAnswer(MessageBoxA(Owner(), text, "Attention...", MB_YESNOCANCEL | MB_ICONQUESTION | MB_SYSTEMMODAL));
}

int tb_AskYesNo(const char* text)
{
    return tb_MapAnswer(MessageBoxA(Owner(), text, "Attention...", MB_YESNO | MB_ICONQUESTION | MB_SYSTEMMODAL));
}
