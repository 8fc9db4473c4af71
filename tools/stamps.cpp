// The books of stamps. A book opens the stamp picker, an open book of eight stamps a page with page
// arrows; the stamp picked there becomes the one current stamp of the program, which then floats
// under the pointer and is printed through its mask at every press on the canvas.
#include "tools/stamps.h"

#include "toolbox.h"

const POINT stampSlots[STAMPS_PER_PAGE] = {{101, 50}, {193, 50}, {90, 134},  {188, 134},
                                           {388, 50}, {480, 50}, {393, 134}, {491, 134}};
const RECT stampPreviousArrow = {39, 14, 107, 61};
const RECT stampNextArrow = {521, 14, 589, 61};
const RECT stampCloseArea = {10, 209, 66, 224};

namespace {

enum {
    PIC_BOOK = 134,
    MASK_BOOK = 135,
    PIC_PREVIOUS = 176,
    MASK_PREVIOUS = 177,
    PIC_NEXT = 178,
    MASK_NEXT = 179,
    SOUND_STAMP = 1020,
    SOUND_PICKED = 1034,
    SOUND_NOTHING = 1040,
    CURSOR_ARROW = 203,
    SHEET_COLUMNS = 10,
    SHEET_PITCH = 49,  // a 48-pixel cell and a one-pixel line
};

// The current stamp, shared by the three books.
int stampImage = -1;
int stampMask = -1;

// The first stamp of the page each book showed last.
int bookPages[STAMP_BOOKS] = {0, 0, 0};

// The sheets of the books, by their picture on the table: 500 Volume 3, 501 Volume 2, 502 Volume 1.
struct Sheet {
    int image, mask;
};
const Sheet kSheets[STAMP_BOOKS] = {{1005, 1006}, {1003, 1004}, {1001, 1002}};

int BookOf(const SceneObject* book)
{
    int k = book->imageId - 500;
    return k >= 0 && k < STAMP_BOOKS ? k : 0;
}

RECT CellRect(int n)
{
    int x = (n % SHEET_COLUMNS) * SHEET_PITCH + 1, y = (n / SHEET_COLUMNS) * SHEET_PITCH + 1;
    RECT r = {x, y, x + STAMP_SIZE, y + STAMP_SIZE};
    return r;
}

RECT SlotRect(int i)
{
    RECT r = {stampSlots[i].x, stampSlots[i].y, stampSlots[i].x + STAMP_SIZE, stampSlots[i].y + STAMP_SIZE};
    return r;
}

bool In(const RECT& r, int x, int y) { return tb_PtInRect(x, y, &r) != 0; }
bool NextShown(const StampPicker* p) { return p->page + STAMPS_PER_PAGE < p->count; }
bool PreviousShown(const StampPicker* p) { return p->page > 0; }

// A picture through its mask at a point of the target, 1:1.
void DrawMasked(int target, int pictureId, int maskId, int x, int y)
{
    RECT pr = {0, 0, 0, 0}, mr = {0, 0, 0, 0};
    int picture = tb_CreateBitmap(&pr, pictureId, 24);
    int mask = tb_CreateBitmap(&mr, maskId, 8);
    if (picture >= 0 && mask >= 0) {
        RECT dest = pr;
        OffsetRect(&dest, x, y);
        tb_CopyBitmapMasked(picture, mask, target, &pr, &mr, &dest);
    }
    if (picture >= 0) tb_DisposeBitmap(picture);
    if (mask >= 0) tb_DisposeBitmap(mask);
}

// ---------------------------------------------------------------- the picker's slots

StampPicker* PickerOf(PictureDialog* d) { return (StampPicker*)d->data; }

void PickerDraw(PictureDialog* d, int face)
{
    StampPicker* p = PickerOf(d);
    DrawMasked(face, PIC_BOOK, MASK_BOOK, 0, 0);
    for (int i = 0; i < STAMPS_PER_PAGE && p->page + i < p->count; ++i) {
        if (p->sheetImage < 0 || p->sheetMask < 0) break;
        RECT cell = CellRect(p->page + i), slot = SlotRect(i);
        tb_CopyBitmapMasked(p->sheetImage, p->sheetMask, face, &cell, &cell, &slot);
    }
    if (NextShown(p)) DrawMasked(face, PIC_NEXT, MASK_NEXT, stampNextArrow.left, stampNextArrow.top);
    if (PreviousShown(p)) DrawMasked(face, PIC_PREVIOUS, MASK_PREVIOUS, stampPreviousArrow.left, stampPreviousArrow.top);
}

int PickerReacts(PictureDialog* d, int x, int y) { return stamps_PickerReacts(PickerOf(d), x, y); }

void PickerRelease(PictureDialog* d, int x, int y)
{
    StampPicker* p = PickerOf(d);
    int page = p->page;
    int result = stamps_PickerClick(p, x, y);
    if (p->page != page) picture_Redraw(d);
    if (result < 0)
        tb_PlaySoundNoStop(SOUND_NOTHING);
    else
        tb_PlaySound(SOUND_PICKED);
    if (result >= -1) picture_EndDialog(d, result);
}

}  // namespace

