// Pointer routing: what the pointer is over (the canvas, a tool on the table, a hot spot of the
// room), the tool's Press, Drag and Release on the canvas, the hot spots on release, and the hover
// feedback (cursor, left-panel highlight, caption) while no button is down.
#include "scene/scene_routing.h"

#include <vector>

#include "pictures/picture_files.h"
#include "pictures/policy.h"
#include "toolbox.h"
#include "tools/decorations.h"
#include "tools/dropper_scissors.h"
#include "tools/eraser_spray.h"
#include "tools/ruler_templates.h"
#include "tools/stamps.h"
#include "tools/text.h"

SceneRouting routing = {{0, 0}, 0, 0, 0, 0};

// ---------------------------------------------------------------- work of the parts that come later

void scene_PrintNotYet(void) {}
int scene_TextDialogNotYet(void) { return 0; }
void scene_PlaceTextNotYet(int x, int y) {}
void scene_TextPreviewNotYet(int x, int y) {}
int scene_StampBookNotYet(SceneObject* book) { return 0; }
int scene_PaletteDialogNotYet(SceneColor* chosen) { return 0; }
void scene_WritePreferencesNotYet(void) {}
void scene_DispatchCommandNotYet(int command) {}

// ---------------------------------------------------------------- pieces that follow the pointer

void scene_PieceSize(int object, int* w, int* h)
{
    *w = 0;
    *h = 0;
    if (object == 8) {
        scissors_PieceSize(w, h);
    } else if (object >= 15 && object <= 17) {
        stamps_PieceSize(w, h);
    }
}

void scene_DisposeToolBitmaps(void)
{
    scissors_DisposePiece();
    stamps_DisposeStamp();
}

SceneServices sceneServices = {
    pictures_Print,              text_Dialog,                 text_Place,
    text_Preview,               stamps_Book,                 scene_PaletteDialogNotYet,
    scene_WritePreferencesNotYet, scene_DispatchCommandNotYet, scene_PieceSize,
    scene_DisposeToolBitmaps,
};

// ---------------------------------------------------------------- sounds, cursors and captions

