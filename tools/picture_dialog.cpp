// The shared frame of the control-less picture dialogs.
#include "tools/picture_dialog.h"

#include "scene/scene.h"
#include "toolbox.h"

namespace {

// The dialog being created: read once by its WM_INITDIALOG, then kept in the window's user data,
// so that a picture dialog opened from another one finds its own record.
PictureDialog* opening;

PictureDialog* DialogOf(HWND hwnd) { return (PictureDialog*)GetWindowLongPtrA(hwnd, DWLP_USER); }

void Place(PictureDialog* d)
{
    RECT owner = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    HWND main = GetWindow(d->hwnd, GW_OWNER);
    if (main) GetWindowRect(main, &owner);
    int left = owner.left + (owner.right - owner.left - d->width) / 2;
    int top = owner.top + (owner.bottom - owner.top - d->height) / 2;
    MoveWindow(d->hwnd, left, top, d->width, d->height, FALSE);
    // The main window's client area starts at its top-left corner (it has no frame).
    d->origin = {left - owner.left, top - owner.top};
}

void Paint(PictureDialog* d)
{
    RECT faceRect = {0, 0, d->width, d->height};
    int face = tb_CreateBitmap(&faceRect, 0, 24);
    if (face < 0) return;
    if (tb_GetBitmapDIB(scene.sceneBitmap)) {
        RECT behind = picture_SceneRect(d);
        scene_CatchUpView(&behind);  // the room behind the dialog, picture included
        tb_CopyBitmap(scene.sceneBitmap, face, &behind, &faceRect);
    }
    if (d->draw) d->draw(d, face);
    tb_CopyBitmapToDialog(d->hwnd, face, &faceRect, &faceRect);
    tb_DisposeBitmap(face);
}

int Reacts(PictureDialog* d, int x, int y) { return d->reacts && d->reacts(d, x, y); }

int CursorAt(PictureDialog* d, int x, int y)
{
    int id = d->cursor ? d->cursor(d, x, y) : 0;
    if (id) return id;
    return Reacts(d, x, y) ? PICTURE_CURSOR_ACTIVE : PICTURE_CURSOR_ARROW;
}

void ChooseCursor(PictureDialog* d)
{
    POINT p;
    GetCursorPos(&p);
    ScreenToClient(d->hwnd, &p);
    tb_SetCursor(CursorAt(d, p.x, p.y));
}

INT_PTR Answer(HWND hwnd, LONG_PTR result)
{
    SetWindowLongPtrA(hwnd, DWLP_MSGRESULT, result);
    return TRUE;
}

INT_PTR CALLBACK PictureDialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        PictureDialog* d = opening;
        opening = nullptr;
        if (!d) return TRUE;
        SetWindowLongPtrA(hwnd, DWLP_USER, (LONG_PTR)d);
        d->hwnd = hwnd;
        Place(d);
        if (d->open) d->open(d);
        ChooseCursor(d);
        return TRUE;
    }
    PictureDialog* d = DialogOf(hwnd);
    if (!d) return FALSE;
    int x = (short)LOWORD(lParam), y = (short)HIWORD(lParam);
    switch (message) {
    case WM_ERASEBKGND:
        return Answer(hwnd, 1);
    case WM_PAINT: {
        PAINTSTRUCT ps;
        BeginPaint(hwnd, &ps);
        Paint(d);
        EndPaint(hwnd, &ps);
        return TRUE;
    }
    case WM_SETCURSOR:
        // The dialog class's arrow would otherwise come back on every move.
        if (LOWORD(lParam) != HTCLIENT) return FALSE;
        ChooseCursor(d);
        return Answer(hwnd, TRUE);
    case WM_MOUSEMOVE:
        tb_SetCursor(CursorAt(d, x, y));
        if (d->move) d->move(d, x, y);
        return TRUE;
    case WM_LBUTTONDOWN:
        if (d->press) d->press(d, x, y);
        return TRUE;
    case WM_LBUTTONUP:
        if (d->release) d->release(d, x, y);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDCANCEL) picture_EndDialog(d, d->escapeResult);
        return TRUE;
    case WM_DESTROY:
        if (d->close) d->close(d);
        d->hwnd = nullptr;
        SetWindowLongPtrA(hwnd, DWLP_USER, 0);
        return FALSE;
    }
    return FALSE;
}

}  // namespace

INT_PTR picture_RunDialog(PictureDialog* dialog)
{
    if (!dialog) return -1;
    dialog->hwnd = nullptr;
    opening = dialog;
    INT_PTR result = tb_DoDialog(PICTURE_DIALOG_TEMPLATE, PictureDialogProc);
    opening = nullptr;
    return result;
}

void picture_EndDialog(PictureDialog* dialog, INT_PTR result)
{
    if (dialog && dialog->hwnd) EndDialog(dialog->hwnd, result);
}

void picture_Redraw(PictureDialog* dialog)
{
    if (!dialog || !dialog->hwnd) return;
    Paint(dialog);
    ValidateRect(dialog->hwnd, nullptr);
}

RECT picture_SceneRect(const PictureDialog* dialog)
{
    RECT r = {dialog->origin.x, dialog->origin.y, dialog->origin.x + dialog->width,
              dialog->origin.y + dialog->height};
    return r;
}
