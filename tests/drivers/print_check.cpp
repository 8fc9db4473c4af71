// Prints the picture of a room on a test window through the real print dialog (answered OK), for
// tests/programs/print_picture.sh, which runs it against a private print spooler.
//
//     print_check.exe full|light
//
// The canvas is filled with one colour (0, 0, 255). Before printing, the default printer's page is
// described on standard output:
//     page PHYSICAL_W PHYSICAL_H OFFSET_X OFFSET_Y RES_W RES_H DPI_X DPI_Y CANVAS_W CANVAS_H MM_W MM_H
// and afterwards every box the print showed:   box CAPTION|TEXT
#include <cstdio>
#include <cstring>

#include <windows.h>
#include <commdlg.h>

#include "boxes.h"
#include "pictures/picture_files.h"
#include "tests/scene/scene_window.h"

namespace {
int light = 0;
int LightPrint(void) { return light; }
}  // namespace

int main(int argc, char** argv)
{
    light = argc > 1 && strcmp(argv[1], "light") == 0;
    tb_SetInstance(GetModuleHandleA(nullptr), SW_SHOWNORMAL);
    tb_InitToolbox();
    BoxScript boxes;
    ResizeSceneTestWindow(800, 600);
    scene_Startup(SceneTestWindow());
    tb_SetForeColor(scene.canvasBitmap, 0, 0, 65025);
    tb_PaintRect(scene.canvasBitmap, &scene.layout.picture);
    picturePreferences.lightPrint = LightPrint;

    PRINTDLGA pd = {};
    pd.lStructSize = sizeof pd;
    pd.Flags = PD_RETURNDEFAULT | PD_RETURNDC;
    if (PrintDlgA(&pd) && pd.hDC) {
        std::printf("page %d %d %d %d %d %d %d %d %d %d %d %d\n", GetDeviceCaps(pd.hDC, PHYSICALWIDTH),
                    GetDeviceCaps(pd.hDC, PHYSICALHEIGHT), GetDeviceCaps(pd.hDC, PHYSICALOFFSETX),
                    GetDeviceCaps(pd.hDC, PHYSICALOFFSETY), GetDeviceCaps(pd.hDC, HORZRES),
                    GetDeviceCaps(pd.hDC, VERTRES), GetDeviceCaps(pd.hDC, LOGPIXELSX),
                    GetDeviceCaps(pd.hDC, LOGPIXELSY), scene.layout.canvasWidth, scene.layout.canvasHeight,
                    GetDeviceCaps(pd.hDC, HORZSIZE), GetDeviceCaps(pd.hDC, VERTSIZE));
        DeleteDC(pd.hDC);
    } else {
        std::printf("page none\n");
    }
    if (pd.hDevMode) GlobalFree(pd.hDevMode);
    if (pd.hDevNames) GlobalFree(pd.hDevNames);

    pictures_Print();
    for (const SeenBox& box : boxes.seen())
        if (!box.text.empty()) std::printf("box %s|%s\n", box.caption.c_str(), box.text.c_str());
    // The canvas is never changed by printing.
    long r, g, b;
    tb_GetPixelRGB(scene.canvasBitmap, 0, 0, &r, &g, &b);
    std::printf("canvas %ld %ld %ld\n", r / 255, g / 255, b / 255);
    scene_Shutdown();
    std::fflush(stdout);
    return 0;
}
