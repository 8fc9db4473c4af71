// Save, Open, placing an opened picture, the save-before question and the names the Save As
// offers, through the real common dialogs answered by the test's hooks; a disk that fills up part-way;
// the recovery copy, written, dropped, removed and brought back.
#include <shlobj.h>

#include <algorithm>

#include "mutate_checks.h"
#include "pictures_test_util.h"
#include "tb_internal.h"

using namespace pictest;

namespace {

int stretchPreference = 1;
int ReadStretch(void) { return stretchPreference; }

}  // namespace

TEST_F(PicturesTest, PlacedPicturesAreStretchedOrCentredOnWhite)
{
    // A canvas of 400 x 300 of the test's own.
    int canvas = scene.canvasBitmap;
    RECT small = {0, 0, 400, 300};
    scene.canvasBitmap = tb_CreateBitmap(&small, 0, 24);
    RECT keptPicture = scene.layout.picture;
    scene.layout.picture = small;
    picturePreferences.stretch = ReadStretch;

    struct Case {
        int stretch, w, h;
        RECT red;  // where the picture lies on the canvas (the rest is white)
    };
    const Case cases[] = {
        {0, 100, 50, {150, 125, 250, 175}},
        {0, 101, 51, {150, 125, 251, 176}},
        {0, 600, 400, {0, 0, 400, 300}},  // larger than the canvas: cropped equally on both sides
        {1, 100, 50, {0, 0, 400, 300}},
    };
    for (const Case& c : cases) {
        stretchPreference = c.stretch;
        FillCanvas(0, 0, 255);
        RECT r = {0, 0, c.w, c.h};
        int loaded = tb_CreateBitmap(&r, 0, 24);
        tb_SetForeColor(loaded, 65025, 0, 0);
        tb_PaintRect(loaded, &r);
        pictures_Place(loaded);
        tb_DisposeBitmap(loaded);
        for (int y = 0; y < 300; y += 1)
            for (int x = 0; x < 400; x += 1) {
                bool inside = x >= c.red.left && x < c.red.right && y >= c.red.top && y < c.red.bottom;
                Channels want = inside ? Channels{255, 0, 0} : Channels{255, 255, 255};
                ASSERT_EQ(PixelOf(scene.canvasBitmap, x, y), want)
                    << c.w << "x" << c.h << " stretch " << c.stretch << " at " << x << "," << y;
            }
    }
    tb_DisposeBitmap(scene.canvasBitmap);
    scene.canvasBitmap = canvas;
    scene.layout.picture = keptPicture;
}

TEST_F(PicturesTest, SaveBeforeQuestionAsksOnlyWhenModifiedAndClearsTheFlag)
{
    const char* questions[] = {kAskBeforeOpening, kAskBeforeNew, kAskBeforeQuitting};
    EXPECT_STREQ(kAskBeforeOpening, "Do you want to save the current picture before opening a new one?");
    EXPECT_STREQ(kAskBeforeNew, "Do you want to save the current picture before starting a new one?");
    EXPECT_STREQ(kAskBeforeQuitting, "Do you want to save the current picture before quitting?");
    std::string saved = folder + "before.bmp";
    for (const char* question : questions) {
        // Not modified: no question at all.
        scene.modified = 0;
        size_t before = boxes->count();
        EXPECT_EQ(pictures_SaveBefore(question), 1);
        EXPECT_EQ(boxes->count(), before);

        // No: nothing saved, the flag is cleared.
        scene.modified = 1;
        boxes->queue(IDNO);
        EXPECT_EQ(pictures_SaveBefore(question), 1);
        ASSERT_EQ(boxes->count(), before + 1);
        EXPECT_EQ(boxes->seen().back().text, question);
        EXPECT_EQ(boxes->seen().back().caption, "Attention...");
        EXPECT_EQ(scene.modified, 0);

        // Yes, then Cancel in the Save As dialog: the child asked to keep the picture, so the
        // command stops, silently, with the flag still set and nothing written.
        scene.modified = 1;
        boxes->queue(IDYES);
        std::string title;
        AnswerFileDialog(*boxes, &title, "");
        size_t asked = boxes->count();
        EXPECT_EQ(pictures_SaveBefore(question), 0);
        EXPECT_EQ(title, "Save As");
        EXPECT_EQ(boxes->count(), asked + 1) << "only the question: no box after the cancel";
        EXPECT_EQ(scene.modified, 1);

        // Yes and a name: the picture is written there.
        DeleteFileA(saved.c_str());
        FillCanvas(10, 200, 30);
        scene.modified = 1;
        boxes->queue(IDYES);
        AnswerFileDialog(*boxes, &title, saved);
        EXPECT_EQ(pictures_SaveBefore(question), 1);
        EXPECT_EQ(scene.modified, 0);
        EXPECT_EQ(ReadWholeFile(saved).size(), 54u + (size_t)((W() * 3 + 3) & ~3) * H());
        EXPECT_EQ(std::string(scene.fileName), saved);
    }
}

