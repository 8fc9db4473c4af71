// The room's layout from the window size, the scene's bitmaps, the table of thirty objects, the
// start-up of the scene and its re-layout when the display changes.
#include <string.h>

#include "scene/scene.h"
#include "scene/scene_routing.h"
#include "toolbox.h"
#include "tools/brush.h"
#include "tools/bump.h"
#include "tools/decorations.h"
#include "tools/dropper_scissors.h"
#include "tools/eraser_spray.h"
#include "tools/pencil.h"
#include "tools/ruler_templates.h"
#include "tools/stamps.h"

const int canBodyOwner[SCENE_CAN_BODIES] = {0, 0, 5, 6, 7, 2};

static void Set(RECT* r, int left, int top, int right, int bottom) { SetRect(r, left, top, right, bottom); }

void scene_Layout(void)
{
    SceneLayout& L = scene.layout;
    RECT window = {0, 0, 0, 0};
    tb_GetWindowRect(scene.mainWindow, &window);
    int W = window.right - window.left, H = window.bottom - window.top;
    L.width = W;
    L.height = H;

    Set(&L.canvas, 147, 16, W - 19, H - 96);
    L.canvasWidth = W - 166;
    L.canvasHeight = H - 112;
    L.origin = {147, 16};
    Set(&L.picture, 0, 0, L.canvasWidth, L.canvasHeight);
    L.panelOffset = H - 480;
    L.tableTop = H - 96;

    Set(&L.optionPanel, 7, H - 143, 101, H - 61);
    Set(&L.rockButton, 0, H - 411, 58, H - 356);
    Set(&L.booksButton, 59, H - 446, 101, H - 356);
    Set(&L.toolBoxButton, 0, H - 308, 51, H - 235);
    Set(&L.magicHatButton, 55, H - 293, 101, H - 235);
    Set(&L.printer, 0, H - 195, 48, H - 155);
    Set(&L.toysButton, 50, H - 219, 104, H - 154);
    Set(&L.keyboard, 21, H - 54, 123, H - 24);
    Set(&L.cleaner, 127, H - 136, 146, H - 62);
    Set(&L.remote, 137, H - 55, 176, H - 24);
    Set(&L.paintTube, 483, H - 41, 538, H - 20);
    Set(&L.paintBlot, 439, H - 40, 483, H - 23);
    Set(&L.spyglass, 590, H - 21, 612, H);
    Set(&L.speaker, 618, H - 21, 634, H);
    Set(&L.captionStrip, 0, H - 22, 572, H);

    Set(&L.canLids[0], 476, H - 94, 511, H - 84);
    Set(&L.canLids[1], 512, H - 96, 547, H - 87);
    Set(&L.canLids[2], 552, H - 93, 588, H - 84);
    Set(&L.canLids[3], 512, H - 87, 550, H - 79);
    Set(&L.canLids[4], 554, H - 84, 592, H - 76);
    Set(&L.canLids[5], 491, H - 80, 529, H - 71);
    Set(&L.canLids[6], 533, H - 76, 572, H - 66);
    Set(&L.canLids[7], 575, H - 76, 616, H - 66);
    Set(&L.canCluster, 475, H - 96, 617, H - 57);
    Set(&L.canBodies[0], 476, H - 96, 511, H - 82);
    Set(&L.canBodies[1], 476, H - 82, 492, H - 47);
    Set(&L.canBodies[2], 493, H - 81, 528, H - 42);
    Set(&L.canBodies[3], 534, H - 76, 571, H - 28);
    Set(&L.canBodies[4], 576, H - 76, 615, H - 27);
    Set(&L.canBodies[5], 552, H - 96, 588, H - 84);
    Set(&L.tableMiddle, 185, H - 96, 468, H);
    Set(&L.table, 0, H - 96, W, H);
    Set(&L.leftPanel, 0, 0, 147, H);

    Set(&L.highlights[SCENE_SPOT_ROCK], 0, H - 470, 111, H - 345);
    Set(&L.highlights[SCENE_SPOT_BOOKS], 0, H - 470, 111, H - 345);
    Set(&L.highlights[SCENE_SPOT_TOOL_BOX], 0, H - 348, 111, H - 223);
    Set(&L.highlights[SCENE_SPOT_MAGIC_HAT], 0, H - 348, 111, H - 223);
    Set(&L.highlights[SCENE_SPOT_PRINTER], 0, H - 234, 111, H - 143);
    Set(&L.highlights[SCENE_SPOT_TOYS], 0, H - 234, 111, H - 143);
    Set(&L.highlights[SCENE_SPOT_KEYBOARD], 5, H - 60, 138, H - 13);
    Set(&L.highlights[SCENE_SPOT_CLEANER], 124, H - 139, 147, H - 47);
    Set(&L.highlights[SCENE_SPOT_REMOTE], 131, H - 60, 181, H - 17);
    Set(&L.highlights[SCENE_SPOT_PAINT_TUBE], 483, H - 41, 538, H - 20);
}

