// The gallery: what it lists and in which order, turning its pages, choosing, and folders full of
// things that are not pictures.
#include <algorithm>
#include <set>

#include "mutate_checks.h"
#include "pictures/policy.h"
#include "pictures_test_util.h"

using namespace pictest;

namespace {

const POINT kChoose = {180, 390}, kCancel = {230, 390}, kNext = {335, 390}, kPrevious = {74, 390},
            kName = {383, 239};

// Answers the gallery dialog with button releases at these points, or Escape for {-1, -1}.
void ClickGallery(BoxScript& boxes, std::vector<POINT> clicks)
{
    boxes.onDialog([clicks](HWND dialog) {
        char text[64] = {};
        GetWindowTextA(dialog, text, sizeof text);
        if (text[0]) return false;  // not the gallery (it has no caption)
        for (POINT p : clicks) {
            if (p.x < 0) {
                PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
            } else {
                PostMessageA(dialog, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
                PostMessageA(dialog, WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
            }
        }
        return true;
    });
}

std::vector<std::string> Listed()
{
    std::vector<std::string> names;
    for (int i = 0; i < gallery.count; ++i) names.push_back(gallery.entries[i].name);
    return names;
}

}  // namespace

TEST_F(PicturesTest, GalleryListsBlankFirstAndEveryPictureOnce)
{
    const std::vector<std::vector<std::string>> orders = {
        {"blank.bmp", "apple.bmp", "zebra.bmp"},
        {"zebra.bmp", "apple.bmp", "blank.bmp"},
        {"apple.bmp", "blank.bmp", "zebra.bmp", "notes.txt"},
    };
    for (const auto& order : orders) {
        pictest::RemoveFolder(folder);
        CreateDirectoryA(folder.c_str(), nullptr);
        for (const std::string& name : order) WriteWholeFile(folder + name, SolidBmp(2, 2, 0, 0, 0));
        pictures_EnumerateGallery();
        std::vector<std::string> names = Listed();
        ASSERT_EQ(names.size(), 3u);
        EXPECT_EQ(names[0], "blank.bmp");
        std::sort(names.begin() + 1, names.end());
        EXPECT_EQ(names[1], "apple.bmp");
        EXPECT_EQ(names[2], "zebra.bmp");
    }
    // Without a blank page the pictures come as the search gives them.
    DeleteFileA((folder + "blank.bmp").c_str());
    pictures_EnumerateGallery();
    EXPECT_EQ(gallery.count, 2);
}

TEST_F(PicturesTest, GalleryHoldsAHundredPicturesAndTheNextArrowStopsAtTheLast)
{
    for (int i = 0; i < 150; ++i) WriteWholeFile(folder + "picture" + std::to_string(i) + ".bmp", {});
    WriteWholeFile(folder + "picture42.bmp", SolidBmp(4, 4, 200, 100, 50));
    pictures_EnumerateGallery();
    EXPECT_EQ(gallery.count, 100);
    std::vector<std::string> names = Listed();
    std::set<std::string> unique(names.begin(), names.end());
    EXPECT_EQ(unique.size(), 100u);
    for (int i = 0; i < GALLERY_MAX; ++i) EXPECT_EQ(gallery.entries[i].valid, i < 100 ? 1 : 0);

    // From the 98th entry three clicks on the next arrow reach the 100th and no further.
    gallery.position = 97;
    ClickGallery(*boxes, {kNext, kNext, kNext, kNext, kChoose});
    int loaded = 1;
    EXPECT_EQ(pictures_GalleryAndLoad(&loaded), 1);
    EXPECT_EQ(gallery.position, 99);
    EXPECT_EQ(std::string(scene.fileName), folder + gallery.entries[99].name);
    // It is one of the empty files: refused, the canvas kept.
    if (std::string(gallery.entries[99].name) != "picture42.bmp") {
        EXPECT_EQ(loaded, 0);
        EXPECT_EQ(boxes->lastText(), kCouldNotOpen);
    }
    // And back down with the previous arrow; the position is kept for the next use.
    ClickGallery(*boxes, {kPrevious, kPrevious, {-1, -1}});
    EXPECT_EQ(pictures_GalleryAndLoad(&loaded), 0);
    EXPECT_EQ(gallery.position, 97);
}

TEST_F(PicturesTest, EmptyGalleryShowsItsTextAndChoosingLoadsNothing)
{
    pictures_EnumerateGallery();
    EXPECT_EQ(gallery.count, 0);
    EXPECT_EQ(gallery.entries[0].valid, 0);
    EXPECT_STREQ(gallery.entries[0].name, "");
    EXPECT_STREQ(kNoImages, "There are no images in the Gallery.");

    FillCanvas(0, 0, 200);
    scene.modified = 1;
    ClickGallery(*boxes, {kNext, kName, kChoose});  // no arrows and no name button: only choose acts
    int loaded = 1;
    EXPECT_EQ(pictures_GalleryAndLoad(&loaded), 1);
    EXPECT_EQ(loaded, 0);
    // The save-before question (answered No), then the refusal.
    ASSERT_EQ(boxes->count(), 2u);
    EXPECT_EQ(boxes->seen()[0].text, kAskBeforeOpening);
    EXPECT_EQ(boxes->seen()[1].text, "Could not open selected file.");
    EXPECT_EQ(PixelOf(scene.canvasBitmap, 3, 3), (Channels{0, 0, 200}));

    // A missing folder is an empty one.
    std::string missing = folder + "missing\\";
    lstrcpynA(scene.browseFolder, missing.c_str(), sizeof scene.browseFolder);
    pictures_EnumerateGallery();
    EXPECT_EQ(gallery.count, 0);
}

TEST_F(PicturesTest, BrokenFilesInTheGalleryAreListedAndRefusedWithoutHarm)
{
    std::vector<BYTE> good = SolidBmp(40, 30, 255, 0, 0);
    WriteWholeFile(folder + "blank.bmp", good);
    std::vector<BYTE> cut(good.begin(), good.begin() + 70);
    WriteWholeFile(folder + "cut.bmp", cut);
    WriteWholeFile(folder + "zero.bmp", {});
    WriteWholeFile(folder + "words.bmp", {'n', 'o', 't', ' ', 'a', ' ', 'p', 'i', 'c', 't', 'u', 'r', 'e'});
    CreateDirectoryA((folder + "x.bmp").c_str(), nullptr);
    int slots = BitmapSlotsInUse();
    pictures_EnumerateGallery();
    ASSERT_EQ(gallery.count, 5);
    EXPECT_EQ(Listed()[0], "blank.bmp");

    // Page through all of them (each preview is drawn), ask the name of the last, then choose it.
    scene.modified = 0;
    FillCanvas(0, 200, 0);
    gallery.position = 0;
    ClickGallery(*boxes, {kNext, kNext, kNext, kNext, kName, kChoose});
    int loaded = 1;
    EXPECT_EQ(pictures_GalleryAndLoad(&loaded), 1);
    EXPECT_EQ(gallery.position, 4);
    ASSERT_EQ(boxes->count(), 2u);
    EXPECT_EQ(boxes->seen()[0].text, "This picture file is named " + std::string(gallery.entries[4].name) + ".");
    EXPECT_EQ(boxes->seen()[0].caption, "Information...");
    EXPECT_EQ(boxes->seen()[1].text, kCouldNotOpen);
    EXPECT_EQ(loaded, 0);
    EXPECT_EQ(PixelOf(scene.canvasBitmap, 3, 3), (Channels{0, 200, 0}));
    EXPECT_EQ(std::string(scene.fileName), folder + gallery.entries[4].name);

    // Escape and the cancel button load nothing.
    gallery.position = 0;
    ClickGallery(*boxes, {{-1, -1}});
    EXPECT_EQ(pictures_GalleryAndLoad(&loaded), 0);
    ClickGallery(*boxes, {kCancel});
    EXPECT_EQ(pictures_GalleryAndLoad(&loaded), -1);
    EXPECT_EQ(PixelOf(scene.canvasBitmap, 3, 3), (Channels{0, 200, 0}));

    // A click on the preview chooses the blank page, which is placed (stretched by default).
    ClickGallery(*boxes, {{200, 150}});
    EXPECT_EQ(pictures_GalleryAndLoad(&loaded), 1);
    EXPECT_EQ(loaded, 1);
    EXPECT_EQ(PixelOf(scene.canvasBitmap, W() - 1, H() - 1), (Channels{255, 0, 0}));
    EXPECT_EQ(boxes->count(), 2u);
    EXPECT_EQ(BitmapSlotsInUse(), slots) << "bitmaps left behind";
}

TEST_F(PicturesTest, PagesComeFromBesideTheProgramAndTheGalleryPlaceIsRestored)
{
    char pages[MAX_PATH];
    pictures_PagesFolder(pages, sizeof pages);
    char program[MAX_PATH];
    pictures_ProgramFolder(program, sizeof program);
    EXPECT_EQ(std::string(pages), std::string(program) + "Pages\\");

    // The pages folder beside this test program holds one page.
    CreateDirectoryA(pages, nullptr);
    std::string page = std::string(pages) + std::to_string(GetCurrentProcessId()) + "_page.bmp";
    WriteWholeFile(page, SolidBmp(10, 10, 0, 0, 255));
    gallery.position = 3;
    FillCanvas(255, 255, 255);
    ClickGallery(*boxes, {kChoose});
    EXPECT_EQ(pictures_OfferPages(), 1);
    EXPECT_EQ(std::string(scene.browseFolder), folder);
    EXPECT_EQ(gallery.position, 3);
    EXPECT_EQ(PixelOf(scene.canvasBitmap, W() / 2, H() / 2), (Channels{0, 0, 255}));
    EXPECT_EQ(boxes->count(), 0u);

    // A grown-up's second folder of pages follows the program's own; its blank page is not pinned.
    std::string more = TempFolder("more_pages");
    WriteWholeFile(more + "blank.bmp", SolidBmp(10, 10, 255, 0, 0));
    lstrcpynA(policy.pagesFolder, more.c_str(), sizeof policy.pagesFolder);
    ClickGallery(*boxes, {kNext, kChoose});
    EXPECT_EQ(pictures_OfferPages(), 1);
    policy = policy_None();
    ASSERT_EQ(gallery.count, 2);
    EXPECT_EQ(std::string(gallery.entries[0].name) + " " + gallery.entries[1].name,
              page.substr(page.rfind('\\') + 1) + " blank.bmp");
    EXPECT_EQ(gallery.entries[1].second, 1);
    EXPECT_EQ(PixelOf(scene.canvasBitmap, W() / 2, H() / 2), (Channels{255, 0, 0}));
    EXPECT_STREQ(gallery.secondFolder, "");
    RemoveFolder(more);
    DeleteFileA(page.c_str());
    RemoveDirectoryA(pages);
}

namespace {

int StretchOn(void) { return 1; }
int StretchOff(void) { return 0; }

}  // namespace

// Every picture file the program reads is listed once, whatever the letter case of its extension,
// "blank.bmp" alone in front; other files are not. The title loses only the extension.
TEST_F(PicturesTest, GalleryListsEveryPictureFormatAndTitlesLoseOnlyTheExtension)
{
    std::vector<std::string> pictures = {"a.PNG", "b.jpg", "c.JPEG", "d.gif", "e.Tif", "f.tiff", "g.bmp", "blank.png"};
    for (const std::string& name : pictures) WriteWholeFile(folder + name, {});
    for (const char* other : {"blank.bmp", "notes.txt", "h.bmpx", "i.png.zip", "jpg", "k.pngg"}) WriteWholeFile(folder + other, {});
    pictures_EnumerateGallery();
    std::vector<std::string> names = Listed();
    ASSERT_EQ(names.size(), pictures.size() + 1);
    EXPECT_EQ(names[0], "blank.bmp");
    std::sort(names.begin() + 1, names.end());
    std::sort(pictures.begin(), pictures.end());
    EXPECT_EQ(std::vector<std::string>(names.begin() + 1, names.end()), pictures);

    auto title = [](const char* name) {  // the title strip as the face shows it
        lstrcpynA(gallery.entries[0].name, name, sizeof gallery.entries[0].name);
        gallery.position = 0;
        RECT faceRect = {0, 0, 408, 417};
        int face = tb_CreateBitmap(&faceRect, 0, 24);
        pictures_DrawGallery(face);
        mutate::Bytes strip = mutate::Area(face, RECT{5, 5, 403, 23});
        tb_DisposeBitmap(face);
        return strip;
    };
    EXPECT_TRUE(title("dog.png") == title("dog.tiff")) << "the title of dog.tiff is not dog";
    EXPECT_TRUE(title("dog.png") == title("dog.jpeg")) << "the title of dog.jpeg is not dog";
}

// A PNG with alpha, a JPEG taken on its side (EXIF orientation 6), an animated GIF, a TIFF of two
// pages and a JPEG named ".png", each opened through the Open dialog (centred at its own size) and
// chosen in the gallery (its preview, then stretched over the canvas): upright, on white paper, the
// first frame or page. A picture read from JPEG, GIF or TIFF has no name of its own, a PNG has: the
// first is offered its base name, numbered where the folder holds a picture of that name.
TEST_F(PicturesTest, EachFormatThroughOpenAndTheGallery)
{
    const struct {
        const char *source, *name;  // the file of the build, the name it has here
        int tolerance;
        bool ownName;
    } cases[] = {{"pil_png_rgba.png", "pil_png_rgba.png", 1, true},
                 {"im_jpeg_orientation6.jpg", "im_jpeg_orientation6.jpg", 4, false},
                 {"pil_gif_animated.gif", "pil_gif_animated.gif", 0, false},
                 {"pil_tiff_pages.tif", "pil_tiff_pages.tif", 0, false},
                 {"pil_jpeg_baseline.jpg", "a photo named.png", 3, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::string name = c.name, stem = name.substr(0, name.rfind('.')), source = c.source;
        ForeignTruth t = ForeignTruthOf(source.substr(0, source.rfind('.')));
        // One copy for Open, one for the gallery, so that each road's own reading is seen.
        pictest::RemoveFolder(folder);
        std::string opened = folder + "opened\\";
        CreateDirectoryA(folder.c_str(), nullptr);
        CreateDirectoryA(opened.c_str(), nullptr);
        ASSERT_TRUE(CopyFileA((ForeignFolder() + source).c_str(), (folder + name).c_str(), FALSE));
        ASSERT_TRUE(CopyFileA((ForeignFolder() + source).c_str(), (opened + name).c_str(), FALSE));
        char offered[MAX_PATH];

        picturePreferences.stretch = StretchOff;
        AnswerFileDialog(*boxes, nullptr, opened + name);
        pictures_Open();
        EXPECT_EQ(PlacedDifferences(scene.canvasBitmap, scene.layout.picture, t, false, c.tolerance), 0);
        DeleteFileA((opened + name).c_str());
        pictures_OfferedName(opened.c_str(), offered, sizeof offered);
        EXPECT_EQ(std::string(offered), c.ownName ? opened + name : stem + ".bmp");

        picturePreferences.stretch = StretchOn;
        lstrcpynA(scene.browseFolder, folder.c_str(), sizeof scene.browseFolder);  // Open took the Gallery's
        RECT faceRect = {0, 0, 408, 417};
        int face = tb_CreateBitmap(&faceRect, 0, 24);
        mutate::OneEntryGallery(folder, c.name);
        pictures_DrawGallery(face);
        EXPECT_EQ(PlacedDifferences(face, mutate::kPreviewArea, t, true, c.tolerance), 0) << "the preview";
        tb_DisposeBitmap(face);
        ClickGallery(*boxes, {kChoose});
        int loaded = 0;
        EXPECT_EQ(pictures_GalleryAndLoad(&loaded), 1);
        EXPECT_EQ(loaded, 1);
        EXPECT_EQ(PlacedDifferences(scene.canvasBitmap, scene.layout.picture, t, true, c.tolerance), 0);
        pictures_OfferedName(folder.c_str(), offered, sizeof offered);
        EXPECT_EQ(std::string(offered), c.ownName ? folder + name : stem + " 2.bmp") << "its own base name is taken";
    }
    EXPECT_EQ(boxes->count(), 0u);
}
