// Saving and opening pictures: the save-before question, Save, Open, placing an opened picture on
// the canvas, and the folders the pictures live in.
#include "pictures/picture_files.h"

#include "pictures/policy.h"
#include "pictures/preferences.h"
#include "pictures/recovery.h"

#include <shlobj.h>

#include <cstring>

#include "scene/scene.h"
#include "toolbox.h"

const char kAskBeforeOpening[] = "Do you want to save the current picture before opening a new one?";
const char kAskBeforeNew[] = "Do you want to save the current picture before starting a new one?";
const char kAskBeforeQuitting[] = "Do you want to save the current picture before quitting?";
const char kCouldNotSave[] =
    "The picture could not be saved. It is still on the easel: try again with another name or in another folder.";
const char kCannotReachToSave[] =
    "The picture could not be saved. The folder for pictures cannot be reached just now. The picture is still on "
    "the easel.";
const char kCannotReachToOpen[] =
    "The pictures could not be opened. The folder for pictures cannot be reached just now. The picture is still on "
    "the easel.";
const char kIncompatibleFile[] = "Incompatible File:  The file must be in Windows BMP 24bpp format";
const char kCouldNotOpen[] = "Could not open selected file.";
const char kCannotPreview[] = "Incompatible format; can't preview image";
const char kNoImages[] = "There are no images in the Gallery.";
const char kCouldNotPrint[] =
    "The picture could not be printed. Check that the printer is on and has paper, then try again.";

namespace {

int StretchFromPreferences(void) { return preferences.stretchPictures != 0; }
int LightPrintFromPreferences(void) { return preferences.lightPrint != 0; }

// A folder that exists and takes new files.
bool Writable(const char* folder)
{
    CreateDirectoryA(folder, nullptr);
    char probe[MAX_PATH];
    if (!GetTempFileNameA(folder, "twk", 0, probe)) return false;
    DeleteFileA(probe);
    return true;
}

void Join(char* out, int size, const char* a, const char* b)
{
    lstrcpynA(out, a, size);
    int used = lstrlenA(out);
    if (used < size - 1) lstrcpynA(out + used, b, size - used);
}

// The canvas as the monitor shows it, after its picture changed.
void ShowCanvas(void)
{
    scene_ComposeCanvasView();
    scene_ShowRect(&scene.layout.canvas);
}

}  // namespace

PicturePreferences picturePreferences = {StretchFromPreferences, LightPrintFromPreferences};

// ---------------------------------------------------------------- folders

void pictures_ProgramFolder(char* folder, int size)
{
    char path[MAX_PATH] = {};
    DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
    if (n == 0 || n >= sizeof path) {
        GetCurrentDirectoryA(sizeof path - 1, path);
        lstrcatA(path, "\\");
    } else {
        char* slash = strrchr(path, '\\');
        if (slash) slash[1] = 0;
    }
    lstrcpynA(folder, path, size);
}

bool pictures_GalleryFolderFor(const char* programFolder, char* folder, int size)
{
    Join(folder, size, programFolder, "Gallery\\");
    if (Writable(folder)) return true;
    char pictures[MAX_PATH] = {};
    typedef HRESULT(WINAPI * FolderProc)(HWND, int, HANDLE, DWORD, LPSTR);
    FolderProc folderPath = (FolderProc)(void*)tb_SystemProc("SHELL32", "SHGetFolderPathA");
    if (!folderPath ||
        folderPath(nullptr, CSIDL_MYPICTURES | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, pictures) != S_OK)
        return false;
    char own[MAX_PATH];
    Join(own, sizeof own, pictures, "\\Tintwell\\");
    CreateDirectoryA(own, nullptr);
    char gallery[MAX_PATH];
    Join(gallery, sizeof gallery, own, "Gallery\\");
    if (!Writable(gallery)) return false;
    lstrcpynA(folder, gallery, size);
    return true;
}

bool pictures_GalleryFolder(char* folder, int size)
{
    if (policy.picturesState == POLICY_FOLDER_NOT_SET) {
        char program[MAX_PATH];
        pictures_ProgramFolder(program, sizeof program);
        pictures_GalleryFolderFor(program, folder, size);
        return true;
    }
    // A grown-up's folder is the Gallery itself: only its last level is made, and it must take a new
    // file now (a network drive may be down). It is never replaced by a folder of this computer.
    folder[0] = 0;
    if (policy.picturesState != POLICY_FOLDER_SET || lstrlenA(policy.picturesFolder) >= size) return false;
    lstrcpynA(folder, policy.picturesFolder, size);
    return Writable(folder);
}

void pictures_PagesFolder(char* folder, int size)
{
    char program[MAX_PATH];
    pictures_ProgramFolder(program, sizeof program);
    Join(folder, size, program, "Pages\\");
}