// ---------------------------------------------------------------- the object table

namespace {

const int kOutlineEnd = TB_POINT_END;
const int kCorners = -1;  // the outline is the four corners of the bounds

// What construction gives each object beyond the defaults. Rectangles and outlines are measured
// from the bottom of the window: a y value v stands for H - v.
struct ObjectRow {
    int group;
    int imageId, maskId;
    int cursorId;
    int size;   // 0 keeps the default
    int mode;
    int soundId;
    int preview;  // 1: previewWindow is the main window
    RECT bounds;  // left, H - top, right, H - bottom
    int outline[24];  // x, v pairs, ended by kOutlineEnd; or kCorners
};

const ObjectRow kRows[SCENE_OBJECTS] = {
    // 0 Pencil
    {0, 154, 163, 204, 0, 0, 1000, 0, {363, 36, 428, 22}, {364, 30, 425, 37, 425, 28, 364, 23, kOutlineEnd}},
    // 1 Brush
    {0, 155, 164, 205, 24, 0, 1001, 0, {326, 51, 414, 29}, {326, 38, 404, 52, 417, 48, 328, 28, kOutlineEnd}},
    // 2 Eraser
    {0, 156, 165, 206, 24, 0, 1003, 0, {308, 55, 344, 40}, {308, 53, 343, 56, 342, 44, 309, 40, kOutlineEnd}},
    // 3 Spray Can
    {0, 157, 166, 208, 24, 0, 0, 0, {188, 80, 207, 26}, {189, 79, 205, 79, 205, 28, 189, 28, kOutlineEnd}},
    // 4 Ruler
    {0, 158, 167, 209, 0, 0, 1002, 1, {370, 64, 463, 49}, {371, 65, 462, 61, 462, 51, 370, 55, kOutlineEnd}},
    // 5 Templates
    {0, 159, 168, 211, 0, 0, 1029, 1, {222, 42, 259, 25},
     {221, 35, 226, 40, 235, 42, 245, 41, 247, 38, 258, 38, 257, 27, 234, 27, 234, 28, 225, 30, kOutlineEnd}},
    // 6 Jar
    {0, 160, 169, 207, 0, 0, 1004, 0, {277, 50, 299, 23}, {277, 50, 298, 50, 298, 24, 277, 24, kOutlineEnd}},
    // 7 Dropper
    {0, 161, 170, 200, 0, 0, 1019, 0, {272, 69, 324, 52},
     {272, 68, 295, 69, 323, 61, 323, 57, 283, 54, 272, 55, kOutlineEnd}},
    // 8 Scissors
    {0, 162, 171, 210, 1, 0, 1005, 1, {214, 61, 260, 42},
     {215, 60, 256, 63, 259, 51, 232, 47, 220, 42, 215, 51, kOutlineEnd}},
    // 9..14 Bump Patterns: picture 200 + k, mask 206 + k, texture 212 + k
    {1, 200, 206, 213, 32, 212, 0, 0, {360, 54, 435, 24}, {kCorners}},
    {1, 201, 207, 213, 32, 213, 0, 0, {282, 79, 343, 55}, {kCorners}},
    {1, 202, 208, 213, 32, 214, 0, 0, {208, 79, 270, 55}, {kCorners}},
    {1, 203, 209, 213, 32, 215, 0, 0, {356, 79, 419, 55}, {kCorners}},
    {1, 204, 210, 213, 32, 216, 0, 0, {189, 54, 263, 25}, {kCorners}},
    {1, 205, 211, 213, 32, 217, 0, 0, {276, 54, 347, 25}, {kCorners}},
    // 15 Volume 3, 16 Volume 2, 17 Volume 1
    {2, 500, 503, 228, 1, 0, 0, 1, {181, 75, 283, 25}, {kCorners}},
    {2, 501, 504, 228, 1, 0, 0, 1, {279, 73, 364, 25}, {kCorners}},
    {2, 502, 505, 228, 1, 0, 0, 1, {363, 74, 447, 25}, {kCorners}},
    // 18 Pocket Knife
    {3, 300, 306, 214, 28, 1, 1037, 0, {372, 41, 428, 26}, {kCorners}},
    // 19 Sunglasses
    {3, 301, 307, 215, 28, 2, 1032, 0, {271, 57, 356, 22},
     {314, 57, 356, 57, 356, 22, 271, 22, 271, 39, kOutlineEnd}},
    // 20 Lightbulb
    {3, 302, 308, 216, 28, 3, 1033, 0, {199, 54, 246, 22},
     {223, 54, 246, 54, 246, 22, 199, 22, 199, 38, kOutlineEnd}},
    // 21 Rag
    {3, 303, 309, 217, 28, 4, 1030, 0, {366, 76, 426, 42}, {kCorners}},
    // 22 Crayon
    {3, 304, 310, 218, 28, 5, 1038, 0, {261, 68, 314, 52}, {kCorners}},
    // 23 Pepper
    {3, 305, 311, 219, 28, 6, 1036, 0, {193, 79, 210, 45}, {kCorners}},
    // 24 Hammer & Chisel
    {4, 400, 406, 220, 28, 7, 1026, 0, {371, 58, 422, 23}, {kCorners}},
    // 25 Ball
    {4, 401, 407, 221, 48, 0, 0, 0, {294, 49, 318, 25}, {kCorners}},
    // 26 Cog
    {4, 402, 408, 222, 16, 1, 1025, 0, {197, 49, 258, 19}, {kCorners}},
    // 27 Wand
    {4, 403, 409, 223, 48, 0, 1011, 0, {343, 72, 457, 51}, {kCorners}},
    // 28 Needle & Thread
    {4, 404, 410, 224, 48, 0, 1024, 0, {283, 89, 334, 52}, {kCorners}},
    // 29 Paintball Gun
    {4, 405, 411, 225, 90, 0, 0, 0, {184, 89, 259, 51}, {kCorners}},
};

// Where the tools plug in: one entry per object, the function that installs its own slots.
// nullptr keeps the default slots.
//   0 pencil: size panel A               1 brush: strokes with blended edges, size panel B
//   2 eraser: size panel A               3 spray can: size panel B
//   4 ruler: rubber band, size panel A   5 templates: rubber band, shapes panel
//   6 jar: fill                          7 dropper: colour from the picture
//   8 scissors: cut piece                9..14 bump patterns: one shared installer
//   15..17 books of stamps               18..24 effect brushes (22 with its own panel)
//   25..29 decoration tools
SceneToolInstaller toolInstallers[SCENE_OBJECTS] = {
    pencil_Install,       // 0
    brush_Install,        // 1
    eraser_Install,       // 2
    spray_Install,        // 3
    ruler_Install,        // 4
    templates_Install,    // 5
    jar_Install,          // 6
    dropper_Install,      // 7
    scissors_Install,     // 8
    bump_Install,         // 9
    bump_Install,         // 10
    bump_Install,         // 11
    bump_Install,         // 12
    bump_Install,         // 13
    bump_Install,         // 14
    stamps_InstallBook,   // 15
    stamps_InstallBook,   // 16
    stamps_InstallBook,   // 17
    effectBrush_Install,  // 18
    effectBrush_Install,  // 19
    effectBrush_Install,  // 20
    effectBrush_Install,  // 21
    crayon_Install,       // 22
    effectBrush_Install,  // 23
    effectBrush_Install,  // 24
    decor_InstallBall,    // 25
    decor_InstallCog,     // 26
    decor_InstallWand,    // 27
    decor_InstallNeedle,  // 28
    decor_InstallGun,     // 29
};

int CreateOutlineRegion(const ObjectRow& row, const RECT& bounds, int H)
{
    TB_Point points[SCENE_MAX_OUTLINE];
    int count = 0;
    if (row.outline[0] == kCorners) {
        points[count++] = {bounds.left, bounds.top};
        points[count++] = {bounds.right, bounds.top};
        points[count++] = {bounds.right, bounds.bottom};
        points[count++] = {bounds.left, bounds.bottom};
    } else {
        for (int i = 0; row.outline[i] != kOutlineEnd && count < SCENE_MAX_OUTLINE - 1; i += 2)
            points[count++] = {row.outline[i], H - row.outline[i + 1]};
    }
    points[count] = {TB_POINT_END, TB_POINT_END};
    return tb_CreateRegion(points);
}

}  // namespace

