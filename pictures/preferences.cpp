// The preferences file: read once at start-up, written whole after every change. A preference a
// grown-up has fixed (pictures/policy.h) is used instead of the child's, while the file keeps the
// child's own value for the day the grown-up's setting goes.
#include "pictures/preferences.h"

#include "pictures/policy.h"
#include "toolbox.h"

Preferences preferences = {1, 1, 1};

namespace {

// What the file held for each preference, in the file's order (the defaults until it is read).
INT32 own[POLICY_PREFERENCES] = {1, 1, 1, 1};

INT32 InUse(int which)
{
    switch (which) {
    case POLICY_SOUND: return tb_GetSoundPreference();
    case POLICY_STRETCH: return preferences.stretchPictures;
    case POLICY_ANIMATION: return preferences.animation;
    default: return preferences.lightPrint;
    }
}

void Use(int which, INT32 value)
{
    switch (which) {
    case POLICY_SOUND: tb_SetSoundPreference(value); break;
    case POLICY_STRETCH: preferences.stretchPictures = value; break;
    case POLICY_ANIMATION: preferences.animation = value; break;
    default: preferences.lightPrint = value; break;
    }
}

void KeepOwn(void)
{
    for (int which = 0; which < POLICY_PREFERENCES; ++which) own[which] = InUse(which);
}

}  // namespace

void prefs_SetDefaults(void)
{
    tb_SetSoundPreference(1);
    preferences.stretchPictures = 1;
    preferences.animation = 1;
    preferences.lightPrint = 1;
}

void prefs_Load(void)
{
    if (tb_OpenPrefsToRead() == 1) {
        // Each value is read over what it holds: a read at the end of the file succeeds without
        // delivering anything, so a short file keeps the values it lacks.
        INT32 values[4] = {tb_GetSoundPreference(), preferences.stretchPictures, preferences.animation,
                           preferences.lightPrint};
        int read = 0;
        while (read < 4 && tb_ReadFile(&values[read], 4) == 0) ++read;
        tb_CloseFile();
        if (read == 4) {
            for (int which = 0; which < POLICY_PREFERENCES; ++which) Use(which, values[which]);
            KeepOwn();
            return;
        }
    } else {
        tb_CloseFile();
    }
    prefs_SetDefaults();
    KeepOwn();
    prefs_Save();
}

void prefs_UsePolicy(void)
{
    for (int which = 0; which < POLICY_PREFERENCES; ++which)
        if (policy_LocksPreference(which)) Use(which, policy.preference[which]);
}

void prefs_Save(void)
{
    if (tb_OpenPrefsToWrite() != 1) return;
    // Little-endian on every platform the program runs on.
    for (int which = 0; which < POLICY_PREFERENCES; ++which) {
        if (!policy_LocksPreference(which)) own[which] = InUse(which);
        INT32 v = own[which];
        BYTE bytes[4] = {BYTE(v), BYTE(v >> 8), BYTE(v >> 16), BYTE(v >> 24)};
        tb_WriteFile(bytes, 4);
    }
    tb_CloseFile();
}
