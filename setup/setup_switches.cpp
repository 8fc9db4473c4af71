// The installer's switches: how a school's console or deployment tool runs Setup and its
// uninstaller without a window (/quiet), into a folder of its choice (/dir), with a log (/log).
#include "setup/setup.h"

#include <cstdio>
#include <cstring>

const char setup_kUsage[] =
    "Setup installs Tintwell; uninstall.exe in the Tintwell folder removes it again.\n"
    "\n"
    "setup.exe [/quiet] [/dir=\"X:\\folder\"] [/log=\"file\"]\n"
    "setup.exe /uninstall [/quiet] [/log=\"file\"]\n"
    "uninstall.exe [/quiet] [/log=\"file\"]\n"
    "\n"
    "/quiet\tno window and no question; the agreement counts as accepted\n"
    "/dir\tthe folder to install into (X:\\... or \\\\server\\share\\...)\n"
    "/log\ta file (created or replaced) with each step and every error\n"
    "/uninstall\tremoves Tintwell; the pictures in its Gallery stay\n"
    "/?\tthis list\n"
    "\n"
    "Exit codes: 0 done, 1602 cancelled, 1603 failed (also while Tintwell runs), "
    "1618 another Setup is running, 87 a switch that cannot be used.";

namespace {

// The next argument of the command line: white space outside quotes ends it, quotes are dropped.
// Returns the position after it, or nullptr when no argument is left.
const char* NextArgument(const char* p, char* argument, size_t size, int* tooLong)
{
    while (*p == ' ' || *p == '\t') ++p;
    if (!*p) return nullptr;
    size_t length = 0;
    int quoted = 0;
    *tooLong = 0;
    for (; *p && (quoted || (*p != ' ' && *p != '\t')); ++p) {
        if (*p == '"') {
            quoted = !quoted;
            continue;
        }
        if (length + 1 < size) argument[length++] = *p;
        else *tooLong = 1;
    }
    argument[length] = '\0';
    return p;
}

int Bad(SetupSwitches* switches, const char* argument)
{
    snprintf(switches->bad, sizeof switches->bad, "%s", argument);
    return SETUP_EXIT_BAD_SWITCH;
}

}  // namespace

int setup_ParseSwitches(const char* commandLine, SetupSwitches* switches)
{
    memset(switches, 0, sizeof *switches);
    char argument[2 * SETUP_TEXT];
    int tooLong = 0;
    for (const char* p = commandLine ? commandLine : ""; (p = NextArgument(p, argument, sizeof argument, &tooLong));) {
        if (argument[0] != '/' && argument[0] != '-') return Bad(switches, argument);
        char* name = argument + 1;
        char* equals = strchr(name, '=');
        const char* value = nullptr;
        if (equals) {
            *equals = '\0';
            value = equals + 1;
        }
        if (lstrcmpiA(name, "quiet") == 0 && !value) switches->quiet = 1;
        else if (lstrcmpiA(name, "uninstall") == 0 && !value) switches->uninstall = 1;
        else if (strcmp(name, "?") == 0 && !value) switches->help = 1;
        else if (lstrcmpiA(name, "dir") == 0 && value && *value && !tooLong) {
            snprintf(switches->dir, sizeof switches->dir, "%s", value);
            if (strlen(value) >= sizeof switches->dir || !setup_NormaliseFolder(switches->dir, sizeof switches->dir)) {
                if (equals) *equals = '=';
                return Bad(switches, argument);
            }
        } else if (lstrcmpiA(name, "log") == 0 && value && *value && !tooLong && strlen(value) < sizeof switches->log) {
            snprintf(switches->log, sizeof switches->log, "%s", value);
        } else {
            if (equals) *equals = '=';
            return Bad(switches, argument);
        }
    }
    // The uninstaller removes the install recorded in the registry: a folder means nothing to it.
    if (switches->uninstall && switches->dir[0]) return Bad(switches, "/dir");
    return 0;
}
