// Prints the picture of a room on a test window through the real print dialog (answered OK), for
// tests/programs/print_picture.sh, which runs it against a private print spooler.
//
//     print_check.exe full|light
//     print_check.exe twice      the printer in the room clicked twice, with the grown-ups'
//                                settings of the registry; prints "sounds ..." and "dialogs N"
//
// The canvas is filled with one colour (0, 0, 255). Before printing, the default printer's page is
// described on standard output:
//     page PHYSICAL_W PHYSICAL_H OFFSET_X OFFSET_Y RES_W RES_H DPI_X DPI_Y CANVAS_W CANVAS_H MM_W MM_H
// and afterwards every box the print showed:   box CAPTION|TEXT
#include <cstdio>
#include <cstring>
#include <string>

#include <windows.h>
#include <commdlg.h>

#include "boxes.h"
#include "pictures/picture_files.h"
#include "pictures/policy.h"
#include "scene/scene_routing.h"
#include "tests/scene/scene_window.h"

namespace {
int light = 0;
int LightPrint(void) { return light; }
std::string sounds;
void NoteSound(TB_SoundKind, int id) { sounds += " " + std::to_string(id); }

void ClickPrinter(void)
{
    const RECT& p = scene.layout.printer;
    int x = (p.left + p.right) / 2, y = (p.top + p.bottom) / 2;
    scene_PressHandler(scene.mainWindow, x, y);
    scene_ReleaseHandler(scene.mainWindow, x, y);
}
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

    if (argc > 1 && strcmp(argv[1], "twice") == 0) {
        policy_Read();
        tb_SetSoundPreference(1);
        tb_SetSoundObserver(NoteSound);
        ClickPrinter();
        ClickPrinter();
        std::printf("sounds%s\ndialogs %d\n", sounds.c_str(), (int)boxes.count());
    } else {
        pictures_Print();
    }
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
