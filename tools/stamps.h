// The three books of stamps (scene objects 15, 16 and 17): the stamp picker, each book's page
// memory, the one current stamp with its mask that the three books share, and the stamp that floats
// under the pointer and is printed into the picture through its mask.
#pragma once

#include "scene/scene.h"
#include "tools/picture_dialog.h"

enum {
    STAMP_SIZE = 48,            // a stamp in picture pixels (96 on screen while magnified)
    STAMPS_PER_BOOK = 48,
    STAMPS_PER_PAGE = 8,
    STAMP_PICKER_WIDTH = 627,
    STAMP_PICKER_HEIGHT = 241,
    STAMP_BOOKS = 3,
};

// The picker's hot areas, client pixels.
extern const POINT stampSlots[STAMPS_PER_PAGE];  // top-left corners of the eight 48 x 48 slots
extern const RECT stampPreviousArrow;
extern const RECT stampNextArrow;
extern const RECT stampCloseArea;

// The state of one open picker; the slots of its PictureDialog work on it.
struct StampPicker {
    int sheetImage, sheetMask;  // toolbox bitmaps of the open book's sheet, -1 when not loaded
    int count;                  // stamps on the sheet
    int page;                   // first stamp of the page shown (0, 8, 16...)
};

// What a button release at a client point of the picker does: pages (the page changes) and gives
// the result so far: -1 for the close area, -2 for nothing, else the stamp index of the slot hit.
int stamps_PickerClick(StampPicker* picker, int x, int y);
// Non-zero where the picker reacts to the pointer (close area, slots, arrows that are shown).
int stamps_PickerReacts(const StampPicker* picker, int x, int y);

// Runs the picker on a sheet (image and mask resources) with count stamps, starting at *page and
// writing the page shown back there. Makes the chosen cell the current stamp and returns its index;
// -1 when nothing was chosen (close area or Escape), leaving the current stamp as it was.
int stamps_ChooseStamp(int sheetImageId, int sheetMaskId, int count, int* page);

// The room's book service: runs the picker of the book (its page memory, its sheet); the choice is
// kept in the book's mode. 1 when a stamp was chosen.
int stamps_Book(SceneObject* book);
// The page each book showed last (books 0, 1, 2 = objects 15, 16, 17).
int stamps_BookPage(int book);
void stamps_SetBookPage(int book, int page);

// Makes cell n of a loaded sheet (24-bit image and 8-bit mask bitmaps) the current stamp,
// disposing of the previous one.
void stamps_TakeStamp(int sheetImage, int sheetMask, int n);
// The current stamp: bitmap indices, -1 while no stamp was ever chosen.
int stamps_CurrentImage(void);
int stamps_CurrentMask(void);
// The size of the current stamp in picture pixels (48 x 48; 0 x 0 while there is none). The room
// doubles it while the picture is magnified to erase the floating stamp from the window.
void stamps_PieceSize(int* w, int* h);
// Disposes of the current stamp and its mask (shutdown).
void stamps_DisposeStamp(void);

// The book slots.
void stamps_Press(SceneObject* book, int x, int y);
void stamps_Drag(SceneObject* book, int x, int y);
void stamps_Release(SceneObject* book, int x, int y);
void stamps_InstallBook(SceneObject* book);
