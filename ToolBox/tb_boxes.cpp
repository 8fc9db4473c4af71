// The standard message boxes through which the toolbox reports errors and asks questions.
#include "tb_internal.h"

void tb_ErrorBox(const char* text)
{
    MessageBoxA(nullptr, text, "Error...", MB_OK | MB_ICONEXCLAMATION | MB_SYSTEMMODAL);
}

void tb_AttentionBox(const char* text)
{
    MessageBoxA(tb.ownerWindow, text, "Attention!", MB_OK | MB_ICONINFORMATION);
}

void tb_InfoBox(const char* text)
{
    MessageBoxA(tb.ownerWindow, text, "Information...", MB_OK | MB_ICONINFORMATION);
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
    return tb_MapAnswer(MessageBoxA(nullptr, text, "Attention...", MB_YESNOCANCEL | MB_ICONQUESTION | MB_SYSTEMMODAL));
}

int tb_AskYesNo(const char* text)
{
    return tb_MapAnswer(MessageBoxA(nullptr, text, "Attention...", MB_YESNO | MB_ICONQUESTION | MB_SYSTEMMODAL));
}