namespace {

enum {
    SOUND_PICK = 1034,
    SOUND_OPTIONS = 1035,
    SOUND_CAN = 1019,
    SOUND_SPYGLASS = 1015,
    SOUND_TEXT = 1020,
};

enum {
    CURSOR_CAN = 200,
    CURSOR_TOOL = 201,
    CURSOR_HOT_SPOT = 202,
    CURSOR_ROOM = 203,
    CURSOR_ZOOM_PENDING = 212,
    CURSOR_SWITCH = 226,
    CURSOR_TEXT_PENDING = 227,
};

enum {
    CAPTION_CAN = 712,
    CAPTION_MONITOR = 715,
    CAPTION_SPYGLASS = 738,
    CAPTION_SPEAKER = 739,
    CAPTION_PAINT_BLOT = 740,
};

// The caption of each object on the table.
const int kObjectCaptions[SCENE_OBJECTS] = {
    701, 702, 704, 709, 703, 707, 706, 705, 708,  // 0..8: pencil .. scissors
    734, 734, 734, 734, 734, 734,                 // 9..14: bump patterns
    737, 736, 735,                                // 15..17: volumes 3, 2, 1
    728, 729, 730, 731, 732, 733,                 // 18..23: knife .. pepper
    722, 723, 724, 725, 726, 727,                 // 24..29: hammer .. paintball gun
};

// The captions of the ten left-panel hot spots, in their order.
const int kSpotCaptions[SCENE_HOT_SPOTS] = {720, 721, 717, 718, 716, 719, 713, 710, 714, 711};

SceneObject& Current(void) { return scene.objects[scene.currentObject]; }

bool IsBook(int index) { return index == 15 || index == 16 || index == 17; }
bool IsRubberBand(int index) { return index == 4 || index == 5; }
// Objects that get window coordinates from the press and move handlers.
bool TakesWindowPoints(int index) { return IsRubberBand(index) || index == 8 || IsBook(index); }

void ShowCurrentCursor(void) { tb_SetCursor(Current().cursorId); }

// The tool's cursor at the end of an event, unless the event set that very cursor last already
// (the platform's call costs about 40 microseconds under Wine).
void EnsureCurrentCursor(unsigned setsBefore)
{
    int last = -1;
    if (tb_CursorSets(&last) != setsBefore && last == Current().cursorId) return;
    ShowCurrentCursor();
}

bool In(const RECT& r, int x, int y) { return tb_PtInRect(x, y, &r) != 0; }

const RECT& SpotRect(int spot)
{
    const SceneLayout& L = scene.layout;
    switch (spot) {
    case SCENE_SPOT_ROCK: return L.rockButton;
    case SCENE_SPOT_BOOKS: return L.booksButton;
    case SCENE_SPOT_TOOL_BOX: return L.toolBoxButton;
    case SCENE_SPOT_MAGIC_HAT: return L.magicHatButton;
    case SCENE_SPOT_PRINTER: return L.printer;
    case SCENE_SPOT_TOYS: return L.toysButton;
    case SCENE_SPOT_KEYBOARD: return L.keyboard;
    case SCENE_SPOT_CLEANER: return L.cleaner;
    case SCENE_SPOT_REMOTE: return L.remote;
    default: return L.paintTube;
    }
}

// The first object of the current group whose outline holds the point; -1 = none.
int ObjectAt(int x, int y)
{
    for (int i = 0; i < SCENE_OBJECTS; ++i) {
        const SceneObject& o = scene.objects[i];
        if (o.group == scene.currentGroup && o.region >= 0 && tb_PtInRegion(x, y, o.region)) return i;
    }
    return -1;
}

bool InCans(int x, int y)
{
    const SceneLayout& L = scene.layout;
    if (In(L.canCluster, x, y)) return true;
    for (int i = 0; i < SCENE_CAN_BODIES; ++i)
        if (In(L.canBodies[i], x, y)) return true;
    return false;
}

int Clamp(int v, int low, int high) { return v < low ? low : (v > high ? high : v); }

// A window point in picture coordinates. While magnified, a canvas of odd width or height would
// map its last column or row one pixel past the picture: the point is kept on the picture.
ScenePoint PicturePoint(int x, int y)
{
    ScenePoint p = scene_ToPicture(x, y);
    if (scene.zoomed) {
        p.x = Clamp(p.x, 0, scene.layout.canvasWidth - 1);
        p.y = Clamp(p.y, 0, scene.layout.canvasHeight - 1);
    }
    return p;
}

// The point for the current object's Press and Drag: window coordinates (kept inside the canvas
// where the object asks for it) or picture coordinates.
ScenePoint ToolPoint(int* x, int* y)
{
    int index = scene.currentObject;
    if (TakesWindowPoints(index)) {
        if (!IsBook(index) && !(index == 8 && Current().mode == 1)) scene_KeepInside(x, y);
        return {*x, *y};
    }
    return PicturePoint(*x, *y);
}

void ClipScene(void)
{
    if (scene.currentObject != 7) tb_SetClipRect(scene.sceneBitmap, &scene.layout.canvas);
}

void RefreshCanvas(void) { scene_Refresh(&scene.layout.canvas); }

// ---------------------------------------------------------------- refreshing what changed
// A press or a release of most tools changes only a small place of the picture (or none): the
// refresh after them covers that place, which shows the same as refreshing the whole canvas at a
// fraction of its cost on large windows. Tools not named here get the whole canvas.

// Tools whose press marks only the square of their size under the pointer (the decorations'
// balls, stars, stitches and splats are scattered no farther than half their size), and whose
// release draws nothing that was not shown as it was made.
bool MarksUnderThePointer(int index) { return index <= 3 || (index >= 9 && index <= 14) || index >= 18; }

RECT Around(int x, int y, int grow)
{
    RECT r = {x - grow, y - grow, x + grow + 1, y + grow + 1};
    return r;
}

RECT Spanned(ScenePoint a, ScenePoint b, int grow)
{
    RECT r = {a.x < b.x ? a.x : b.x, a.y < b.y ? a.y : b.y, a.x > b.x ? a.x : b.x, a.y > b.y ? a.y : b.y};
    InflateRect(&r, grow + 1, grow + 1);
    return r;
}

// What the refresh after a gesture's event has to cover.
struct RefreshPlan {
    bool whole;
    RECT rect;  // when not whole; empty = nothing to refresh
    RECT also;  // refreshed with rect, apart from it (empty = none)
    // A rubber band's release without magnification: the last preview and the figure, along their
    // own pixels (a line, or the outline of a shape; -1 = none).
    int band;            // 4 line, 5 shape of the templates, 8 marquee
    int shape;
    ScenePoint start, last, end;
    int pen;
    bool fill;  // the jar's press: where its fill painted, known once it has run
    // A filled figure that the window shows already: its last preview, drawn where the release
    // ends it and untouched since, has the figure's very pixels. Only the picture changes.
    bool shown;
};

// Refreshes a rectangle of the window from the picture, cut to the window; the picture changed
// only there.
void RefreshCut(const RECT* rect)
{
    RECT window = {0, 0, scene.layout.width, scene.layout.height}, r;
    if (IntersectRect(&r, rect, &window)) scene_RefreshDrawn(&r);
}

// A rectangle of the picture as the window shows it, magnified or not.
RECT PictureToWindow(RECT r)
{
    const ScenePoint o = scene.layout.origin;
    if (!scene.zoomed) {
        OffsetRect(&r, o.x, o.y);
        return r;
    }
    const ScenePoint s = scene.scroll;
    RECT w = {o.x + (r.left - s.x) * 2, o.y + (r.top - s.y) * 2, o.x + (r.right - s.x) * 2, o.y + (r.bottom - s.y) * 2};
    return w;
}

// The picture pixels a window rectangle of the canvas shows, magnified or not (all of them).
RECT WindowToPicture(RECT w)
{
    const ScenePoint o = scene.layout.origin;
    if (!scene.zoomed) {
        OffsetRect(&w, -o.x, -o.y);
        return w;
    }
    const ScenePoint s = scene.scroll;
    auto half = [](int v) { return v >= 0 ? v / 2 : -((1 - v) / 2); };  // rounded down
    RECT p = {half(w.left - o.x) + s.x, half(w.top - o.y) + s.y, half(w.right - o.x + 1) + s.x,
              half(w.bottom - o.y + 1) + s.y};
    return p;
}

// The picture changed under a window rectangle of the canvas (the undo copy must learn it).
void ChangedUnder(const RECT& window)
{
    if (IsRectEmpty(&window)) return;
    RECT p = WindowToPicture(window);
    scene_PictureChanged(&p);
}

// The pieces of a rubber band's last preview and figure, cut to the window, refreshed together.
std::vector<RECT> g_cuts;

void CollectCut(const RECT* rect)
{
    RECT window = {0, 0, scene.layout.width, scene.layout.height}, r;
    if (IntersectRect(&r, rect, &window)) g_cuts.push_back(r);
}

void Carry(const RefreshPlan& plan)
{
    // What the event may have changed in the picture is what its refresh covers.
    if (plan.fill) {
        RECT filled = jar_LastFill();
        scene_PictureChanged(&filled);
    } else if (plan.whole) {
        scene_PictureChanged(nullptr);
    } else {
        ChangedUnder(plan.rect);
        ChangedUnder(plan.also);
    }
    if (plan.fill) {
        RECT filled = jar_LastFill();
        if (IsRectEmpty(&filled)) return;
        RECT shown = PictureToWindow(filled), inside;
        if (IntersectRect(&inside, &shown, &scene.layout.canvas)) RefreshCut(&inside);
        return;
    }
    if (plan.whole) {
        RefreshCanvas();
        return;
    }
    if (plan.shown) {
        scene_ViewBehind(&plan.rect);
        return;
    }
    if (plan.band >= 0) {
        g_cuts.clear();
        if (plan.band == 4) {
            rubberBand_WipeLine(CollectCut, plan.start, plan.last, plan.pen);
            rubberBand_WipeLine(CollectCut, plan.start, plan.end, plan.pen);
        } else {
            RECT last = rubberBand_Normalised(plan.start, plan.last), now = rubberBand_Normalised(plan.start, plan.end);
            rubberBand_WipeShape(CollectCut, plan.shape, last, nullptr, plan.pen);
            rubberBand_WipeShape(CollectCut, plan.shape, now, nullptr, plan.pen);
        }
        if (!g_cuts.empty()) scene_RefreshDrawnRects(g_cuts.data(), int(g_cuts.size()));
        return;
    }
    g_cuts.clear();
    CollectCut(&plan.rect);  // an empty rectangle leaves no cut
    CollectCut(&plan.also);
    if (!g_cuts.empty()) scene_RefreshDrawnRects(g_cuts.data(), int(g_cuts.size()));
}

// Planned before the tool's Press runs, from the window point and the tool's state.
RefreshPlan PlanPress(int index, const SceneObject& o, int x, int y)
{
    RefreshPlan plan = {false, {0, 0, 0, 0}, {0, 0, 0, 0}, -1, 0, {0, 0}, {0, 0}, {0, 0}, 0, false, false};
    const int grow = scene.zoomed ? o.size + 10 : o.size / 2 + 5;
    if (MarksUnderThePointer(index)) {
        plan.rect = Around(x, y, grow);
    } else if (index == 4 || index == 5 || index == 7) {
        // A rubber band starts with nothing drawn; the dropper changes no pixel of the picture.
    } else if (index == 6) {
        plan.fill = true;
    } else if (index == 8 || IsBook(index)) {
        // A stamp lands under the pointer; the floating copy drawn at the last move goes.
        int w = 0, h = 0;
        sceneServices.pieceSize(index, &w, &h);
        if (IsBook(index) && scene.zoomed) {
            w *= 2;  // a book's stamp is as large as the picture's pixels
            h *= 2;
        }
        if ((o.mode == 1 || IsBook(index)) && w > 0) {
            RECT here = {x - w / 2 - 2, y - h / 2 - 2, x + w / 2 + 3, y + h / 2 + 3};
            RECT there = {o.currentPoint.x - w / 2 - 2, o.currentPoint.y - h / 2 - 2, o.currentPoint.x + w / 2 + 3,
                          o.currentPoint.y + h / 2 + 3};
            // Two places apart (the pointer may have jumped), each refreshed on its own.
            plan.rect = here;
            if (!EqualRect(&here, &there)) plan.also = there;
        }
    } else {
        plan.whole = true;
    }
    return plan;
}

// Planned before the tool's Release runs, with the window point of the release.
RefreshPlan PlanRelease(int index, const SceneObject& o, int x, int y)
{
    RefreshPlan plan = {false, {0, 0, 0, 0}, {0, 0, 0, 0}, -1, 0, {0, 0}, {0, 0}, {0, 0}, 0, false, false};
    if (MarksUnderThePointer(index) || index == 6 || index == 7 || IsBook(index)) {
        // Their marks were shown as they were made; a book's release prints nothing.
    } else if (index == 4 || index == 5 || index == 8) {
        if (index == 8 && o.mode == 1) return plan;
        // The last preview (or marquee) and the figure lie on the rectangles of the start point
        // with the last and the new end point, grown by the pen.
        const int pen = (index == 8 ? 1 : o.size) * (scene.zoomed ? 2 : 1) + 2;
        RECT last = Spanned(o.lastPoint, o.currentPoint, pen), now = Spanned(o.lastPoint, {x, y}, pen);
        UnionRect(&plan.rect, &last, &now);
        // Lines and outlines, unmagnified: along their pixels only (a magnified refresh recomposes
        // the whole view whatever its size, once is enough).
        const bool outline = index == 8 || index == 4 || o.mode == 0 || o.mode == 2;
        if (!scene.zoomed && outline) {
            plan.band = index;
            plan.shape = index == 8 ? 2 : o.mode;
            plan.start = o.lastPoint;
            plan.last = o.currentPoint;
            plan.end = {x, y};
            plan.pen = index == 4 ? rubberBand_PenReach(o.size) : 3;
        }
        // A filled figure's preview is drawn with the figure's own brush and pen, on the window
        // where the picture shows pixel for pixel.
        plan.shown = index == 5 && !outline && !scene.zoomed && routing.bandShown &&
                     routing.bandDraws == tb_WindowDraws() && o.currentPoint.x == x && o.currentPoint.y == y;
    } else {
        plan.whole = true;
    }
    return plan;
}

// Restores the window from the scene bitmap over a piece of w x h centred on (x, y).
void ErasePiece(int x, int y, int w, int h)
{
    RECT r = {x - w / 2 - 2, y - h / 2 - 2, x + w / 2 + 2, y + h / 2 + 2};
    scene_ShowRect(&r);
}

void PickObject(int index)
{
    tb_PlaySoundNoStop(SOUND_PICK);
    scene.currentObject = index;
    SceneObject& o = Current();
    if (index == 8) o.mode = 0;
    if (index != 22) o.SetColor(&o, scene.currentColor.red, scene.currentColor.green, scene.currentColor.blue);
    scene_Compose(0, 0, 0);
    scene_ShowRect(&scene.layout.table);
    scene_ShowRect(&scene.layout.optionPanel);
    if (IsBook(index) && sceneServices.stampBook(&o)) o.active = 1;
}

void PickCan(int can)
{
    tb_PlaySoundNoStop(SOUND_CAN);
    const SceneColor c = scene.canColors[can];
    scene_SetCurrentColor(c.red, c.green, c.blue, 1);
    SceneObject& o = Current();
    if (scene.currentObject != 22) o.SetColor(&o, c.red, c.green, c.blue);
    if (scene.currentGroup == 4) {
        o.DrawOptions(&o, &scene.layout.optionPanel);
        scene_ShowRect(&scene.layout.optionPanel);
    }
}

// A group's tools on the table. Only the panel and the table change: they are all that is shown
// anew (showing the whole room, as Rock and the Artist's Tool Box might, shows the same at many
// times the cost on a large screen).
void PickGroup(int group)
{
    tb_PlaySoundNoStop(SOUND_PICK);
    scene.currentGroup = group;
    scene_Compose(0, 0, 0);
    scene_ShowRect(&scene.layout.leftPanel);
    scene_ShowRect(&scene.layout.table);
}

void Spyglass(void)
{
    tb_PlaySoundNoStop(SOUND_SPYGLASS);
    if (!scene.zoomed) {
        routing.zoomPending = 1;
        return;
    }
    scene.zoomed = 0;
    scene_DrawSpyglass();
    scene_ShowRect(&scene.layout.spyglass);
    RefreshCanvas();
    ShowCurrentCursor();
}

// The released point becomes the centre of the magnified view, as far as the picture allows.
void ZoomAt(int x, int y)
{
    const SceneLayout& L = scene.layout;
    const int cw = L.canvasWidth, ch = L.canvasHeight;
    tb_PlaySoundNoStop(SOUND_SPYGLASS);
    scene.zoomed = !scene.zoomed;
    scene_DrawSpyglass();
    scene.scroll.x = Clamp((x - L.origin.x) - (cw / 2) / 2, 0, cw - cw / 2);
    scene.scroll.y = Clamp((y - L.origin.y) - (ch / 2) / 2, 0, ch - ch / 2);
    scene_ShowRect(&L.spyglass);
    RefreshCanvas();
}

void Speaker(void)
{
    // A grown-up fixed the sound: the speaker shows it and stays as it is.
    if (policy_LocksPreference(POLICY_SOUND)) return policy_PlayNothing();
    tb_PlaySoundNoStop(SOUND_SPYGLASS);  // before the switch: heard only when sound was on
    tb_SetSoundPreference(!tb_GetSoundPreference());
    scene_DrawSpeaker();
    scene_ShowRect(&scene.layout.speaker);
    sceneServices.writePreferences();
}

void PaintTube(void)
{
    tb_PlaySoundNoStop(SOUND_PICK);
    SceneColor chosen = scene.currentColor;
    int confirmed = sceneServices.paletteDialog(&chosen);
    tb_SetCursor(CURSOR_ROOM);
    if (confirmed) scene_SetCurrentColor(chosen.red, chosen.green, chosen.blue, 1);
}

void Keyboard(void)
{
    tb_PlaySoundNoStop(SOUND_PICK);
    if (!sceneServices.textDialog()) return;
    routing.textPending = 1;
    scene_SaveUndo();
    scene.modified = 1;
}

// Release on the room outside the canvas: the hot spots in their order.
void ReleaseOnHotSpot(int x, int y)
{
    const SceneLayout& L = scene.layout;
    int object = ObjectAt(x, y);
    if (object >= 0) {
        PickObject(object);
        return;
    }
    if (In(L.optionPanel, x, y)) {
        SceneObject& o = Current();
        if (o.ClickOptions != scene_DefaultClickOptions) tb_PlaySoundNoStop(SOUND_OPTIONS);
        o.ClickOptions(&o, x, y, &L.optionPanel);
        o.DrawOptions(&o, &L.optionPanel);
        scene_ShowRect(&L.optionPanel);
        return;
    }
    if (InCans(x, y)) {
        int can = scene_CanAt(x, y);
        if (can >= 0) PickCan(can);
        return;
    }
    if (In(L.rockButton, x, y)) return PickGroup(1);
    if (In(L.booksButton, x, y)) return PickGroup(2);
    if (In(L.toolBoxButton, x, y)) {
        PickGroup(0);
        ShowCurrentCursor();
        return;
    }
    if (In(L.magicHatButton, x, y)) return PickGroup(3);
    if (In(L.printer, x, y)) {
        // Printing off, or the printer resting after the last print: nothing, before any dialog.
        if (pictures_PrintRefused()) return policy_PlayNothing();
        tb_PlaySoundNoStop(SOUND_PICK);
        sceneServices.print();
        return;
    }
    if (In(L.toysButton, x, y)) return PickGroup(4);
    if (In(L.keyboard, x, y)) return Keyboard();
    if (In(L.cleaner, x, y)) return scene_CleanerBottle();
    if (In(L.remote, x, y)) {
        tb_PlaySoundNoStop(SOUND_PICK);
        sceneServices.dispatchCommand(-1);
        return;
    }
    if (In(L.paintTube, x, y)) return PaintTube();
    if (In(L.speaker, x, y)) return Speaker();
    if (In(L.spyglass, x, y)) return Spyglass();
}

// Cursor and caption while no button is down and no gesture runs; first match wins.
void Feedback(int x, int y)
{
    const SceneLayout& L = scene.layout;
    if (scene_LeftPanelHover(x, y)) {
        tb_SetCursor(CURSOR_HOT_SPOT);
        return;
    }
    if (In(L.speaker, x, y)) {
        tb_SetCursor(CURSOR_SWITCH);
        scene_ShowCaption(CAPTION_SPEAKER);
        return;
    }
    if (In(L.spyglass, x, y)) {
        tb_SetCursor(CURSOR_SWITCH);
        scene_ShowCaption(CAPTION_SPYGLASS);
        return;
    }
    bool elsewhere = false;  // a hot spot that does not count here: straight to the last rule
    if (InCans(x, y)) {
        if (scene_CanAt(x, y) >= 0) {
            tb_SetCursor(CURSOR_CAN);
            scene_ShowCaption(CAPTION_CAN);
            return;
        }
        elsewhere = true;
    }
    if (!elsewhere && In(L.optionPanel, x, y)) {
        if (Current().DrawOptions != scene_DefaultDrawOptions) {
            tb_SetCursor(CURSOR_HOT_SPOT);
            scene_ShowCaption(CAPTION_MONITOR);
            return;
        }
        elsewhere = true;
    }
    if (!elsewhere && In(L.paintBlot, x, y)) {
        scene_ShowCaption(CAPTION_PAINT_BLOT);
        return;
    }
    bool onCanvas = scene_OnCanvas(x, y);
    if (!elsewhere && !onCanvas) {
        int object = ObjectAt(x, y);
        if (object >= 0) {
            tb_SetCursor(CURSOR_TOOL);
            scene_ShowCaption(kObjectCaptions[object]);
            return;
        }
    }
    tb_SetCursor(onCanvas ? Current().cursorId : CURSOR_ROOM);
    scene_ShowCaption(0);
}

}  // namespace