SceneToolInstaller scene_ToolInstaller(int index)
{
    return index >= 0 && index < SCENE_OBJECTS ? toolInstallers[index] : nullptr;
}

void scene_BuildObjectTable(void)
{
    int H = scene.layout.height;
    for (int i = 0; i < SCENE_OBJECTS; ++i) {
        SceneObject& o = scene.objects[i];
        o.Construct = scene_DefaultConstruct;
        o.Construct(&o, scene.sceneBitmap, scene.canvasBitmap);
    }
    for (int i = 0; i < SCENE_OBJECTS; ++i) {
        SceneObject& o = scene.objects[i];
        const ObjectRow& row = kRows[i];
        o.group = row.group;
        o.imageId = row.imageId;
        o.maskId = row.maskId;
        o.cursorId = row.cursorId;
        if (row.size) o.size = row.size;
        o.mode = row.mode;
        o.soundId = row.soundId;
        if (row.preview) o.previewWindow = scene.mainWindow;
        if (i == 22) {
            // The crayon keeps a colour of its own: the current colour is never handed to it.
            o.red = 1;
            o.green = 0;
            o.blue = 0;
        }
        SetRect(&o.bounds, row.bounds.left, H - row.bounds.top, row.bounds.right, H - row.bounds.bottom);
        o.region = CreateOutlineRegion(row, o.bounds, H);
        if (toolInstallers[i]) toolInstallers[i](&o);
    }
}

