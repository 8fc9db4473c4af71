// The four preferences kept across runs in the preferences file "qlnpfs.pfs": sound, stretch
// pictures, animation and light print, four 32-bit little-endian values in that order (16 bytes).
// Each value is 0 for off and anything else for on. The sound preference lives in the toolbox
// (tb_GetSoundPreference / tb_SetSoundPreference); the other three live here.
#pragma once

struct Preferences {
    int stretchPictures;  // an opened picture is scaled to fill the canvas; off: centred on white
    int animation;        // New clears the canvas with a wipe animation; off: at once
    int lightPrint;       // printing whitens every pixel whose x + y is even
};

extern Preferences preferences;

// Sets all four preferences to their defaults (all on).
void prefs_SetDefaults(void);
// Reads the file over the values in place. A file that cannot be opened or read sets the defaults
// and writes them back; a short file leaves the values it does not hold as they were.
void prefs_Load(void);
// Puts the values a grown-up fixed (the policy record) in place of the child's, which the file keeps.
void prefs_UsePolicy(void);
// Writes all four values, the child's own for those a grown-up fixed (failures are silent: the
// values then live for this run only).
void prefs_Save(void);
