// Saving, opening, the gallery and the coloring pages, and printing: the functions behind
// `pictureCommands` (pictures/pictures.h) and the pieces they are made of, for the tests.
#pragma once

#include <windows.h>

#include "toolbox.h"

// The questions and messages of the picture files.
extern const char kAskBeforeOpening[];   // Open and the gallery
extern const char kAskBeforeNew[];       // New
extern const char kAskBeforeQuitting[];  // Quit
extern const char kCouldNotSave[];       // a save that could not write its file
extern const char kCannotReachToSave[];  // Save: a grown-up's pictures folder cannot be used now
extern const char kCannotReachToOpen[];  // Open and the gallery: the same
extern const char kIncompatibleFile[];   // Open: a file the reader refuses
extern const char kCouldNotOpen[];       // the gallery: a file the reader refuses
extern const char kCannotPreview[];      // the gallery's preview of such a file
extern const char kNoImages[];           // the gallery's preview of an empty folder
extern const char kCouldNotPrint[];      // a print job the printer or the program could not carry out

// The two preferences these operations read; they read the preferences record (tests put their
// own readers here).
struct PicturePreferences {
    int (*stretch)(void);     // an opened picture fills the canvas; off: centred on white
    int (*lightPrint)(void);  // printing whitens every pixel whose x + y is even
};
extern PicturePreferences picturePreferences;

// ---------------------------------------------------------------- folders
// The folder of paint.exe, ending in a backslash.
void pictures_ProgramFolder(char* folder, int size);
// The Gallery folder for a program folder, created if need be: beside the program where that
// folder can be written, else "Tintwell\Gallery\" in the user's Pictures folder. Ends in a
// backslash; false when neither can be had (the program's own is given then).
bool pictures_GalleryFolderFor(const char* programFolder, char* folder, int size);
// The folder Save, Open, the gallery and the offered names use, asked by those commands only, just
// before their dialog: the pictures folder a grown-up set (its last level made), else the Gallery
// for paint.exe's folder. false when the grown-up's folder cannot be used now (unreachable, not
// writable, or its setting unusable): the command shows its box instead of its dialog.
bool pictures_GalleryFolder(char* folder, int size);
// The Pages folder beside the program (not created).
void pictures_PagesFolder(char* folder, int size);

// ---------------------------------------------------------------- names
// A name of its own is a path with its folder (from the Save As, Open or the gallery); a fresh
// picture's name ("Tintwell.bmp") and a coloring page's ("cat.bmp") are bare file names.
bool pictures_HasOwnName(const char* name);
// The first of "base.bmp", "base 2.bmp", "base 3.bmp", ... (base: name without folder and
// extension) that no file of the folder has, with any of the gallery's extensions; a file name
// without folder. false when none fits size.
bool pictures_FirstFreeName(const char* folder, const char* name, char* out, int size);
// What the Save As offers for the current picture in folder: its own name, or the first free name.
void pictures_OfferedName(const char* folder, char* out, int size);
// The picture's name once a picture read from its file (the path) is on the canvas: one read from
// a format Save does not write (JPEG, GIF, TIFF) keeps only its file name, so it has no name of its
// own and is offered its base name as a BMP or PNG.
void pictures_NameAfterRead(int format);
// The picture's name once a coloring page is on the canvas: the page's file name, bare; the blank
// page leaves the fresh picture's name.
void pictures_NameAfterPage(const char* page);

// ---------------------------------------------------------------- saving and opening
// The save-before question (asked only while the picture is modified). 1: go on, the modified flag
// is cleared (No, or Yes and the picture was saved); 0: Yes was answered and no file was written
// (the Save As was cancelled or failed, silently; or the write failed, told), the flag stays.
int pictures_SaveBefore(const char* question);
// Writes the canvas to path (a PNG when the path ends in ".png", else a BMP) through a temporary
// file that replaces it when whole; true when done.
bool pictures_WriteCanvas(const char* path);
// What placing needs of a picture on the canvas: scaled to it (stretch preference on) or its middle
// at its own size.
TB_PictureNeed pictures_PlacingNeed(void);
// Opens, reads and closes a picture file as need asks: the new bitmap or -1; format (may be
// nullptr) gets the format it was read from.
int pictures_ReadPicture(const char* path, const TB_PictureNeed& need, int* format);
void pictures_Save(void);
void pictures_Open(void);
// Open's work once the dialog has opened the chosen file on the channel: reads it, closes the
// channel, and puts the picture into the canvas (shown, undo snapshot taken); 1 when placed, 0
// after "Incompatible File" with the canvas unchanged.
int pictures_OpenChosen(void);
// Puts a loaded picture of the toolbox into the canvas, stretched or centred on white.
void pictures_Place(int loaded);

// ---------------------------------------------------------------- gallery and pages
enum { GALLERY_MAX = 100 };
struct GalleryEntry {
    char name[260];
    int valid;
    int second;  // 1: the file lies in the second folder (secondFolder), 0: in the browse folder
};
struct Gallery {
    GalleryEntry entries[GALLERY_MAX];
    int count;
    int position;                 // the entry shown; kept from one use of the dialog to the next
    char secondFolder[MAX_PATH];  // listed after the browse folder while New offers pages ("": none)
};
extern Gallery gallery;

// Lists the pictures of the browse folder (scene.browseFolder): "blank.bmp" first, then the others
// in the order the file search gives them, then those of the second folder, at most GALLERY_MAX.
void pictures_EnumerateGallery(void);
// The gallery dialog and the load of the chosen picture: -1 cancel button, 0 Escape (or a failed
// save before loading), 1 chosen; *loaded is set when the canvas got a picture.
int pictures_GalleryAndLoad(int* loaded);
// The load after the gallery dialog was answered with 1: the save-before question, then the entry
// at the position read into the canvas ("Could not open selected file." when it cannot be). Same
// results as pictures_GalleryAndLoad.
int pictures_LoadGalleryEntry(int* loaded);
// Draws the gallery's face for the entry at the position (artwork, arrows, title, preview).
void pictures_DrawGallery(int face);
int pictures_BrowseGallery(void);
int pictures_OfferPages(void);

// ---------------------------------------------------------------- printing
void pictures_Print(void);
// Whether the printer does nothing now: a grown-up switched printing off, or the last print that
// went through is more recent than the rest the grown-up set (a cancelled or failed print starts
// no rest).
bool pictures_PrintRefused(void);
// The work before the page is sent: the work bitmap (the canvas, lightened when asked) and where
// it goes on a printable area of pw x ph. The caller disposes of the bitmap.
int pictures_PreparePrint(int pw, int ph, RECT* destination);