// ---------------------------------------------------------------- bitmaps, start-up, re-layout

static void CreateSceneBitmaps(void)
{
    const SceneLayout& L = scene.layout;
    RECT window = {0, 0, L.width, L.height};
    scene.sceneBitmap = tb_CreateBitmap(&window, TB_SOURCE_BLANK, 24);
    tb_SetForeColor(scene.sceneBitmap, 65025, 65025, 65025);
    tb_SetBackColor(scene.sceneBitmap, 65025, 65025, 65025);
    tb_PaintRect(scene.sceneBitmap, &L.canvas);

    RECT picture = L.picture;
    scene.undoBitmap = tb_CreateBitmap(&picture, TB_SOURCE_BLANK, 24);
    tb_SetForeColor(scene.undoBitmap, 65025, 65025, 65025);
    tb_SetBackColor(scene.undoBitmap, 65025, 65025, 65025);
    tb_PaintRect(scene.undoBitmap, &L.picture);

    picture = L.picture;
    scene.spareBitmap = tb_CreateBitmap(&picture, TB_SOURCE_BLANK, 24);

    picture = L.picture;
    scene.canvasBitmap = tb_CreateBitmap(&picture, TB_SOURCE_BLANK, 24);
    tb_SetForeColor(scene.canvasBitmap, 65025, 65025, 65025);
    tb_SetBackColor(scene.canvasBitmap, 65025, 65025, 65025);
    tb_PaintRect(scene.canvasBitmap, &L.picture);
    tb_SetClipRect(scene.canvasBitmap, &L.picture);
    scene.undoChanged = scene.spareChanged = L.picture;  // nothing known of the three yet
    SetRectEmpty(&scene.viewBehind);  // a new scene bitmap, composed before it is shown
}