// A picture without a name of its own is offered the first name no picture of the folder has
// (whatever the case of the names there); one with its own name keeps it. The save question's
// Save As opens in the Gallery on that name, the dialog folder left where it was.
TEST_F(PicturesTest, TheSaveAsOffersTheFirstFreeNameUnlessThePictureHasItsOwn)
{
    const std::string mine = folder + "mine.bmp";
    const struct {
        std::vector<std::string> present;
        std::string name, offered;
    } cases[] = {
        {{}, "Tintwell.bmp", "Tintwell.bmp"},
        {{"TINTWELL.BMP", "Tintwell 2.bmp"}, "Tintwell.bmp", "Tintwell 3.bmp"},
        {{"Tintwell.bmp", "Tintwell 3.bmp", "Tintwell 2.txt"}, "Tintwell.bmp", "Tintwell 2.bmp"},
        {{"cat.bmp"}, "cat.bmp", "cat 2.bmp"},
        {{"cat.PNG", "cat 2.tiff", "cat 3.jpeg.txt"}, "cat.png", "cat 3.bmp"},
        {{"photo.gif", "photo 2.Jpg"}, "photo.jpg", "photo 3.bmp"},
        {{"mine.bmp"}, mine, mine},
    };
    for (const auto& c : cases) {
        for (const std::string& f : c.present) WriteWholeFile(folder + f, {1});
        lstrcpynA(scene.fileName, c.name.c_str(), sizeof scene.fileName);
        char offered[MAX_PATH];
        pictures_OfferedName(folder.c_str(), offered, sizeof offered);
        EXPECT_EQ(std::string(offered), c.offered) << c.name;
        for (const std::string& f : c.present) DeleteFileA((folder + f).c_str());
    }
    pictures_NameAfterPage("C:\\Pages\\blank.bmp");
    EXPECT_STREQ(scene.fileName, "Tintwell.bmp");

    char gallery[MAX_PATH];
    pictures_GalleryFolder(gallery, sizeof gallery);
    const std::string base = std::to_string(GetCurrentProcessId()) + "_page", taken = gallery + base + ".bmp";
    WriteWholeFile(taken, {1});
    tb_SetFileDialogFolder(folder.c_str());
    pictures_NameAfterPage(("C:\\Pages\\" + base + ".bmp").c_str());
    scene.modified = 1;
    boxes->queue(IDYES);
    AnswerFileDialog(*boxes, nullptr, "*keep*");
    EXPECT_EQ(pictures_SaveBefore(kAskBeforeNew), 1);
    EXPECT_EQ(std::string(scene.fileName), gallery + base + " 2.bmp");
    EXPECT_EQ(std::string(tb.dialogFolder), folder);
    EXPECT_EQ(ReadWholeFile(taken), std::vector<BYTE>{1});
    DeleteFileA(taken.c_str());
    DeleteFileA(scene.fileName);
}

