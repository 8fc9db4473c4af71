// Seeded mutation runs through the roads a child's picture takes: Open's read into the canvas, the
// gallery's preview and New's coloring pages, with the checks of tests/support/mutate_checks.h
// after every file, for BMP files and (Open and the preview) for PNG, JPEG and GIF files. A few
// hundred files a road here; bench/mutation_runs.cpp runs 10^5 by hand.
#include "mutate_checks.h"
#include "pictures_test_util.h"

using namespace pictest;

namespace {

class PictureMutation : public PicturesTest {
protected:
    // The file of the run with this seed and number: a damaged BMP, or (others) a damaged PNG, JPEG
    // or GIF as ImageMagick and Pillow write them.
    mutate::Bytes File(uint64_t seed, int number, int* kind, bool others = false)
    {
        std::vector<mutate::Bytes>& from = others ? pictureSeeds : seeds;
        if (from.empty()) from = others ? mutate::PictureSeeds(ForeignFolder()) : mutate::GeneratedBmpSeeds(seed);
        mutate::Random r = mutate::RandomFor(seed, (uint64_t)number);
        return others ? mutate::MutatePicture(r, from, kind) : mutate::MutateBmp(r, from, kind);
    }
    std::vector<mutate::Bytes> seeds, pictureSeeds;
    // The process's private memory may not grow with the files: about 0.4 MB as the heap settles;
    // a decoder kept by mistake for each of 200 small files adds about 2 MB.
    void ExpectFlatMemory(size_t before) { EXPECT_LT((long long)mutate::PrivateBytes() - (long long)before, 3LL << 19); }
};

const int kFiles = 400;

int StretchOn(void) { return 1; }
int StretchOff(void) { return 0; }

}  // namespace

// BMP files, then PNG, JPEG and GIF files. A quarter of the files of the other runs: each refusal
// shows a box, and a box owned by the room costs Wine about half a second on a busy machine (the
// reader's memory over hundreds of files is watched by the preview's run).
TEST_F(PictureMutation, OpenTakesWhatTheReaderTakesAndRefusesTheRestUntouched)
{
    const int files = kFiles / 4;
    std::string path = folder + "chosen.bmp";
    for (bool others : {false, true}) {
        int taken = 0;
        size_t memory = mutate::PrivateBytes();
        for (int stretch : {1, 0}) {
            picturePreferences.stretch = stretch ? StretchOn : StretchOff;
            for (int i = 0; i < files / 2; ++i) {
                int number = stretch * 100000 + i, kind;
                mutate::Bytes file = File(others ? 16 : 11, number, &kind, others);
                ASSERT_TRUE(mutate::WriteBytes(path, file));
                bool placed = false;
                ASSERT_EQ(mutate::CheckOpen(path, file, *boxes, &placed), "")
                    << "seed " << (others ? 16 : 11) << " file " << number << " (" << mutate::KindName(kind) << ")";
                taken += placed;
                if (others && stretch && i == 10) memory = mutate::PrivateBytes();
            }
        }
        EXPECT_GT(taken, files / 10);
        EXPECT_LT(taken, files * 3 / 4);
        if (others) ExpectFlatMemory(memory);
    }
}

TEST_F(PictureMutation, ThePreviewShowsWhatTheReaderTakesAndSaysSoForTheRest)
{
    RECT faceRect = {0, 0, 408, 417};
    int face = tb_CreateBitmap(&faceRect, 0, 24);
    ASSERT_GE(face, 0);
    ASSERT_TRUE(mutate::WriteBytes(folder + "picture.bmp", {}));
    mutate::Bytes refusal = mutate::PreviewArea(folder, "picture.bmp", face);
    for (bool others : {false, true}) {
        int taken = 0;
        size_t memory = 0;
        for (int i = 0; i < kFiles; ++i) {
            int kind;
            mutate::Bytes file = File(others ? 17 : 12, i, &kind, others);
            ASSERT_TRUE(mutate::WriteBytes(folder + "picture.bmp", file));
            bool shown = false;
            ASSERT_EQ(mutate::CheckPreview(folder, "picture.bmp", file, face, refusal, &shown), "")
                << "seed " << (others ? 17 : 12) << " file " << i << " (" << mutate::KindName(kind) << ")";
            taken += shown;
            if (i == 20) memory = mutate::PrivateBytes();
        }
        EXPECT_GT(taken, kFiles / 10);
        EXPECT_LT(taken, kFiles * 3 / 4);
        if (others) ExpectFlatMemory(memory);
    }
    tb_DisposeBitmap(face);
    EXPECT_EQ(boxes->count(), 0u);
}