static void DisposeIfAny(int* bitmap)
{
    if (*bitmap >= 0) tb_DisposeBitmap(*bitmap);
    *bitmap = -1;
}

void scene_Prepare(int mainWindow)
{
    scene.mainWindow = mainWindow;
    scene.sceneBitmap = scene.undoBitmap = scene.spareBitmap = scene.canvasBitmap = scene.tableBackup = -1;
    scene_Layout();

    static const int highlightPictures[SCENE_HOT_SPOTS] = {114, 115, 116, 117, 118, 119, 120, 121, 122, 138};
    static const SceneColor canColors[SCENE_CANS] = {
        {65025, 65025, 65025}, {0, 0, 0},         {65025, 0, 0},     {0, 65025, 0},
        {0, 0, 65025},         {65025, 65025, 0}, {65025, 0, 65025}, {65025, 32640, 0},
    };
    static const ScenePoint fillPoints[SCENE_CANS] = {{16, 6},  {50, 3},  {92, 8},  {54, 12},
                                                      {97, 15}, {35, 20}, {75, 23}, {118, 24}};
    for (int i = 0; i < SCENE_HOT_SPOTS; ++i) {
        scene.highlightShown[i] = 0;
        scene.highlightPictures[i] = highlightPictures[i];
    }
    for (int i = 0; i < SCENE_CANS; ++i) {
        scene.canMasks[i] = 141 + i;
        scene.canColors[i] = canColors[i];
        scene.canFillPoints[i] = fillPoints[i];
    }
    scene.currentColor = {65025, 0, 0};
    scene.currentGroup = 0;
    scene.currentObject = 0;
    scene.currentCaption = 0;
    scene.zoomed = 0;
    scene.scroll = {0, 0};
    scene.undoAvailable = 0;
    scene.modified = 0;

    CreateSceneBitmaps();
    scene_BuildObjectTable();
    scene_Compose(1, 1, 0);

    strcpy(scene.fontFace, "Arial");
    strcpy(scene.text, "Type your text in here.");
    static const int sizes[5] = {10, 20, 40, 60, 80};
    memcpy(scene.textSizes, sizes, sizeof sizes);
    strcpy(scene.fileName, "Tintwell.bmp");
    scene.browseFolder[0] = 0;
    GetCurrentDirectoryA(sizeof scene.browseFolder - 1, scene.browseFolder);
}

void scene_Startup(int mainWindow)
{
    scene_Prepare(mainWindow);
    scene_ShowAll();
}

static int ClampScroll(int value, int high) { return value < 0 ? 0 : (value > high ? high : value); }

// The picture is stretched to the new canvas: a magnified view keeps showing the same part of
// it, and its quarter stays inside the picture even when the canvas became smaller.
static void KeepScrollOnThePicture(const RECT& oldPicture)
{
    if (!scene.zoomed) return;
    const SceneLayout& L = scene.layout;
    const int oldWidth = oldPicture.right - oldPicture.left, oldHeight = oldPicture.bottom - oldPicture.top;
    int x = oldWidth > 0 ? MulDiv(scene.scroll.x, L.canvasWidth, oldWidth) : 0;
    int y = oldHeight > 0 ? MulDiv(scene.scroll.y, L.canvasHeight, oldHeight) : 0;
    scene.scroll.x = ClampScroll(x, L.canvasWidth - L.canvasWidth / 2);
    scene.scroll.y = ClampScroll(y, L.canvasHeight - L.canvasHeight / 2);
}