// A save that cannot write its file says so once, keeps the flag set and the old file as it was,
// leaves no half-written file behind, and stops Open and the gallery.
TEST_F(PicturesTest, AFailedSaveIsToldKeepsTheFlagAndStopsOpenAndGallery)
{
    std::string locked = folder + "locked.bmp";
    WriteWholeFile(locked, SolidBmp(3, 3, 1, 2, 3));
    const std::vector<BYTE> old = ReadWholeFile(locked);
    // Another program holds the file open and shares it with no one: it cannot be replaced.
    HANDLE holder = CreateFileA(locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    std::string title;

    // Save.
    scene.modified = 1;
    AnswerFileDialog(*boxes, &title, locked);
    pictures_Save();
    ASSERT_EQ(boxes->count(), 1u);
    EXPECT_EQ(boxes->lastText(), kCouldNotSave);
    EXPECT_EQ(boxes->seen().back().caption, "Attention!");
    EXPECT_EQ(scene.modified, 1);
    EXPECT_EQ(FilesIn(folder), std::vector<std::string>{"locked.bmp"});

    // Open: Yes to the question, the save fails; the Open dialog never comes.
    title.clear();
    boxes->queue(IDYES);
    AnswerFileDialog(*boxes, &title, locked);
    pictures_Open();
    EXPECT_EQ(title, "Save As");
    ASSERT_EQ(boxes->count(), 3u);
    EXPECT_EQ(boxes->seen()[1].text, kAskBeforeOpening);
    EXPECT_EQ(boxes->lastText(), kCouldNotSave);
    EXPECT_EQ(scene.modified, 1);

    // The save-before question of New and Quit answers "stop".
    boxes->queue(IDYES);
    AnswerFileDialog(*boxes, &title, locked);
    EXPECT_EQ(pictures_SaveBefore(kAskBeforeNew), 0);
    EXPECT_EQ(scene.modified, 1);

    // The gallery: the picture is chosen, the save fails, nothing is loaded.
    WriteWholeFile(folder + "blank.bmp", SolidBmp(8, 8, 255, 0, 0));
    FillCanvas(0, 255, 0);
    boxes->onDialog([&](HWND dialog) {
        char text[64] = {};
        GetWindowTextA(dialog, text, sizeof text);
        if (lstrcmpA(text, "Save As") == 0) {
            SetDlgItemTextA(dialog, GetDlgItem(dialog, kFileNameCombo) ? kFileNameCombo : kFileNameEdit, locked.c_str());
            PostMessageA(dialog, WM_COMMAND, IDOK, 0);
            return true;
        }
        PostMessageA(dialog, WM_LBUTTONUP, 0, MAKELPARAM(180, 390));  // the choose button
        return true;
    });
    boxes->queue(IDYES);
    int loaded = 1;
    EXPECT_EQ(pictures_GalleryAndLoad(&loaded), 0);
    EXPECT_EQ(loaded, 0);
    EXPECT_EQ(boxes->lastText(), kCouldNotSave);
    EXPECT_EQ(PixelOf(scene.canvasBitmap, 5, 5), (Channels{0, 255, 0}));
    EXPECT_EQ(scene.modified, 1);
    CloseHandle(holder);
    EXPECT_EQ(ReadWholeFile(locked), old);
}

TEST_F(PicturesTest, SaveAndOpenRoundTripThroughTheFileDialogs)
{
    // Save offers the current name in the Gallery folder beside the program.
    char gallery[MAX_PATH];
    pictures_GalleryFolder(gallery, sizeof gallery);
    std::string expected = std::string(gallery) + "Tintwell.bmp";
    DeleteFileA(expected.c_str());
    FillCanvas(255, 255, 255);
    RECT dot = {10, 20, 30, 25};
    tb_SetForeColor(scene.canvasBitmap, 0, 0, 65025);
    tb_PaintRect(scene.canvasBitmap, &dot);
    scene.modified = 1;
    std::string title;
    AnswerFileDialog(*boxes, &title, "*keep*");
    pictures_Save();
    EXPECT_EQ(title, "Save As");
    EXPECT_EQ(scene.modified, 0);
    std::vector<BYTE> file = ReadWholeFile(expected);
    ASSERT_EQ(file.size(), 54u + (size_t)((W() * 3 + 3) & ~3) * H()) << expected;
    EXPECT_EQ(file[28], 24);
    EXPECT_EQ((int)(file[18] | file[19] << 8), W());
    EXPECT_EQ((int)(file[22] | file[23] << 8), H());
    EXPECT_EQ(std::string(scene.fileName), expected);

    // Open the file again over a changed canvas.
    FillCanvas(0, 0, 0);
    scene.undoAvailable = 0;
    AnswerFileDialog(*boxes, &title, expected);
    pictures_Open();
    EXPECT_EQ(title, "Open");
    EXPECT_EQ(PixelOf(scene.canvasBitmap, 15, 22), (Channels{0, 0, 255}));
    EXPECT_EQ(PixelOf(scene.canvasBitmap, 5, 5), (Channels{255, 255, 255}));
    EXPECT_EQ(scene.undoAvailable, 1);
    // The monitor shows it.
    EXPECT_EQ(PixelOf(scene.sceneBitmap, scene.layout.origin.x + 15, scene.layout.origin.y + 22), (Channels{0, 0, 255}));
    EXPECT_EQ(boxes->count(), 0u);
    DeleteFileA(expected.c_str());

    // A name without extension gets ".bmp".
    std::string bare = folder + "noext";
    AnswerFileDialog(*boxes, &title, bare);
    pictures_Save();
    EXPECT_FALSE(ReadWholeFile(bare + ".bmp").empty());
}

TEST_F(PicturesTest, OpeningABrokenFileIsRefusedAndLeavesTheCanvas)
{
    struct Case {
        const char* name;
        std::vector<BYTE> bytes;
    };
    std::vector<BYTE> good = SolidBmp(20, 10, 9, 9, 9);
    std::vector<BYTE> cut(good.begin(), good.begin() + good.size() / 2);
    std::vector<BYTE> text = {'h', 'e', 'l', 'l', 'o', '\n'};
    std::vector<BYTE> png = {0x89, 'P', 'N', 'G', 13, 10, 26, 10, 0, 0, 0, 13};
    const Case cases[] = {{"zero.bmp", {}}, {"cut.bmp", cut}, {"text.bmp", text}, {"png.bmp", png}};
    for (const Case& c : cases) {
        WriteWholeFile(folder + c.name, c.bytes);
        FillCanvas(0, 128, 0);
        size_t before = boxes->count();
        std::string title;
        AnswerFileDialog(*boxes, &title, folder + c.name);
        pictures_Open();
        ASSERT_EQ(boxes->count(), before + 1) << c.name;
        EXPECT_EQ(boxes->lastText(), "Incompatible File:  The file must be in Windows BMP 24bpp format") << c.name;
        EXPECT_EQ(PixelOf(scene.canvasBitmap, W() / 2, H() / 2), (Channels{0, 128, 0})) << c.name;
    }
    // Cancelling Open does nothing at all.
    size_t before = boxes->count();
    AnswerFileDialog(*boxes, nullptr, "");
    pictures_Open();
    EXPECT_EQ(boxes->count(), before);
}

TEST_F(PicturesTest, GalleryFallsBackToThePicturesFolderWhereTheProgramFolderIsReadOnly)
{
    char own[MAX_PATH];
    pictures_ProgramFolder(own, sizeof own);
    char program[MAX_PATH];
    GetModuleFileNameA(nullptr, program, sizeof program);
    EXPECT_EQ(std::string(program).find(own), 0u);

    char beside[MAX_PATH];
    ASSERT_TRUE(pictures_GalleryFolderFor(folder.c_str(), beside, sizeof beside));
    EXPECT_EQ(std::string(beside), folder + "Gallery\\");
    EXPECT_NE(GetFileAttributesA(beside), INVALID_FILE_ATTRIBUTES);

    // A "program folder" that cannot take a Gallery: a file stands where the folder would be.
    std::string blocked = folder + "blocked\\";
    CreateDirectoryA(blocked.c_str(), nullptr);
    WriteWholeFile(blocked + "Gallery", {1, 2, 3});
    char fallback[MAX_PATH];
    ASSERT_TRUE(pictures_GalleryFolderFor(blocked.c_str(), fallback, sizeof fallback));
    char pictures[MAX_PATH] = {};
    SHGetFolderPathA(nullptr, CSIDL_MYPICTURES, nullptr, 0, pictures);
    EXPECT_EQ(std::string(fallback), std::string(pictures) + "\\Tintwell\\Gallery\\");
    EXPECT_NE(GetFileAttributesA(fallback), INVALID_FILE_ATTRIBUTES);
}

// Save As with the PNG type writes a PNG that reads back as exactly the canvas; a picture read from
// a photo is offered its base name with ".bmp" and, saved as PNG, has a name of its own.
TEST_F(PicturesTest, SavingAsPngKeepsTheCanvasExactlyAndAPhotoIsOfferedItsBaseName)
{
    for (int y = 0; y < H(); y += 7) {
        RECT band = {y % 13, y, W(), y + 7};
        tb_SetForeColor(scene.canvasBitmap, (y * 97 % 256) * 255L, (y * 31 % 256) * 255L, (255 - y % 256) * 255L);
        tb_PaintRect(scene.canvasBitmap, &band);
    }
    auto readBack = [&](const std::string& path) {
        int b = pictures_ReadPicture(path.c_str(), TB_PictureNeed{TB_FIT_CROP, W(), H()}, nullptr);
        mutate::Bytes bytes = b >= 0 ? mutate::Storage(b) : mutate::Bytes();
        if (b >= 0) tb_DisposeBitmap(b);
        return bytes;
    };
    std::string offered;
    AnswerFileDialog(*boxes, nullptr, folder + "picture", 1);  // no extension, the PNG type
    pictures_Save();
    EXPECT_EQ(std::string(scene.fileName), folder + "picture.png");
    EXPECT_TRUE(readBack(folder + "picture.png") == mutate::Storage(scene.canvasBitmap));

    std::string photo = folder + "im_jpeg_orientation6.jpg", gallery;
    ASSERT_TRUE(CopyFileA((ForeignFolder() + "im_jpeg_orientation6.jpg").c_str(), photo.c_str(), FALSE));
    AnswerFileDialog(*boxes, nullptr, photo);
    pictures_Open();
    AnswerFileDialog(*boxes, nullptr, "*keep*", 1, &offered);
    pictures_Save();
    EXPECT_EQ(offered, "im_jpeg_orientation6.bmp");
    gallery = std::string(scene.browseFolder) + "im_jpeg_orientation6.png";
    EXPECT_EQ(std::string(scene.fileName), gallery);
    EXPECT_TRUE(readBack(gallery) == mutate::Storage(scene.canvasBitmap));
    AnswerFileDialog(*boxes, nullptr, "", -1, &offered);
    pictures_Save();
    EXPECT_EQ(offered, "im_jpeg_orientation6.png");
    DeleteFileA(gallery.c_str());
}

namespace {

// A disk with room for this many bytes more: writes beyond it stop part-way with a full disk.
DWORD g_room;

BOOL WINAPI FillingDisk(HANDLE file, LPCVOID data, DWORD count, LPDWORD written, LPOVERLAPPED overlapped)
{
    const DWORD take = count < g_room ? count : g_room;
    BOOL ok = WriteFile(file, data, take, written, overlapped);
    g_room -= take;
    if (!ok || take == count) return ok;
    SetLastError(ERROR_DISK_FULL);
    return FALSE;
}

std::vector<BYTE> Bytes(const std::string& text) { return std::vector<BYTE>(text.begin(), text.end()); }

std::vector<std::string> SortedFilesIn(const std::string& folder)
{
    std::vector<std::string> names = FilesIn(folder);
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace

// A disk that fills up in the middle of a write, wherever that is: the Save, as BMP or PNG, tells
// the child once and leaves the file it would have replaced whole; the recovery copy keeps the one
// before it and says nothing. No temporary file is left behind.
TEST_F(PicturesTest, ADiskThatFillsUpPartWayLeavesThePreviousFilesWhole)
{
    const std::string copy = recoveryFolder + "picture.bmp";
    scene.modified = 1;
    recovery_NoteInput(1);
    ASSERT_EQ(recovery_WriteNow(), 1);
    const std::vector<BYTE> kept = ReadWholeFile(copy);
    for (const std::string name : {"full.bmp", "full.png"}) {
        const std::string path = folder + name;
        FillCanvas(0, 90, 0);
        ASSERT_TRUE(pictures_WriteCanvas(path.c_str()));
        const DWORD whole = (DWORD)ReadWholeFile(path).size();
        WriteWholeFile(path, SolidBmp(3, 3, 1, 2, 3));
        const std::vector<BYTE> old = ReadWholeFile(path);
        for (DWORD room : {20ul, whole / 2, whole - 1}) {  // in the header, the pixels, the last byte
            SCOPED_TRACE(name + " " + std::to_string(room));
            FillCanvas(0, 90, 0);
            recovery_NoteInput(1);
            const size_t before = boxes->count();
            AnswerFileDialog(*boxes, nullptr, path);
            tb_SetFileWriter(FillingDisk);
            g_room = room;
            pictures_Save();
            g_room = room;
            EXPECT_EQ(recovery_WriteNow(), 0);
            tb_SetFileWriter(nullptr);
            ASSERT_EQ(boxes->count(), before + 1);
            EXPECT_EQ(boxes->lastText(), kCouldNotSave);
            EXPECT_EQ(scene.modified, 1);
            EXPECT_EQ(ReadWholeFile(path), old);
            EXPECT_EQ(ReadWholeFile(copy), kept);
            EXPECT_EQ(FilesIn(folder), std::vector<std::string>{name});
            EXPECT_EQ(SortedFilesIn(recoveryFolder), (std::vector<std::string>{"name.txt", "picture.bmp"}));
        }
        DeleteFileA(path.c_str());
    }
}

// The recovery copy waits for the pointer to rest, is written a step per idle tick exactly as the
// toolbox writes pictures, never becomes what a change in the middle of its write left, and goes
// at a clean ending.
TEST_F(PicturesTest, TheRecoveryCopyWaitsForAPauseIsWrittenInSlicesAndDroppedWhenThePictureChanges)
{
    const std::string copy = recoveryFolder + "picture.bmp", reference = folder + "reference.bmp";
    FillCanvas(20, 40, 60);
    ASSERT_TRUE(pictures_WriteCanvas(reference.c_str()));
    lstrcpynA(scene.fileName, "cat.bmp", sizeof scene.fileName);
    scene.modified = 1;
    recovery.sliceTicks = 1;  // one write per idle tick
    recovery_NoteInput(1);
    recovery_Idle();
    EXPECT_EQ(recovery.writing, 0) << "not before the pause";
    recovery.lastInput = tb_GetTime() - recovery.pause;
    for (int tick = 0; tick < 4; ++tick) recovery_Idle();
    EXPECT_EQ(ReadWholeFile(recoveryFolder + "name.txt"), Bytes("cat.bmp\r\n"));
    recovery_NoteInput(0);  // a move that changes nothing lets it go on
    EXPECT_EQ(recovery.opened, 1);
    EXPECT_GT(recovery.written, 0u);
    recovery_NoteInput(1);  // a press drops it
    EXPECT_EQ(recovery.writing, 0);
    EXPECT_TRUE(ReadWholeFile(copy).empty());

    // Each copy after a pause is written from its first byte over the file the stopped copy or the
    // copy before left, while other files come and go on the file channel between its slices, and
    // holds exactly the picture, also one smaller than what that file held.
    const int canvas = scene.canvasBitmap;
    RECT smaller = {0, 0, W() / 2, H() / 3};
    const struct {
        BYTE red;
        bool small;
        size_t kept;  // temporary files left beside the copy: the copy before, to be written over
    } copies[] = {{20, false, 0}, {90, false, 1}, {160, true, 1}};
    for (const auto& c : copies) {
        SCOPED_TRACE(c.red);
        if (c.small) scene.canvasBitmap = tb_CreateBitmap(&smaller, 0, 24);
        FillCanvas(c.red, 40, 60);
        ASSERT_TRUE(pictures_WriteCanvas(reference.c_str()));
        recovery_NoteInput(1);
        recovery.lastInput = tb_GetTime() - recovery.pause;
        int ticks = 0;
        while (recovery.copy == RECOVERY_DUE && ++ticks < 100000) {
            recovery_Idle();
            if (ticks == 8) {
                ASSERT_TRUE(pictures_WriteCanvas((folder + "between.bmp").c_str()));
            }
        }
        EXPECT_GT(ticks, 10);
        EXPECT_EQ(ReadWholeFile(copy), ReadWholeFile(reference));
        EXPECT_EQ(ReadWholeFile(folder + "between.bmp"), ReadWholeFile(reference));
        const std::vector<std::string> files = SortedFilesIn(recoveryFolder);
        EXPECT_EQ(std::count_if(files.begin(), files.end(),
                                [](const std::string& f) { return f.find(".tmp") != std::string::npos; }),
                  (long)c.kept);
        EXPECT_EQ(files.size(), 2 + c.kept);
    }
    tb_DisposeBitmap(scene.canvasBitmap);
    scene.canvasBitmap = canvas;
    DeleteFileA((folder + "between.bmp").c_str());
    recovery_Remove();
    EXPECT_TRUE(FilesIn(recoveryFolder).empty());
}

// At start-up a copy left behind comes back on the easel, stretched to the canvas, changed and
// without undo, under the name kept with it (a fresh one where that cannot be read); it is taken
// off its place before it is read, so that a start that never gets further tries it only once.
TEST_F(PicturesTest, AtStartUpALeftCopyComesBackOnceUnderItsName)
{
    const std::string copy = recoveryFolder + "picture.bmp", restoring = recoveryFolder + "picture.restoring";
    const struct {
        std::vector<BYTE> picture, name;
        std::string named;
        Channels colour;  // green: not restored
    } cases[] = {
        {SolidBmp(40, 30, 200, 0, 0), Bytes("C:\\P\\mine.bmp\r\nmore"), "C:\\P\\mine.bmp", {200, 0, 0}},
        {SolidBmp(W(), H(), 0, 0, 200), Bytes("no line end"), "Tintwell.bmp", {0, 0, 200}},
        {Bytes("not a picture"), Bytes("x.bmp\r\n"), "Tintwell.bmp", {0, 255, 0}},
        {ReadWholeFile(ForeignFolder() + "pil_png_rgb.png"), Bytes("x.bmp\r\n"), "Tintwell.bmp", {0, 255, 0}},
    };
    for (const auto& c : cases) {
        WriteWholeFile(copy, c.picture);
        WriteWholeFile(recoveryFolder + "name.txt", c.name);
        FillCanvas(0, 255, 0);
        scene.modified = 0;
        scene.undoAvailable = 1;
        lstrcpynA(scene.fileName, "Tintwell.bmp", sizeof scene.fileName);
        const bool restored = c.colour.g != 255;
        EXPECT_EQ(recovery_Restore(), restored ? 1 : 0);
        EXPECT_EQ(PixelOf(scene.canvasBitmap, W() - 1, H() - 1), c.colour);
        EXPECT_EQ(scene.modified, restored ? 1 : 0);
        EXPECT_EQ(scene.undoAvailable, restored ? 0 : 1);
        EXPECT_EQ(std::string(scene.fileName), c.named);
        EXPECT_EQ(recovery_Restore(), 0);
        recovery_RoomIsUp();
        EXPECT_TRUE(ReadWholeFile(restoring).empty());
        while (recovery.copy == RECOVERY_DUE) recovery_Idle();  // kept again at once
        EXPECT_EQ(ReadWholeFile(copy).empty(), !restored);
        recovery_Remove();
    }
}