void stamps_TakeStamp(int sheetImage, int sheetMask, int n)
{
    stamps_DisposeStamp();
    RECT r = {0, 0, STAMP_SIZE, STAMP_SIZE};
    RECT cell = CellRect(n);
    stampImage = tb_CreateBitmap(&r, TB_SOURCE_BLANK, 24);
    r = {0, 0, STAMP_SIZE, STAMP_SIZE};
    stampMask = tb_CreateBitmap(&r, TB_SOURCE_BLANK, 8);
    if (stampImage < 0 || stampMask < 0) {
        stamps_DisposeStamp();
        return;
    }
    r = {0, 0, STAMP_SIZE, STAMP_SIZE};
    tb_CopyBitmap(sheetImage, stampImage, &cell, &r);
    tb_CopyBitmap(sheetMask, stampMask, &cell, &r);
}

// ---------------------------------------------------------------- the picker

int stamps_PickerReacts(const StampPicker* p, int x, int y)
{
    if (In(stampCloseArea, x, y)) return 1;
    if (NextShown(p) && In(stampNextArrow, x, y)) return 1;
    if (PreviousShown(p) && In(stampPreviousArrow, x, y)) return 1;
    for (int i = 0; i < STAMPS_PER_PAGE; ++i)
        if (p->page + i < p->count && In(SlotRect(i), x, y)) return 1;
    return 0;
}

int stamps_PickerClick(StampPicker* p, int x, int y)
{
    int result = In(stampCloseArea, x, y) ? -1 : -2;
    if (NextShown(p) && In(stampNextArrow, x, y)) {
        p->page += STAMPS_PER_PAGE;
    } else if (PreviousShown(p) && In(stampPreviousArrow, x, y)) {
        p->page -= STAMPS_PER_PAGE;
    }
    for (int i = 0; i < STAMPS_PER_PAGE; ++i)
        if (p->page + i < p->count && In(SlotRect(i), x, y)) result = p->page + i;
    return result;
}

int stamps_ChooseStamp(int sheetImageId, int sheetMaskId, int count, int* page)
{
    StampPicker picker;
    RECT r = {0, 0, 0, 0};
    picker.sheetImage = tb_CreateBitmap(&r, sheetImageId, 24);
    r = {0, 0, 0, 0};
    picker.sheetMask = tb_CreateBitmap(&r, sheetMaskId, 8);
    picker.count = count;
    // A page memory that no longer fits the sheet starts over at the first page.
    picker.page = (*page >= 0 && *page < count) ? *page - *page % STAMPS_PER_PAGE : 0;

    PictureDialog dialog = {};
    dialog.width = STAMP_PICKER_WIDTH;
    dialog.height = STAMP_PICKER_HEIGHT;
    // A child who presses Escape has not chosen a stamp.
    dialog.escapeResult = -1;
    dialog.data = &picker;
    dialog.draw = PickerDraw;
    dialog.reacts = PickerReacts;
    dialog.release = PickerRelease;
    INT_PTR result = picture_RunDialog(&dialog);
    *page = picker.page;

    int chosen = -1;
    if (result >= 0 && result < count && picker.sheetImage >= 0 && picker.sheetMask >= 0) {
        stamps_TakeStamp(picker.sheetImage, picker.sheetMask, (int)result);
        chosen = (int)result;
    }
    if (picker.sheetImage >= 0) tb_DisposeBitmap(picker.sheetImage);
    if (picker.sheetMask >= 0) tb_DisposeBitmap(picker.sheetMask);
    tb_SetCursor(CURSOR_ARROW);
    return chosen;
}

