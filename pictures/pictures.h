// Pictures and printing as the command dispatcher and the room reach them: saving, opening, the
// gallery, the coloring pages offered by New, the save-before question and printing.
//
// The dispatcher calls through `pictureCommands`; every slot starts at a default that does nothing
// (and answers "go on" / "nothing loaded"), and the picture files put their own functions in.
#pragma once

struct PictureCommands {
    // The save-before question with the given text, asked only while the picture is modified.
    // 1: go on (no question, No, or Yes and the picture was saved); 0: stop (Yes was answered and
    // no file was written, the Save As cancelled included: the caller keeps the picture and does
    // nothing more).
    int (*saveBefore)(const char* question);
    void (*save)(void);             // Save: the Save As dialog on the Gallery folder
    void (*open)(void);             // Open: the save-before question, then the Open dialog
    int (*browseGallery)(void);     // Gallery: 1 when a picture was loaded into the canvas
    int (*offerPages)(void);        // New's coloring pages (after the canvas was cleared): 1 when loaded
    void (*print)(void);            // Print picture (the printer in the room)
};

extern PictureCommands pictureCommands;

int pictures_SaveBeforeNotYet(const char* question);
void pictures_NothingYet(void);
int pictures_NothingLoadedYet(void);