// ---------------------------------------------------------------- saving

bool pictures_WriteCanvas(const char* path)
{
    if (tb_OpenFileToReplace(path) != 1) return false;
    const char* dot = strrchr(path, '.');
    bool png = dot && lstrcmpiA(dot, ".png") == 0;
    if ((png ? tb_WritePngToFile(scene.canvasBitmap) : tb_WriteBitmapToFile(scene.canvasBitmap)) != 1) {
        tb_CloseFile();
        return false;
    }
    return tb_CommitFile() == 1;
}

namespace {

// The Save As dialog, opened in the Gallery folder on the name the picture is offered under, then
// the write. 1 saved (the picture's name is now the file's, the recovery copy goes); 0 the dialog
// was cancelled or failed (nothing happens, nothing is shown); -1 the file could not be written
// (the child is told).
int SaveAs(const char* gallery)
{
    char path[sizeof scene.fileName];
    pictures_OfferedName(gallery, path, sizeof path);
    if (tb_AskFileToWrite(path, gallery) != 1) return 0;
    lstrcpynA(scene.fileName, path, sizeof scene.fileName);
    if (!pictures_WriteCanvas(scene.fileName)) {
        tb_AttentionBox(kCouldNotSave);
        return -1;
    }
    scene.modified = 0;
    recovery_Remove();
    return 1;
}

}  // namespace

TB_PictureNeed pictures_PlacingNeed(void)
{
    const RECT& canvas = scene.layout.picture;
    TB_PictureNeed need = {picturePreferences.stretch() ? TB_FIT_SCALE : TB_FIT_CROP, canvas.right - canvas.left,
                           canvas.bottom - canvas.top};
    return need;
}

int pictures_ReadPicture(const char* path, const TB_PictureNeed& need, int* format)
{
    int loaded = -1;
    RECT rect;
    char name[MAX_PATH];
    lstrcpynA(name, path, sizeof name);
    if (tb_OpenFileToRead(name, 0) == 1) loaded = tb_ReadPictureFromFile(&rect, &need, format);
    tb_CloseFile();
    return loaded;
}

int pictures_SaveBefore(const char* question)
{
    if (!scene.modified) return 1;
    if (tb_AskYesNo(question) == 1) {
        // The child asked to keep the picture: unless it was saved, the command stops.
        char gallery[MAX_PATH];
        if (!pictures_GalleryFolder(gallery, sizeof gallery)) {
            tb_AttentionBox(kCannotReachToSave);
            return 0;
        }
        return SaveAs(gallery) == 1;
    }
    scene.modified = 0;
    return 1;
}

void pictures_Save(void)
{
    if (!pictures_GalleryFolder(scene.browseFolder, sizeof scene.browseFolder))
        return tb_AttentionBox(kCannotReachToSave);
    tb_SetFileDialogFolder(scene.browseFolder);
    SaveAs(scene.browseFolder);
}

// ---------------------------------------------------------------- opening

void pictures_Place(int loaded)
{
    scene_PictureChanged(nullptr);
    RECT from;
    tb_GetBitmapRect(loaded, &from);
    const RECT& canvas = scene.layout.picture;
    if (picturePreferences.stretch()) {
        tb_CopyBitmap(loaded, scene.canvasBitmap, &from, &canvas);
        return;
    }
    tb_SetForeColor(scene.canvasBitmap, 65025, 65025, 65025);
    tb_PaintRect(scene.canvasBitmap, &canvas);
    int w = from.right - from.left, h = from.bottom - from.top;
    int x = canvas.right / 2 - w / 2, y = canvas.bottom / 2 - h / 2;
    RECT to = {x, y, x + w, y + h};
    tb_CopyBitmap(loaded, scene.canvasBitmap, &from, &to);
}

void pictures_Open(void)
{
    if (!pictures_SaveBefore(kAskBeforeOpening)) return;
    if (!pictures_GalleryFolder(scene.browseFolder, sizeof scene.browseFolder))
        return tb_AttentionBox(kCannotReachToOpen);
    tb_SetFileDialogFolder(scene.browseFolder);
    if (tb_OpenFileToRead(scene.fileName, 1) != 1) return;
    pictures_OpenChosen();
}

int pictures_OpenChosen(void)
{
    RECT rect;
    int format = TB_FORMAT_NONE;
    TB_PictureNeed need = pictures_PlacingNeed();
    int loaded = tb_ReadPictureFromFile(&rect, &need, &format);
    tb_CloseFile();
    if (loaded < 0) {
        tb_AttentionBox(kIncompatibleFile);
        return 0;
    }
    pictures_NameAfterRead(format);
    pictures_Place(loaded);
    ShowCanvas();
    tb_DisposeBitmap(loaded);
    scene_SaveUndo();
    recovery_Remove();
    return 1;
}
