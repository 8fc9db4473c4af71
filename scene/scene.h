// The scene: the table of thirty scene objects with their slots, the layout of the room, the
// scene bitmaps, composition, the canvas view with its zoom, and single-level undo.
#pragma once

#include <windows.h>

enum {
    SCENE_OBJECTS = 30,
    SCENE_GROUPS = 5,
    SCENE_CANS = 8,
    SCENE_CAN_BODIES = 6,
    SCENE_HOT_SPOTS = 10,
    SCENE_MAX_OUTLINE = 100,  // points of one outline polygon, terminator included
};

// Colours cross the scene on the toolbox scale 0..65025.
struct SceneColor {
    unsigned red, green, blue;
};

struct ScenePoint {
    int x, y;
};

struct SceneObject;

// The ten slots, in the order the record declares them; each takes the record first.
typedef SceneObject* (*SceneConstructSlot)(SceneObject* object, int sceneBitmap, int pictureBitmap);
typedef int (*SceneHitTestSlot)(SceneObject* object, int x, int y);
typedef void (*ScenePointSlot)(SceneObject* object, int x, int y);
typedef void (*SceneDrawSlot)(SceneObject* object);
typedef void (*SceneDrawOptionsSlot)(SceneObject* object, const RECT* options);
typedef void (*SceneClickOptionsSlot)(SceneObject* object, int x, int y, const RECT* options);
typedef void (*SceneSetColorSlot)(SceneObject* object, unsigned red, unsigned green, unsigned blue);
typedef void (*SceneDestroySlot)(SceneObject* object);

struct SceneObject {
    int group;           // 0..4: the group on whose table the object lies
    int cursorId;        // cursor over the canvas while this is the current tool
    int imageId;         // 24-bit picture on the table; -1 = not drawn
    int maskId;          // 8-bit mask of the picture; -1 = not drawn
    int size;            // pen width, spray diameter, stamp size...
    unsigned red, green, blue;
    RECT bounds;         // the picture's place on the table, window coordinates
    int active;          // non-zero while a gesture (or a follow-the-pointer piece) is in progress
    int sceneBitmap;     // the window-sized back buffer
    int pictureBitmap;   // the canvas bitmap (the picture)
    ScenePoint lastPoint;
    ScenePoint currentPoint;
    int mode;            // tool parameter: effect number, texture picture, sub-state
    int region;          // clickable outline; -1 = none
    int previewWindow;   // window for rubber bands and follow-the-pointer pieces; -1 = none
    int soundId;         // WAVE played while the tool works; 0 = silent

    SceneConstructSlot Construct;
    SceneHitTestSlot HitTest;
    ScenePointSlot Press;
    ScenePointSlot Drag;
    ScenePointSlot Release;
    SceneDrawSlot Draw;
    SceneDrawOptionsSlot DrawOptions;
    SceneClickOptionsSlot ClickOptions;
    SceneSetColorSlot SetColor;
    SceneDestroySlot Destroy;
};

// The default slots every object starts with.
SceneObject* scene_DefaultConstruct(SceneObject* object, int sceneBitmap, int pictureBitmap);
int scene_DefaultHitTest(SceneObject* object, int x, int y);
void scene_DefaultPress(SceneObject* object, int x, int y);    // the default pen
void scene_DefaultDrag(SceneObject* object, int x, int y);
void scene_DefaultRelease(SceneObject* object, int x, int y);
void scene_DefaultDraw(SceneObject* object);                   // the picture through its mask
void scene_DefaultDrawOptions(SceneObject* object, const RECT* options);  // the empty monitor
void scene_DefaultClickOptions(SceneObject* object, int x, int y, const RECT* options);
void scene_DefaultSetColor(SceneObject* object, unsigned red, unsigned green, unsigned blue);
void scene_DefaultDestroy(SceneObject* object);

// A tool's own set-up: replaces the slots (and anything else) that differ from the defaults.
// Runs once per object at every construction of the table, after the table's fields are set.
typedef void (*SceneToolInstaller)(SceneObject* object);