int stamps_Book(SceneObject* book)
{
    int k = BookOf(book);
    int chosen = stamps_ChooseStamp(kSheets[k].image, kSheets[k].mask, STAMPS_PER_BOOK, &bookPages[k]);
    book->mode = chosen;
    return chosen >= 0;
}

int stamps_BookPage(int book) { return book >= 0 && book < STAMP_BOOKS ? bookPages[book] : 0; }

void stamps_SetBookPage(int book, int page)
{
    if (book >= 0 && book < STAMP_BOOKS) bookPages[book] = page;
}

// ---------------------------------------------------------------- the current stamp

int stamps_CurrentImage(void) { return stampImage; }
int stamps_CurrentMask(void) { return stampMask; }

void stamps_PieceSize(int* w, int* h)
{
    bool any = stampImage >= 0;
    *w = any ? STAMP_SIZE : 0;
    *h = any ? STAMP_SIZE : 0;
}

void stamps_DisposeStamp(void)
{
    if (stampImage >= 0) tb_DisposeBitmap(stampImage);
    if (stampMask >= 0) tb_DisposeBitmap(stampMask);
    stampImage = -1;
    stampMask = -1;
}

// ---------------------------------------------------------------- the book slots

namespace {

int ScreenSize(void) { return scene.zoomed ? 2 * STAMP_SIZE : STAMP_SIZE; }

RECT Centred(int x, int y, int s)
{
    RECT r = {x - s / 2, y - s / 2, x + s / 2, y + s / 2};
    return r;
}

}  // namespace

// Window coordinates: prints the current stamp centred on the pointer.
void stamps_Press(SceneObject* book, int x, int y)
{
    book->lastPoint = {x, y};
    book->active = 1;
    if (stampImage < 0 || stampMask < 0) return;
    tb_PlaySound(SOUND_STAMP);
    const int s = ScreenSize();
    RECT d = Centred(x, y, s);
    ScenePoint topLeft = scene_ToPicture(d.left, d.top);
    RECT inPicture = {topLeft.x, topLeft.y, topLeft.x + STAMP_SIZE, topLeft.y + STAMP_SIZE};
    RECT whole = {0, 0, STAMP_SIZE, STAMP_SIZE};
    tb_CopyBitmapMasked(stampImage, stampMask, book->pictureBitmap, &whole, &whole, &inPicture);
    book->size = s;
}

// Every pointer move while the stamp floats: wipes it where it was and draws it at the pointer.
void stamps_Drag(SceneObject* book, int x, int y)
{
    if (!book->active) return;
    if (tb_IsKeyDown('C')) {
        book->active = 0;
        book->size = 1;
    }
    if (stampImage < 0 || stampMask < 0) return;
    const int s = ScreenSize();
    RECT previous = Centred(book->currentPoint.x, book->currentPoint.y, s);
    scene_ShowRect(&previous);
    if (book->active) {
        RECT whole = {0, 0, STAMP_SIZE, STAMP_SIZE};
        RECT here = Centred(x, y, s);
        int window = book->previewWindow >= 0 ? book->previewWindow : scene.mainWindow;
        tb_CopyBitmapMasked(stampImage, stampMask, window, &whole, &whole, &here);
        book->size = s;
    }
    book->currentPoint = {x, y};
}

void stamps_Release(SceneObject*, int, int) {}

void stamps_InstallBook(SceneObject* book)
{
    book->Press = stamps_Press;
    book->Drag = stamps_Drag;
    book->Release = stamps_Release;
}