void scene_Relayout(void)
{
    // A stroke in progress ends here as its release would have ended it, in the old picture.
    scene_EndGesture();
    RECT oldPicture = scene.layout.picture;
    const long long oldArea = (long long)scene.layout.width * scene.layout.height;
    // The old picture stays in its own bitmap until it has been copied into the new canvas: a copy
    // of it would cost more in fresh memory than the copy itself.
    int kept = scene.canvasBitmap;
    int oldScene = scene.sceneBitmap, oldUndo = scene.undoBitmap, oldSpare = scene.spareBitmap;
    scene.canvasBitmap = scene.sceneBitmap = scene.undoBitmap = scene.spareBitmap = -1;
    for (int i = 0; i < SCENE_OBJECTS; ++i)
        if (scene.objects[i].Destroy) scene.objects[i].Destroy(&scene.objects[i]);

    scene_Layout();
    // When the display shrinks, the window-sized bitmaps keep their pages for its return to the
    // old size (a display changed for a game or a projector comes back): on a large screen their
    // fresh memory would be most of the wait. A display that grows gives the old ones back first.
    const bool shrinking = (long long)scene.layout.width * scene.layout.height < oldArea;
    if (oldScene >= 0) tb_DisposeBitmapForReturn(oldScene, shrinking);
    if (oldUndo >= 0) tb_DisposeBitmapForReturn(oldUndo, shrinking);
    if (oldSpare >= 0) tb_DisposeBitmapForReturn(oldSpare, shrinking);
    KeepScrollOnThePicture(oldPicture);
    CreateSceneBitmaps();
    scene_BuildObjectTable();
    // The picture goes into the new canvas before the room is composed and shown whole (nothing
    // reaches the window in between, so the order shows the same).
    if (kept >= 0) tb_CopyBitmap(kept, scene.canvasBitmap, &oldPicture, &scene.layout.picture);
    scene_SaveUndo();
    scene_Compose(1, 1, 1);
    if (kept >= 0) tb_DisposeBitmapForReturn(kept, shrinking);
}

void scene_Shutdown(void)
{
    DisposeIfAny(&scene.sceneBitmap);
    DisposeIfAny(&scene.undoBitmap);
    DisposeIfAny(&scene.spareBitmap);
    DisposeIfAny(&scene.canvasBitmap);
    DisposeIfAny(&scene.tableBackup);
    for (int i = 0; i < SCENE_OBJECTS; ++i)
        if (scene.objects[i].Destroy) scene.objects[i].Destroy(&scene.objects[i]);
    tb_ReleaseSurfacePool();  // the surfaces kept for the room's pictures go with it
}

// ---------------------------------------------------------------- coordinates

int scene_OnCanvas(int x, int y) { return tb_PtInRect(x, y, &scene.layout.canvas); }

ScenePoint scene_ToPicture(int x, int y)
{
    int px = x - scene.layout.origin.x, py = y - scene.layout.origin.y;
    if (scene.zoomed) return {px / 2 + scene.scroll.x, py / 2 + scene.scroll.y};
    return {px, py};
}

int scene_CanAt(int x, int y)
{
    const SceneLayout& L = scene.layout;
    int can = -1;
    for (int i = 0; i < SCENE_CANS && can < 0; ++i)
        if (tb_PtInRect(x, y, &L.canLids[i])) can = i;
    for (int i = 0; i < SCENE_CAN_BODIES; ++i)
        if (tb_PtInRect(x, y, &L.canBodies[i])) can = canBodyOwner[i];
    return can;
}
