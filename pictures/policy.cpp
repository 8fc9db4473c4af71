// The grown-ups' settings: the policy values of the machine and of the user read into one record.
#include "pictures/policy.h"

#include "toolbox.h"

Policy policy = policy_None();

const char kPolicyKey[] = "Software\\Policies\\Marrowby\\Tintwell";

namespace {

// The on/off and number values: name, the range a well-formed value lies in, and its field.
struct NumberValue {
    const char* name;
    int low, high;
    int Policy::*field;        // the field, or nullptr for one of the preferences
    int preference;            // the preference it fixes (when field is nullptr)
};

const NumberValue kNumbers[] = {
    {"Sound", 0, 1, nullptr, POLICY_SOUND},
    {"StretchPictures", 0, 1, nullptr, POLICY_STRETCH},
    {"Animation", 0, 1, nullptr, POLICY_ANIMATION},
    {"LightPrint", 0, 1, nullptr, POLICY_LIGHT_PRINT},
    {"NoQuit", 0, 1, &Policy::noQuit, 0},
    {"NoPrint", 0, 1, &Policy::noPrint, 0},
    {"PrintInterval", 1, POLICY_LONGEST_INTERVAL, &Policy::printInterval, 0},
    {"NoPreferences", 0, 1, &Policy::noPreferences, 0},
};
const char kPicturesFolder[] = "PicturesFolder";
const char kPagesFolder[] = "PagesFolder";

enum { COMMAND_QUIT = 0, COMMAND_PREFERENCES = 6 };

// A DWORD of the key within [low, high].
bool ReadNumber(HKEY key, const char* name, int low, int high, int* value)
{
    DWORD type = 0, data = 0, size = sizeof data;
    if (!key || RegQueryValueExA(key, name, nullptr, &type, (BYTE*)&data, &size) != ERROR_SUCCESS) return false;
    if (type != REG_DWORD || size != sizeof data || data < (DWORD)low || data > (DWORD)high) return false;
    *value = (int)data;
    return true;
}

enum { FOLDER_MISSING, FOLDER_WELL_FORMED, FOLDER_MALFORMED };

// A full path: a drive ("H:\...") or a share ("\\server\share...").
bool FullPath(const char* path)
{
    bool drive = ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z')) && path[1] == ':' &&
                 (path[2] == '\\' || path[2] == '/');
    bool share = path[0] == '\\' && path[1] == '\\' && path[2] && path[2] != '\\';
    return drive || share;
}

// A folder value (REG_SZ or REG_EXPAND_SZ, its variables expanded either way) into folder, ending
// in a backslash. Anything else that is present is malformed: another type, an empty string, a
// path that is not a full one, or one that no longer fits once expanded.
int ReadFolder(HKEY key, const char* name, char* folder)
{
    if (!key) return FOLDER_MISSING;
    DWORD type = 0, size = 0;
    LONG found = RegQueryValueExA(key, name, nullptr, &type, nullptr, &size);
    if (found != ERROR_SUCCESS && found != ERROR_MORE_DATA) return FOLDER_MISSING;
    if (type != REG_SZ && type != REG_EXPAND_SZ) return FOLDER_MALFORMED;
    char raw[MAX_PATH] = {};
    size = sizeof raw - 1;  // the last byte stays 0: a string stored without its end is ended here
    if (RegQueryValueExA(key, name, nullptr, &type, (BYTE*)raw, &size) != ERROR_SUCCESS) return FOLDER_MALFORMED;
    char expanded[MAX_PATH] = {};
    DWORD needed = ExpandEnvironmentStringsA(raw, expanded, sizeof expanded);
    if (needed == 0 || needed > sizeof expanded) return FOLDER_MALFORMED;
    int length = lstrlenA(expanded);
    if (length == 0 || !FullPath(expanded)) return FOLDER_MALFORMED;
    bool ended = expanded[length - 1] == '\\' || expanded[length - 1] == '/';
    if (!ended && length + 1 >= MAX_PATH) return FOLDER_MALFORMED;
    lstrcpyA(folder, expanded);
    if (!ended) lstrcatA(folder, "\\");
    return FOLDER_WELL_FORMED;
}

// The machine's well-formed value first, then the user's; malformed tells whether either was
// present but not well formed.
int ReadFolderOfEither(HKEY machine, HKEY user, const char* name, char* folder)
{
    int fromMachine = ReadFolder(machine, name, folder);
    if (fromMachine == FOLDER_WELL_FORMED) return fromMachine;
    int fromUser = ReadFolder(user, name, folder);
    if (fromUser == FOLDER_WELL_FORMED) return fromUser;
    folder[0] = 0;
    return fromMachine == FOLDER_MALFORMED || fromUser == FOLDER_MALFORMED ? FOLDER_MALFORMED : FOLDER_MISSING;
}

HKEY Open(HKEY root, const char* key)
{
    HKEY opened = nullptr;
    // The 64-bit view, where Group Policy writes, also for the 32-bit program on 64-bit Windows.
    if (RegOpenKeyExA(root, key, 0, KEY_QUERY_VALUE | KEY_WOW64_64KEY, &opened) != ERROR_SUCCESS) return nullptr;
    return opened;
}

}  // namespace

const char* const kPolicyValueNames[] = {
    "Sound",  "StretchPictures", "Animation",     "LightPrint",    "PicturesFolder",
    "PagesFolder", "NoQuit",     "NoPrint",       "PrintInterval", "NoPreferences",
};
const int kPolicyValueCount = sizeof kPolicyValueNames / sizeof kPolicyValueNames[0];

Policy policy_None(void)
{
    Policy none = {};
    for (int& p : none.preference) p = POLICY_NOT_SET;
    none.picturesState = POLICY_FOLDER_NOT_SET;
    return none;
}

Policy policy_ReadFrom(const char* key)
{
    Policy read = policy_None();
    HKEY machine = Open(HKEY_LOCAL_MACHINE, key), user = Open(HKEY_CURRENT_USER, key);
    for (const NumberValue& v : kNumbers) {
        int value = 0;
        if (!ReadNumber(machine, v.name, v.low, v.high, &value) && !ReadNumber(user, v.name, v.low, v.high, &value))
            continue;
        if (v.field)
            read.*v.field = value;
        else
            read.preference[v.preference] = value;
    }
    switch (ReadFolderOfEither(machine, user, kPicturesFolder, read.picturesFolder)) {
    case FOLDER_WELL_FORMED: read.picturesState = POLICY_FOLDER_SET; break;
    case FOLDER_MALFORMED: read.picturesState = POLICY_FOLDER_UNUSABLE; break;
    default: read.picturesState = POLICY_FOLDER_NOT_SET; break;
    }
    // A second folder of pages that cannot be used is simply not there.
    ReadFolderOfEither(machine, user, kPagesFolder, read.pagesFolder);
    if (machine) RegCloseKey(machine);
    if (user) RegCloseKey(user);
    return read;
}

void policy_Read(void) { policy = policy_ReadFrom(kPolicyKey); }

bool policy_LocksPreference(int which)
{
    return which >= 0 && which < POLICY_PREFERENCES && policy.preference[which] != POLICY_NOT_SET;
}

bool policy_RefusesCommand(int command)
{
    return (command == COMMAND_QUIT && policy.noQuit == 1) ||
           (command == COMMAND_PREFERENCES && policy.noPreferences == 1);
}

void policy_PlayNothing(void) { tb_PlaySound(POLICY_SOUND_NOTHING); }
