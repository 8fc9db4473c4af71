// The room on an 800 x 600 window with the picture commands run one at a time, for the whole-
// program check tests/programs/pictures_gallery.sh, which looks at the screen and clicks.
//
//     gallery_check.exe pages   New's coloring pages from the Pages folder beside this program
//     gallery_check.exe empty   the gallery on an empty folder
//     gallery_check.exe save    Save (the Save As dialog answered from outside)
//     gallery_check.exe savepng Save of a many-coloured canvas, with Gallery\canvas_truth.bmp beside
//
// Writes what happened on standard output and keeps the room up for two seconds afterwards (five
// after the pages, for the canvas to be compared with the page chosen).
#include <cstdio>
#include <cstring>

#include "pictures/picture_files.h"
#include "tests/scene/scene_window.h"

namespace {

void Pump(DWORD milliseconds)
{
    DWORD end = GetTickCount() + milliseconds;
    while (GetTickCount() < end) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        Sleep(10);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    const char* mode = argc > 1 ? argv[1] : "pages";
    tb_SetInstance(GetModuleHandleA(nullptr), SW_SHOWNORMAL);
    tb_InitToolbox();
    tb_StartPictureCodecs();
    tb_SetSoundPreference(0);
    ResizeSceneTestWindow(800, 600);
    ShowWindow(tb_GetWindowHandle(SceneTestWindow()), SW_SHOW);
    scene_Startup(SceneTestWindow());
    scene_ShowAll();
    Pump(300);
    std::printf("ready\n");
    std::fflush(stdout);

    if (strcmp(mode, "pages") == 0) {
        int loaded = pictures_OfferPages();
        std::printf("loaded %d %s\n", loaded, scene.fileName);
    } else if (strcmp(mode, "empty") == 0) {
        char folder[MAX_PATH];
        GetTempPathA(sizeof folder, folder);
        lstrcatA(folder, "tintwell_empty_gallery\\");
        CreateDirectoryA(folder, nullptr);
        lstrcpynA(scene.browseFolder, folder, sizeof scene.browseFolder);
        int loaded = 0;
        int result = pictures_GalleryAndLoad(&loaded);
        std::printf("result %d loaded %d\n", result, loaded);
    } else if (strcmp(mode, "savepng") == 0) {
        // Bands of many colours, and the canvas as the program's own BMP beside it to compare with.
        for (int y = 0; y < scene.layout.canvasHeight; y += 3) {
            RECT band = {y % 97, y, scene.layout.canvasWidth, y + 3};
            tb_SetForeColor(scene.canvasBitmap, (y * 37 % 256) * 255L, (y * 11 % 256) * 255L, (255 - y % 256) * 255L);
            tb_PaintRect(scene.canvasBitmap, &band);
        }
        char truth[MAX_PATH];
        pictures_GalleryFolder(truth, sizeof truth);
        lstrcatA(truth, "canvas_truth.bmp");
        pictures_WriteCanvas(truth);
        scene.modified = 1;
        pictures_Save();
        std::printf("saved %s modified %d\n", scene.fileName, scene.modified);
    } else if (strcmp(mode, "save") == 0) {
        RECT stripe = {0, 0, scene.layout.canvasWidth, 40};
        tb_SetForeColor(scene.canvasBitmap, 65025, 0, 0);
        tb_PaintRect(scene.canvasBitmap, &stripe);
        scene.modified = 1;
        pictures_Save();
        std::printf("saved %s modified %d\n", scene.fileName, scene.modified);
    }
    std::fflush(stdout);
    Pump(strcmp(mode, "pages") == 0 ? 5000 : 2000);
    scene_Shutdown();
    return 0;
}