// Well-known resource numbers of the room.
enum {
    SCENE_PIC_LEFT_PANEL = 100,
    SCENE_PIC_TABLE = 101,
    SCENE_MASK_LEFT_PANEL = 102,
    SCENE_MASK_TABLE = 103,
    SCENE_PIC_WALL = 104,
    SCENE_PIC_PAINT_BLOT = 149,
    SCENE_MASK_PAINT_BLOT = 150,
    SCENE_PIC_CANS = 151,
    SCENE_PIC_MONITOR = 152,
    SCENE_PIC_SELECTION = 172,
    SCENE_PIC_GROUP_MARKER = 173,
    SCENE_MASK_SELECTION = 174,
    SCENE_MASK_GROUP_MARKER = 175,
    SCENE_PIC_SOUND_ON = 600,
    SCENE_PIC_SOUND_OFF = 601,
    SCENE_PIC_NOT_ZOOMED = 602,
    SCENE_PIC_ZOOMED = 603,
    SCENE_CAPTION_EMPTY = 700,
    SCENE_SOUND_UNDO = 1028,
};

// The left-panel hot spots, in their fixed order.
enum {
    SCENE_SPOT_ROCK,
    SCENE_SPOT_BOOKS,
    SCENE_SPOT_TOOL_BOX,
    SCENE_SPOT_MAGIC_HAT,
    SCENE_SPOT_PRINTER,
    SCENE_SPOT_TOYS,
    SCENE_SPOT_KEYBOARD,
    SCENE_SPOT_CLEANER,
    SCENE_SPOT_REMOTE,
    SCENE_SPOT_PAINT_TUBE,
};

// Every rectangle of the room, window coordinates, right and bottom exclusive.
struct SceneLayout {
    int width, height;     // the main window's size
    RECT canvas;           // where the picture is shown
    int canvasWidth, canvasHeight;
    ScenePoint origin;     // the canvas's top-left corner
    RECT picture;          // (0, 0, canvasWidth, canvasHeight)
    int panelOffset;       // top of the left panel picture
    int tableTop;

    RECT optionPanel;
    RECT rockButton, booksButton, toolBoxButton, magicHatButton;
    RECT printer;
    RECT toysButton;
    RECT keyboard;
    RECT cleaner;
    RECT remote;
    RECT paintTube;
    RECT paintBlot;
    RECT spyglass;
    RECT speaker;
    RECT captionStrip;
    RECT canLids[SCENE_CANS];
    RECT canCluster;
    RECT canBodies[SCENE_CAN_BODIES];  // of cans canBodyOwner[] (can 0 has two)
    RECT tableMiddle;
    RECT table;
    RECT leftPanel;
    RECT highlights[SCENE_HOT_SPOTS];
};

// The one record of scene state.
struct SceneState {
    int mainWindow;       // toolbox window index of the main window
    SceneLayout layout;

    int sceneBitmap;      // the window-sized back buffer
    int undoBitmap;       // the picture before the last change
    int canvasBitmap;     // the picture
    int spareBitmap;      // the picture as it is now, caught up between gestures: a press makes it the undo copy
    int tableBackup;      // the table middle with no tools on it; -1 until the first full composition

    SceneObject objects[SCENE_OBJECTS];
    int currentObject;
    int currentGroup;
    SceneColor currentColor;

    SceneColor canColors[SCENE_CANS];
    int canMasks[SCENE_CANS];
    ScenePoint canFillPoints[SCENE_CANS];

    int highlightPictures[SCENE_HOT_SPOTS];
    int highlightShown[SCENE_HOT_SPOTS];
    int currentCaption;   // caption picture now in the strip; 0 = none

    int zoomed;
    ScenePoint scroll;    // top-left of the magnified quarter, picture coordinates
    int undoAvailable;
    // Outside this rectangle (picture coordinates) the canvas and the undo copy hold the same
    // pixels: what a press's save of undo has to copy, and all that undo has to put back.
    RECT undoChanged;
    // Outside this rectangle the canvas and the spare hold the same pixels: what is left for the
    // idle ticks to copy.
    RECT spareChanged;
    // Window coordinates: where the window shows the picture straight from the canvas bitmap and
    // the scene bitmap's canvas view has not caught up with it yet (empty = nowhere).
    RECT viewBehind;
    int modified;         // the picture changed since it was last saved, opened or started