// ---------------------------------------------------------------- helpers

void scene_ResetRouting(void)
{
    routing.previous = {0, 0};
    routing.textPending = 0;
    routing.zoomPending = 0;
    routing.bandShown = 0;
}

void scene_KeepInside(int* x, int* y)
{
    const RECT& canvas = scene.layout.canvas;
    const int f = (scene.currentObject == 4 && scene.zoomed) ? 2 : 1;
    const int m = f * (Current().size / 2);
    int nx = *x, ny = *y;
    // The right and bottom edges are exclusive: with no margin the last column and row inside.
    const int mr = m > 0 ? m : 1;
    if (nx < canvas.left + m) nx = canvas.left + m;
    else if (nx > canvas.right - mr) nx = canvas.right - mr;
    if (ny < canvas.top + m) ny = canvas.top + m;
    else if (ny > canvas.bottom - mr) ny = canvas.bottom - mr;
    if (nx != *x || ny != *y) {
        *x = nx;
        *y = ny;
        tb_SetCursorPos(nx, ny);
    }
}

int scene_LeftPanelHover(int x, int y)
{
    int over = 0;
    for (int i = 0; i < SCENE_HOT_SPOTS; ++i) {
        if (scene.highlightShown[i] && !In(SpotRect(i), x, y)) {
            scene_ShowRect(&scene.layout.highlights[i]);
            scene.highlightShown[i] = 0;
        }
    }
    for (int i = 0; i < SCENE_HOT_SPOTS; ++i) {
        if (!In(SpotRect(i), x, y)) continue;
        over = 1;
        if (scene.highlightShown[i]) continue;
        const RECT& h = scene.layout.highlights[i];
        RECT drawn;
        tb_DrawPictureToBitmap(scene.mainWindow, scene.highlightPictures[i], h.left, h.top, &drawn);
        scene.highlightShown[i] = 1;
        scene_DrawGroupMarker(scene.mainWindow);
        scene_ShowCaption(kSpotCaptions[i]);
    }
    return over;
}

