// The log a quiet Setup leaves for the person who deployed it (one line per step and every
// message, Windows line endings), and the way every message and question reaches the user:
// through a box, or, when Setup is quiet, only through the log.
#include "setup/setup.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "toolbox.h"

int setup_OpenLog(const char* path)
{
    setup_CloseLog();
    setup.log = CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                            nullptr);
    return setup.log != INVALID_HANDLE_VALUE;
}

void setup_CloseLog(void)
{
    if (setup.log != INVALID_HANDLE_VALUE && setup.log != nullptr) CloseHandle(setup.log);
    setup.log = INVALID_HANDLE_VALUE;
}

void setup_Log(const char* format, ...)
{
    if (setup.log == INVALID_HANDLE_VALUE || setup.log == nullptr) return;
    char line[2048];
    va_list args;
    va_start(args, format);
    int length = vsnprintf(line, sizeof line - 2, format, args);
    va_end(args);
    if (length < 0) return;
    if (length > (int)sizeof line - 3) length = (int)sizeof line - 3;
    // A message of several lines is one line of the log.
    for (int i = 0; i < length; ++i)
        if (line[i] == '\r' || line[i] == '\n') line[i] = ' ';
    line[length++] = '\r';
    line[length++] = '\n';
    DWORD written;
    WriteFile(setup.log, line, (DWORD)length, &written, nullptr);
}

void setup_Tell(const char* text)
{
    setup_Log("%s", text);
    if (!setup.quiet) tb_AttentionBox(text);
}

int setup_Ask(const char* text, int quietAnswer)
{
    if (setup.quiet) {
        setup_Log("%s (%s)", text, quietAnswer ? "yes" : "no");
        return quietAnswer;
    }
    int answer = tb_AskYesNo(text);
    setup_Log("%s (%s)", text, answer ? "yes" : "no");
    return answer;
}
