// The preferences file: read once at start-up, written whole after every change.
#include "pictures/preferences.h"

#include "toolbox.h"

Preferences preferences = {1, 1, 1};

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
            tb_SetSoundPreference(values[0]);
            preferences.stretchPictures = values[1];
            preferences.animation = values[2];
            preferences.lightPrint = values[3];
            return;
        }
    } else {
        tb_CloseFile();
    }
    prefs_SetDefaults();
    prefs_Save();
}

void prefs_Save(void)
{
    if (tb_OpenPrefsToWrite() != 1) return;
    const INT32 values[4] = {tb_GetSoundPreference(), preferences.stretchPictures, preferences.animation,
                             preferences.lightPrint};
    // Little-endian on every platform the program runs on.
    for (INT32 v : values) {
        BYTE bytes[4] = {BYTE(v), BYTE(v >> 8), BYTE(v >> 16), BYTE(v >> 24)};
        tb_WriteFile(bytes, 4);
    }
    tb_CloseFile();
}