void scene_CancelPieceOnKey(void)
{
    int index = scene.currentObject;
    if (index != 8 && !IsBook(index)) return;
    SceneObject& o = Current();
    if (!o.active || !tb_IsKeyDown('C')) return;
    o.active = 0;
    if (index == 8) o.mode = 0;
    o.size = 1;
    RefreshCanvas();
    // The piece may reach over the frame around the canvas: its own rectangle goes too.
    int w = 0, h = 0;
    sceneServices.pieceSize(index, &w, &h);
    if (index != 8 && scene.zoomed) {
        w *= 2;
        h *= 2;
    }
    if (w > 0 && h > 0) ErasePiece(routing.previous.x, routing.previous.y, w, h);
}

int scene_GestureGoesOn(void)
{
    const int index = scene.currentObject;
    const SceneObject& o = Current();
    return o.active && !((index == 8 && o.mode == 1) || IsBook(index));
}

void scene_EndGesture(void)
{
    const int index = scene.currentObject;
    SceneObject& o = Current();
    // A piece or a stamp that follows the pointer keeps following it.
    if (!scene_GestureGoesOn()) return;
    tb_StopSound();
    if (index == 8) {
        // The marquee is dropped, no piece is taken.
        o.active = 0;
        o.mode = 0;
        o.size = 1;
        RefreshCanvas();
        return;
    }
    const int x = routing.previous.x, y = routing.previous.y;
    ScenePoint p = TakesWindowPoints(index) ? ScenePoint{x, y} : PicturePoint(x, y);
    o.Release(&o, p.x, p.y);
    o.active = 0;
    scene_PictureChanged(nullptr);
    RefreshCanvas();
}

