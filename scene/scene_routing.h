// Pointer routing: the press, move, release and double-click handlers that the window procedure
// calls with window coordinates, and the room's hot spots they lead to.
#pragma once

#include "scene/scene.h"

// Routing state; one instance, owned by the routing.
struct SceneRouting {
    ScenePoint previous;  // window point of the last press or drawing move: one corner of the next dirty rectangle
    int textPending;      // the text dialog was confirmed: the next release on the canvas places the text
    int zoomPending;      // the spyglass was clicked while not zoomed: the next release on the canvas picks the centre
    // A rubber band's preview was drawn by a move of this gesture, and the window had been drawn
    // on bandDraws times (tb_WindowDraws) just after it.
    int bandShown;
    unsigned bandDraws;
};

extern SceneRouting routing;

// The work that the hot spots hand over to the dialogs, the text tool, printing, the preferences
// file and the command dispatcher. Each slot starts at a default that does nothing (and answers
// "not confirmed"); the parts that own the work put their functions here as they are built.
struct SceneServices {
    void (*print)(void);                              // prints the picture
    int (*textDialog)(void);                          // the text dialog; 1 when confirmed
    void (*placeText)(int x, int y);                  // renders the text into the canvas bitmap at a picture point
    void (*textPreview)(int x, int y);                // draws the text preview onto the window at a window point
    int (*stampBook)(SceneObject* book);              // the book's stamp dialog; 1 when a stamp was chosen
    int (*paletteDialog)(SceneColor* chosen);         // the colour palette dialog; 1 when confirmed
    void (*writePreferences)(void);                   // writes the preferences file
    void (*dispatchCommand)(int command);             // the command dispatcher; -1 asks the remote control
    void (*pieceSize)(int object, int* w, int* h);    // size of the scissors' cut piece (8) or a book's stamp
    void (*disposeToolBitmaps)(void);                 // the cut piece and the stamp with its mask, if allocated
};

extern SceneServices sceneServices;

void scene_PrintNotYet(void);
int scene_TextDialogNotYet(void);
void scene_PlaceTextNotYet(int x, int y);
void scene_TextPreviewNotYet(int x, int y);
int scene_StampBookNotYet(SceneObject* book);
int scene_PaletteDialogNotYet(SceneColor* chosen);
void scene_WritePreferencesNotYet(void);
void scene_DispatchCommandNotYet(int command);

// The pieces that follow the pointer, which the room owns as services. pieceSize answers object 8
// from the scissors' cut piece and objects 15, 16 and 17 from the books' current stamp, in picture
// pixels (the routing doubles it while the picture is magnified; 0 x 0 when there is none);
// disposeToolBitmaps disposes of the cut piece and of the current stamp with its mask.
void scene_PieceSize(int object, int* w, int* h);
void scene_DisposeToolBitmaps(void);

// The four handlers (window index, window coordinates).
void scene_PressHandler(int window, int x, int y);
void scene_MoveHandler(int window, int x, int y);
void scene_ReleaseHandler(int window, int x, int y);
void scene_DoubleClickHandler(int window, int x, int y);

// Highlights the left-panel hot spot under the point (and removes the others); non-zero when the
// point is over one of the ten.
int scene_LeftPanelHover(int x, int y);

// Keeps a window point inside the canvas for the current object by half its size (doubled for the
// ruler while zoomed); moves the system pointer when the point had to move.
void scene_KeepInside(int* x, int* y);

// Drops a piece that follows the pointer (scissors, books) when C is held, erasing it from the
// window, frame included; called by the idle tick.
void scene_CancelPieceOnKey(void);

// Ends a gesture whose button release will never arrive (the focus lost, the command menu opened,
// the display changed) as its release would, at the last known pointer position: the ruler and
// the templates draw their figure, a marquee is dropped, a looping sound stops. A piece or stamp
// that follows the pointer keeps following it.
void scene_EndGesture(void);
// Whether a gesture goes on: a button pressed on the canvas and not yet released (a piece or stamp
// that follows the pointer is not a gesture).
int scene_GestureGoesOn(void);

// Resets the routing state (start-up).
void scene_ResetRouting(void);
