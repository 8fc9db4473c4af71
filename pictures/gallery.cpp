// The gallery: one picture of a folder at a time in a dialog of its own artwork, with arrows to
// turn the pages, the picture's name above it and a button that tells the file's name. The Gallery
// command shows the Gallery folder; New offers the coloring pages of the Pages folder through it,
// followed by those of a grown-up's second folder of pages.
#include <io.h>

#include <cstring>

#include "pictures/picture_files.h"
#include "pictures/policy.h"
#include "pictures/recovery.h"
#include "scene/scene.h"
#include "toolbox.h"
#include "tools/picture_dialog.h"

Gallery gallery;

namespace {

enum {
    PIC_GALLERY = 801,
    PIC_PREVIOUS = 802,
    PIC_NEXT = 803,
    SOUND_BUTTON = 1035,
    GALLERY_WIDTH = 408,
    GALLERY_HEIGHT = 417,
};

const RECT kChoose = {161, 366, 206, 412};
const RECT kCancel = {207, 366, 252, 412};
const RECT kNext = {308, 372, 362, 408};
const RECT kPrevious = {47, 372, 101, 408};
const RECT kName = {370, 229, 397, 249};
const RECT kPreview = {64, 44, 344, 261};
const RECT kTitle = {5, 5, 403, 23};

bool In(const RECT& r, int x, int y) { return tb_PtInRect(x, y, &r) != 0; }

bool Valid(int i) { return i >= 0 && i < GALLERY_MAX && gallery.entries[i].valid; }
bool NextEnabled(void) { return gallery.position < gallery.count - 1 && Valid(gallery.position + 1); }
bool PreviousEnabled(void) { return gallery.position > 0 && Valid(gallery.position - 1); }

// The folder of an entry (-1: the browse folder itself).
const char* FolderOf(int i)
{
    return i >= 0 && i < GALLERY_MAX && gallery.entries[i].second ? gallery.secondFolder : scene.browseFolder;
}

void EntryPath(int i, char* path, int size)
{
    lstrcpynA(path, FolderOf(i), size);
    int used = lstrlenA(path);
    if (i >= 0 && i < GALLERY_MAX && used < size - 1) lstrcpynA(path + used, gallery.entries[i].name, size - used);
}

// A picture of the program drawn at its own size into the face.
void DrawPicture(int face, int id, const RECT& to)
{
    RECT size;
    int picture = tb_CreateBitmap(&size, id, 24);
    if (picture < 0) return;
    RECT from = {to.left, to.top, to.right, to.bottom};
    if (id != PIC_GALLERY) from = {0, 0, to.right - to.left, to.bottom - to.top};
    tb_CopyBitmap(picture, face, &from, &to);
    tb_DisposeBitmap(picture);
}

void Say(int face, const char* text)
{
    tb_SetForeColor(face, 65025, 65025, 65025);
    tb_SetFont(face, TB_Face{0});
    tb_SetFont(face, TB_Size{12});
    tb_SetFont(face, TB_Style{0});
    tb_DrawText(face, (kPreview.left + kPreview.right) / 2, (kPreview.top + kPreview.bottom) / 2, text,
                lstrlenA(text), 0, 1, 2, 0);
}

void Draw(PictureDialog*, int face)
{
    RECT whole = {0, 0, GALLERY_WIDTH, GALLERY_HEIGHT};
    DrawPicture(face, PIC_GALLERY, whole);
    if (!Valid(gallery.position)) {
        Say(face, kNoImages);
        return;
    }
    if (gallery.position > 0) DrawPicture(face, PIC_PREVIOUS, kPrevious);
    if (gallery.position < gallery.count - 1) DrawPicture(face, PIC_NEXT, kNext);

    // The title: the name without its extension.
    const char* name = gallery.entries[gallery.position].name;
    const char* dot = strrchr(name, '.');
    int length = dot ? (int)(dot - name) : lstrlenA(name);
    if (length > 0) {
        tb_SetForeColor(face, 0, 0, 0);
        tb_SetFont(face, TB_Face{0});
        tb_SetFont(face, TB_Size{12});
        tb_SetFont(face, TB_Style{1});
        tb_DrawText(face, (kTitle.left + kTitle.right) / 2, (kTitle.top + kTitle.bottom) / 2 - 6, name, length, 0, 1,
                    2, 0);
    }

    char path[MAX_PATH];
    EntryPath(gallery.position, path, sizeof path);
    // Read at the preview's size: a large photo is never held whole.
    TB_PictureNeed need = {TB_FIT_SCALE, kPreview.right - kPreview.left, kPreview.bottom - kPreview.top};
    int picture = pictures_ReadPicture(path, need, nullptr);
    if (picture < 0) {
        Say(face, kCannotPreview);
        return;
    }
    RECT from;
    tb_GetBitmapRect(picture, &from);
    tb_CopyBitmap(picture, face, &from, &kPreview);
    tb_DisposeBitmap(picture);
}

int Reacts(PictureDialog*, int x, int y)
{
    return In(kPreview, x, y) || In(kChoose, x, y) || In(kCancel, x, y) || (NextEnabled() && In(kNext, x, y)) ||
           (PreviousEnabled() && In(kPrevious, x, y)) || (Valid(gallery.position) && In(kName, x, y));
}

void Press(PictureDialog* d, int x, int y)
{
    if (Reacts(d, x, y)) tb_PlaySoundNoStop(SOUND_BUTTON);
}

void Release(PictureDialog* d, int x, int y)
{
    if (In(kCancel, x, y)) {
        picture_EndDialog(d, -1);
    } else if (In(kChoose, x, y) || In(kPreview, x, y)) {
        picture_EndDialog(d, 1);
    } else if (NextEnabled() && In(kNext, x, y)) {
        ++gallery.position;
        picture_Redraw(d);
    } else if (PreviousEnabled() && In(kPrevious, x, y)) {
        --gallery.position;
        picture_Redraw(d);
    } else if (Valid(gallery.position) && In(kName, x, y)) {
        char text[400];
        wsprintfA(text, "This picture file is named %s.", gallery.entries[gallery.position].name);
        tb_InfoBox(text, d->hwnd);
    }
}

void ShowCanvas(void)
{
    scene_ComposeCanvasView();
    scene_ShowRect(&scene.layout.canvas);
}

}  // namespace