// ---------------------------------------------------------------- the handlers

void scene_PressHandler(int window, int x, int y)
{
    if (routing.textPending) {
        tb_SetCursor(CURSOR_TEXT_PENDING);
        return;
    }
    if (routing.zoomPending) {
        tb_SetCursor(CURSOR_ZOOM_PENDING);
        return;
    }
    if (!scene_OnCanvas(x, y)) return;
    routing.bandShown = 0;  // no preview of this gesture yet
    scene_SaveUndoChanged();
    scene.modified = 1;
    ClipScene();
    ScenePoint p = ToolPoint(&x, &y);
    SceneObject& o = Current();
    if (scene.currentObject != 22)
        o.SetColor(&o, scene.currentColor.red, scene.currentColor.green, scene.currentColor.blue);
    const RefreshPlan plan = PlanPress(scene.currentObject, o, x, y);
    o.Press(&o, p.x, p.y);
    tb_ClearClipRect(scene.sceneBitmap);
    Carry(plan);
    routing.previous = {x, y};
}

void scene_MoveHandler(int window, int x, int y)
{
    if (routing.textPending) {
        tb_SetCursor(CURSOR_TEXT_PENDING);
        // The preview wipes itself where it was shown before it is drawn at the pointer.
        sceneServices.textPreview(x, y);
        return;
    }
    if (routing.zoomPending) {
        tb_SetCursor(CURSOR_ZOOM_PENDING);
        return;
    }
    const int index = scene.currentObject;
    SceneObject& o = Current();
    const unsigned cursorSets = tb_CursorSets(nullptr);
    const int buttonDown = tb_IsMouseDown();
    if (!buttonDown && !o.active) Feedback(x, y);

    if (!scene_OnCanvas(x, y) && !o.active) return;
    if (buttonDown || (index == 8 && o.active) || (IsBook(index) && o.active)) {
        ClipScene();
        ScenePoint p = ToolPoint(&x, &y);
        if (index != 22) o.SetColor(&o, scene.currentColor.red, scene.currentColor.green, scene.currentColor.blue);
        bool needsActive = index == 8 || IsRubberBand(index) || IsBook(index);
        if (!(needsActive && !o.active)) {
            o.Drag(&o, p.x, p.y);
            if (IsRubberBand(index)) {
                routing.bandShown = 1;
                routing.bandDraws = tb_WindowDraws();
            }
        }
        if (!IsRubberBand(index)) {
            const SceneLayout& L = scene.layout;
            if (index == 26) {
                // The cog's mirrored segments reach far from the pointer: only where they were drawn.
                RECT drawn[4];
                for (int i = 0, n = decor_CogDirtyPictureRects(drawn); i < n; ++i) scene_PictureChanged(&drawn[i]);
                for (int i = 0, n = decor_CogDirtyWindowRects(drawn); i < n; ++i) scene_RefreshDrawn(&drawn[i]);
            } else if (index != 8 && !IsBook(index)) {
                // The scissors never change the picture while they move: their marquee and
                // floating piece are the window's alone, and a refresh would cut into them.
                int grow = scene.zoomed ? o.size + 10 : o.size / 2 + 5;
                RECT dirty = {routing.previous.x < x ? routing.previous.x : x,
                              routing.previous.y < y ? routing.previous.y : y,
                              routing.previous.x > x ? routing.previous.x : x,
                              routing.previous.y > y ? routing.previous.y : y};
                InflateRect(&dirty, grow, grow);
                RECT window = {0, 0, L.width, L.height};
                RECT inside;
                ChangedUnder(dirty);
                if (IntersectRect(&inside, &dirty, &window)) scene_RefreshDrawn(&inside);
            }
        }
        tb_ClearClipRect(scene.sceneBitmap);
        routing.previous = {x, y};
    }
    EnsureCurrentCursor(cursorSets);
}