    // Text tool defaults and the picture file.
    char fontFace[64];
    char text[256];
    int textSizes[5];
    char fileName[260];
    char browseFolder[257];
};

extern SceneState scene;

// The can that owns each body rectangle of the layout.
extern const int canBodyOwner[SCENE_CAN_BODIES];

// ---------------------------------------------------------------- construction and layout
// Builds the whole scene for the main window (a toolbox window index) and shows it.
void scene_Startup(int mainWindow);
// Builds the whole scene for the main window in its bitmaps, showing nothing on the window:
// scene_ShowAll then shows it as scene_Startup would have.
void scene_Prepare(int mainWindow);
// Recomputes every rectangle of the room from the main window's rectangle.
void scene_Layout(void);
// Constructs the thirty records and gives each its fields, slots, bounds and outline region.
void scene_BuildObjectTable(void);
// Lays the room out again after a display change, keeping the picture (stretched) and the
// current tool, group, colour and can colours.
void scene_Relayout(void);
// Disposes of the scene's bitmaps and calls every object's Destroy.
void scene_Shutdown(void);
// The installer of a tool, or nullptr while the object keeps the default slots.
SceneToolInstaller scene_ToolInstaller(int index);

// ---------------------------------------------------------------- composition and view
void scene_Compose(int background, int cans, int full);
void scene_ComposeCanvasView(void);
void scene_ShowAll(void);
void scene_Refresh(const RECT* rect);
// The refresh after a tool drew into the picture only under rect (window coordinates): the same
// pixels reach the window as scene_Refresh would bring there, but while magnified only the part
// of the view under rect is recomposed, not the whole view.
void scene_RefreshDrawn(const RECT* rect);
// The same for several rectangles at once, shown together.
void scene_RefreshDrawnRects(const RECT* rects, int count);
// Copies a rectangle of the scene bitmap onto the window.
void scene_ShowRect(const RECT* rect);
// Brings the scene bitmap's canvas view up to the picture under rect (window coordinates) where a
// refresh sent the picture straight to the window: whatever reads that view from the scene bitmap
// calls it first (the scene's own showing does).
void scene_CatchUpView(const RECT* rect);
// The picture changed under rect (window coordinates, unmagnified) where the window already shows
// it as it is now: the scene bitmap's canvas view there is marked behind, for its next reader.
void scene_ViewBehind(const RECT* rect);
// Copies several rectangles of the scene bitmap onto the window together (a rubber band's wipe).
void scene_ShowRects(const RECT* rects, int count);
void scene_DrawToolsOfGroup(void);
void scene_DrawGroupMarker(int target);
void scene_DrawSelectionMarker(void);
void scene_DrawSpeaker(void);
void scene_DrawSpyglass(void);
void scene_ShowCaption(int captionId);
void scene_SetCurrentColor(unsigned red, unsigned green, unsigned blue, int show);
void scene_RecolorCan(int can, unsigned red, unsigned green, unsigned blue, int show);

// ---------------------------------------------------------------- undo
// The whole canvas into the undo copy.
void scene_SaveUndo(void);
// The same undo copy made at a press: only what changed since the last save is copied.
void scene_SaveUndoChanged(void);
// Whatever draws into the canvas bitmap says where (picture coordinates; nullptr = anywhere).
void scene_PictureChanged(const RECT* picture);
// One idle tick's share of bringing the spare up to the picture (a band of at most 128 kB); 0 once
// there is nothing left to copy or while a gesture goes on.
int scene_CatchUpSpare(void);
void scene_Undo(void);
void scene_CleanerBottle(void);

// ---------------------------------------------------------------- small helpers
// Window to picture coordinates (halved and scrolled while zoomed).
ScenePoint scene_ToPicture(int x, int y);
int scene_OnCanvas(int x, int y);
// The paint can under a window point: the first lid that holds it, overridden by a can body; -1 = none.
int scene_CanAt(int x, int y);