TEST_F(PictureMutation, APageTheReaderRefusesLeavesTheCanvasAndSaysSo)
{
    int taken = 0;
    for (int i = 0; i < kFiles; ++i) {
        int kind;
        mutate::Bytes file = File(13, i, &kind);
        ASSERT_TRUE(mutate::WriteBytes(folder + "blank.bmp", file));
        bool loaded = false;
        ASSERT_EQ(mutate::CheckPages(folder, file, *boxes, &loaded), "")
            << "seed 13 file " << i << " (" << mutate::KindName(kind) << ")";
        taken += loaded;
    }
    EXPECT_GT(taken, kFiles / 10);
    EXPECT_LT(taken, kFiles * 3 / 4);
}

// A few damaged files through the whole of Open and New, with the real Open dialog and the
// gallery dialog answered as a child would.
TEST_F(PictureMutation, DamagedFilesThroughTheRealDialogs)
{
    int taken = 0;
    const int files = 12;
    for (int i = 0; i < files; ++i) {
        int kind;
        mutate::Bytes file = File(14, i, &kind);
        SCOPED_TRACE("seed 14 file " + std::to_string(i));
        std::string problem;
        ASSERT_TRUE(mutate::WriteBytes(folder + "probe.bmp", file));
        TB_PictureNeed need = pictures_PlacingNeed();
        int expected = mutate::ReaderTakes(folder + "probe.bmp", file, &problem, &need);
        ASSERT_EQ(problem, "");
        mutate::Slots before = mutate::FreeSlots();

        // Open: the dialog answered with the file's path.
        ASSERT_TRUE(mutate::WriteBytes(folder + "opened.bmp", file));
        mutate::Bytes canvas = mutate::Storage(scene.canvasBitmap);
        size_t shown = boxes->count();
        AnswerFileDialog(*boxes, nullptr, folder + "opened.bmp");
        scene.modified = 0;
        pictures_Open();
        EXPECT_STRCASEEQ(scene.fileName, (folder + "opened.bmp").c_str()) << "the Open dialog was not answered";
        EXPECT_EQ(boxes->count(), shown + (expected ? 0 : 1));
        if (!expected) {
            EXPECT_EQ(boxes->lastText(), kIncompatibleFile);
            EXPECT_TRUE(mutate::Storage(scene.canvasBitmap) == canvas);
        } else {
            EXPECT_TRUE(mutate::Storage(scene.undoBitmap) == mutate::Storage(scene.canvasBitmap));
        }
        taken += expected;
        EXPECT_TRUE(mutate::FreeSlots() == before);

        // New's pages: the gallery dialog answered with the choose button.
        std::string pages = folder + "Pages\\";
        CreateDirectoryA(pages.c_str(), nullptr);
        ASSERT_TRUE(mutate::WriteBytes(pages + "blank.bmp", file));
        lstrcpynA(scene.browseFolder, pages.c_str(), sizeof scene.browseFolder);
        gallery.position = 0;
        canvas = mutate::Storage(scene.canvasBitmap);
        shown = boxes->count();
        boxes->onDialog([](HWND dialog) {
            char text[64] = {};
            GetWindowTextA(dialog, text, sizeof text);
            if (text[0]) return false;
            PostMessageA(dialog, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(180, 390));
            PostMessageA(dialog, WM_LBUTTONUP, 0, MAKELPARAM(180, 390));
            return true;
        });
        int loaded = -1;
        EXPECT_EQ(pictures_GalleryAndLoad(&loaded), 1);
        EXPECT_EQ(loaded, expected);
        EXPECT_EQ(boxes->count(), shown + (expected ? 0 : 1));
        if (!expected) {
            EXPECT_EQ(boxes->lastText(), kCouldNotOpen);
            EXPECT_TRUE(mutate::Storage(scene.canvasBitmap) == canvas);
        }
        EXPECT_TRUE(mutate::FreeSlots() == before);
    }
    // Both verdicts came up.
    EXPECT_GT(taken, 0);
    EXPECT_LT(taken, files);
}