void scene_ReleaseHandler(int window, int x, int y)
{
    const int index = scene.currentObject;
    SceneObject& o = Current();
    const bool onCanvas = scene_OnCanvas(x, y) != 0;

    if (index == 8 && o.mode == 1 && !onCanvas) {
        o.active = 0;
        o.mode = 0;
        o.size = 1;
        int w = 0, h = 0;
        sceneServices.pieceSize(8, &w, &h);
        ErasePiece(x, y, w, h);
        return;
    }
    if (IsBook(index) && o.active && !onCanvas) {
        o.active = 0;
        o.size = 1;
        int w = 0, h = 0;
        sceneServices.pieceSize(index, &w, &h);
        if (scene.zoomed) {
            w *= 2;
            h *= 2;
        }
        ErasePiece(x, y, w, h);
        return;
    }
    if (routing.textPending) {
        routing.textPending = 0;
        if (onCanvas) {
            ScenePoint p = PicturePoint(x, y);
            text_ForgetPlaced();
            sceneServices.placeText(p.x, p.y);
            tb_PlaySound(SOUND_TEXT);
            // Only where the text went, when the placement says where that is.
            RECT placed = text_LastPlaced(), inside;
            RECT shown = PictureToWindow(placed);
            scene_PictureChanged(IsRectEmpty(&placed) ? nullptr : &placed);
            if (IsRectEmpty(&placed) || !IntersectRect(&inside, &shown, &scene.layout.canvas)) RefreshCanvas();
            else RefreshCut(&inside);
        }
        ShowCurrentCursor();
        return;
    }
    if (routing.zoomPending) {
        routing.zoomPending = 0;
        if (onCanvas) ZoomAt(x, y);
        ShowCurrentCursor();
        return;
    }
    const bool needsActive = index == 8 || IsRubberBand(index) || IsBook(index);
    if (onCanvas) {
        ScenePoint p = (index == 8 || IsRubberBand(index)) ? ScenePoint{x, y} : PicturePoint(x, y);
        if (needsActive && !o.active) return;
        const RefreshPlan plan = PlanRelease(index, o, x, y);
        o.Release(&o, p.x, p.y);
        Carry(plan);
        return;
    }
    if (o.active) {
        ScenePoint p = TakesWindowPoints(index) ? ScenePoint{x, y} : PicturePoint(x, y);
        const RefreshPlan plan = PlanRelease(index, o, x, y);
        o.Release(&o, p.x, p.y);
        Carry(plan);
        return;
    }
    ReleaseOnHotSpot(x, y);
}

void scene_DoubleClickHandler(int window, int x, int y)
{
    if (!InCans(x, y)) return;
    int can = scene_CanAt(x, y);
    if (can < 0) return;
    SceneColor chosen = scene.canColors[can];
    int confirmed = sceneServices.paletteDialog(&chosen);
    tb_SetCursor(CURSOR_ROOM);
    if (!confirmed) return;
    scene_RecolorCan(can, chosen.red, chosen.green, chosen.blue, 1);
    scene_SetCurrentColor(chosen.red, chosen.green, chosen.blue, 1);
}