void pictures_DrawGallery(int face) { Draw(nullptr, face); }

void pictures_EnumerateGallery(void)
{
    gallery.count = 0;
    for (GalleryEntry& e : gallery.entries) {
        e.valid = 0;
        e.second = 0;
        e.name[0] = 0;
    }
    char pattern[MAX_PATH];
    struct _finddata_t found;
    EntryPath(-1, pattern, sizeof pattern - 10);
    lstrcatA(pattern, "blank.bmp");
    intptr_t search = _findfirst(pattern, &found);
    bool hasBlank = search != -1;
    if (hasBlank) {
        lstrcpynA(gallery.entries[0].name, found.name, sizeof gallery.entries[0].name);
        gallery.entries[0].valid = 1;
        gallery.count = 1;
        _findclose(search);
    }
    // Every picture file of the browse folder, then those of the second folder, each in the order
    // the file system gives them; only the program's own blank page is pinned.
    for (int second = 0; second <= 1 && (!second || gallery.secondFolder[0]) && gallery.count < GALLERY_MAX; ++second) {
        lstrcpynA(pattern, second ? gallery.secondFolder : scene.browseFolder, sizeof pattern - 10);
        lstrcatA(pattern, "*");
        search = _findfirst(pattern, &found);
        if (search == -1) continue;
        do {
            if (!tb_IsPictureName(found.name)) continue;
            // The blank page is listed once, in front, whatever name case the search gives it.
            if (!second && strcmp(found.name, "blank.bmp") == 0) continue;
            if (!second && hasBlank && strcmp(found.name, gallery.entries[0].name) == 0) continue;
            GalleryEntry& e = gallery.entries[gallery.count++];
            lstrcpynA(e.name, found.name, sizeof e.name);
            e.valid = 1;
            e.second = second;
        } while (gallery.count < GALLERY_MAX && _findnext(search, &found) == 0);
        _findclose(search);
    }
}

int pictures_GalleryAndLoad(int* loaded)
{
    *loaded = 0;
    pictures_EnumerateGallery();
    if (!Valid(gallery.position)) gallery.position = 0;

    PictureDialog dialog = {};
    dialog.width = GALLERY_WIDTH;
    dialog.height = GALLERY_HEIGHT;
    dialog.escapeResult = 0;
    dialog.draw = Draw;
    dialog.reacts = Reacts;
    dialog.press = Press;
    dialog.release = Release;
    INT_PTR result = picture_RunDialog(&dialog);
    if (result != 1) return (int)result;
    return pictures_LoadGalleryEntry(loaded);
}

int pictures_LoadGalleryEntry(int* loaded)
{
    *loaded = 0;
    if (!pictures_SaveBefore(kAskBeforeOpening)) return 0;
    char path[MAX_PATH];
    EntryPath(gallery.position, path, sizeof path);
    int format = TB_FORMAT_NONE;
    int picture = pictures_ReadPicture(path, pictures_PlacingNeed(), &format);
    lstrcpynA(scene.fileName, path, sizeof scene.fileName);
    if (picture < 0) {
        tb_AttentionBox(kCouldNotOpen);
        return 1;
    }
    pictures_NameAfterRead(format);
    pictures_Place(picture);
    tb_DisposeBitmap(picture);
    recovery_Remove();
    *loaded = 1;
    return 1;
}

int pictures_BrowseGallery(void)
{
    if (!pictures_GalleryFolder(scene.browseFolder, sizeof scene.browseFolder)) {
        tb_AttentionBox(kCannotReachToOpen);
        return 0;
    }
    int loaded = 0;
    if (pictures_GalleryAndLoad(&loaded) == 1) ShowCanvas();
    return loaded;
}

int pictures_OfferPages(void)
{
    char folder[sizeof scene.browseFolder];
    lstrcpynA(folder, scene.browseFolder, sizeof folder);
    int position = gallery.position;
    pictures_PagesFolder(scene.browseFolder, sizeof scene.browseFolder);
    lstrcpynA(gallery.secondFolder, policy.pagesFolder, sizeof gallery.secondFolder);
    gallery.position = 0;
    int loaded = 0;
    if (pictures_GalleryAndLoad(&loaded) == 1) {
        // A page is a start, not a picture of the child's: saving it is offered under a free name.
        pictures_NameAfterPage(scene.fileName);
        ShowCanvas();
    }
    gallery.secondFolder[0] = 0;
    lstrcpynA(scene.browseFolder, folder, sizeof scene.browseFolder);
    gallery.position = position;
    return loaded;
}
