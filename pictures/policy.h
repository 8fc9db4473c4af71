// What a grown-up fixes for the child: the policy values under "Software\Policies\Marrowby\Tintwell"
// of the machine (HKEY_LOCAL_MACHINE) and of the user (HKEY_CURRENT_USER), as Group Policy writes
// them from the administrative template Tintwell.admx. They are read once at start-up, after the
// preferences file, into one record; whatever uses a preference, the pictures folder, the coloring
// pages, the printer or a command asks that record. Nothing else in the program reads the registry.
//
// A value the machine holds well formed wins over the user's, 0 included. A value that is missing
// or not well formed is not set, and the program behaves as it does without grown-ups' settings;
// only the pictures folder is then set but unusable (see below), so that nothing falls back to a
// local folder without anyone noticing.
#pragma once

#include <windows.h>

enum { POLICY_NOT_SET = -1 };

// The four preferences, in the order of the preferences file.
enum { POLICY_SOUND, POLICY_STRETCH, POLICY_ANIMATION, POLICY_LIGHT_PRINT, POLICY_PREFERENCES };

// The pictures folder: not set (the program's own Gallery), a usable path, or a value that is present
// but unusable (wrong type, empty, not a full path, too long once its variables are expanded).
enum { POLICY_FOLDER_NOT_SET, POLICY_FOLDER_SET, POLICY_FOLDER_UNUSABLE };

enum { POLICY_LONGEST_INTERVAL = 86400 };  // PrintInterval: 1 second to a day

struct Policy {
    int preference[POLICY_PREFERENCES];  // POLICY_NOT_SET, or the value in use (0 off, 1 on)
    int picturesState;                   // POLICY_FOLDER_*
    char picturesFolder[MAX_PATH];       // when set: the Gallery itself, expanded, ending in a backslash
    char pagesFolder[MAX_PATH];          // a second folder of coloring pages ("" when not set)
    int noQuit;                          // 1: the child cannot quit; Ctrl+Shift+Q held 2 s can
    int noPrint;                         // 1: the printer does nothing
    int printInterval;                   // seconds the printer rests after a print; 0: none
    int noPreferences;                   // 1: the preferences screen does not open
};

extern Policy policy;

// The key under both roots, and the value names, in one list (the template names the same).
extern const char kPolicyKey[];
extern const char* const kPolicyValueNames[];
extern const int kPolicyValueCount;

// The record with nothing set.
Policy policy_None(void);
// Reads the values under key (kPolicyKey at start-up; the tests use keys of their own) of both roots.
Policy policy_ReadFrom(const char* key);
// Start-up: policy := policy_ReadFrom(kPolicyKey).
void policy_Read(void);

// Whether the child's own value of a preference is set aside for a grown-up's.
bool policy_LocksPreference(int which);
// Whether a command (the shell's numbers: 0 Quit ... 6 Preferences) is closed to the child.
bool policy_RefusesCommand(int command);

// The sound of a click that a grown-up's setting turns into nothing (the stamp picker's empty click).
enum { POLICY_SOUND_NOTHING = 1040 };
void policy_PlayNothing(void);
