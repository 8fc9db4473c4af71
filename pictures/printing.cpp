// Print picture: the canvas on one page, scaled to 90 % of the printable area and centred,
// lightened on request by whitening every pixel whose x + y is even. A printer that fails gets its
// job abandoned, and the child is told. A grown-up may switch the printer off, or make it rest for
// a while after each print.
#include "pictures/picture_files.h"
#include "pictures/policy.h"
#include "scene/scene.h"
#include "toolbox.h"

namespace {

// When the last print went to the printer whole (the dialog confirmed, the document sent).
bool printedOnce;
DWORD lastPrinted;

}  // namespace

bool pictures_PrintRefused(void)
{
    if (policy.noPrint == 1) return true;
    if (policy.printInterval <= 0 || !printedOnce) return false;
    return tb_GetTime() - lastPrinted < (DWORD)policy.printInterval * 1000;
}

int pictures_PreparePrint(int pw, int ph, RECT* destination)
{
    RECT picture;
    tb_GetBitmapRect(scene.canvasBitmap, &picture);
    const int W = picture.right - picture.left, H = picture.bottom - picture.top;
    RECT whole = {0, 0, W, H};
    int work = tb_CreateBitmap(&whole, 0, 24);
    if (work < 0) return -1;

    float sx = (float)(pw * 0.9 / W), sy = (float)(ph * 0.9 / H);
    float scale = sx > sy ? sy : sx;
    if (scale <= 0) scale = 1;
    int dw = tb_Trunc(W * (double)scale), dh = tb_Trunc(H * (double)scale);
    int x = (pw - dw) / 2, y = (ph - dh) / 2;
    SetRect(destination, x, y, x + dw, y + dh);

    tb_CopyBitmap(scene.canvasBitmap, work, &whole, &whole);
    if (picturePreferences.lightPrint()) {
        TB_DIB* image = tb_GetBitmapDIB(work);
        GdiFlush();
        for (int row = 0; row < H; ++row)
            for (int column = row & 1; column < W; column += 2) grfx_SetPixel24(image, column, row, 255, 255, 255);
    }
    return work;
}

void pictures_Print(void)
{
    if (tb_BeginPrint() != TB_PRINTER) return;
    RECT printable;
    tb_GetPrintableRect(&printable);
    RECT destination;
    int work = pictures_PreparePrint(printable.right, printable.bottom, &destination);
    if (work < 0) {
        // Nothing to put on the page: no blank sheet comes out.
        tb_AbortPrint();
        tb_AttentionBox(kCouldNotPrint);
        return;
    }
    tb_StartPage();
    RECT whole;
    tb_GetBitmapRect(work, &whole);
    tb_CopyBitmap(work, TB_PRINTER, &whole, &destination);
    tb_EndPage();
    int printed = tb_EndPrint();
    tb_DisposeBitmap(work);
    if (!printed) {
        tb_AttentionBox(kCouldNotPrint);
        return;
    }
    printedOnce = true;
    lastPrinted = tb_GetTime();
}
