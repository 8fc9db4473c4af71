// Print picture's work before the page is sent: where the picture goes on the page and which
// pixels light print whitens. (Printing through a real spooler: tests/programs/print_picture.sh.)
#include "pictures_test_util.h"
#include "tools/effects.h"

using namespace pictest;

namespace {
int lightPrint = 0;
int ReadLightPrint(void) { return lightPrint; }
}  // namespace

TEST_F(PicturesTest, PrintFitsNinetyPercentOfThePageCentredAndLightensHalfThePixels)
{
    int canvas = scene.canvasBitmap;
    RECT small = {0, 0, 400, 300};
    scene.canvasBitmap = tb_CreateBitmap(&small, 0, 24);
    tb_SetForeColor(scene.canvasBitmap, 0, 0, 65025);
    tb_PaintRect(scene.canvasBitmap, &small);
    picturePreferences.lightPrint = ReadLightPrint;

    struct Case {
        int pw, ph;
        RECT expected;
    };
    const Case cases[] = {
        {4800, 6600, {240, 1680, 4560, 4920}},  // sx 10.8, sy 19.8: the width decides
        {2479, 3508, {124, 917, 2355, 2590}},   // A4 at 300 dpi
        {6600, 1000, {2700, 50, 3900, 950}},    // the height decides
    };
    for (const Case& c : cases) {
        for (int light : {0, 1}) {
            lightPrint = light;
            RECT to;
            int work = pictures_PreparePrint(c.pw, c.ph, &to);
            ASSERT_GE(work, 0);
            EXPECT_EQ(to.left, c.expected.left) << c.pw << "x" << c.ph;
            EXPECT_EQ(to.top, c.expected.top) << c.pw << "x" << c.ph;
            EXPECT_EQ(to.right, c.expected.right) << c.pw << "x" << c.ph;
            EXPECT_EQ(to.bottom, c.expected.bottom) << c.pw << "x" << c.ph;
            for (int y = 0; y < 300; y += 7)
                for (int x = 0; x < 400; x += 3) {
                    Channels want = light && (x + y) % 2 == 0 ? Channels{255, 255, 255} : Channels{0, 0, 255};
                    ASSERT_EQ(PixelOf(work, x, y), want) << x << "," << y << " light " << light;
                }
            tb_DisposeBitmap(work);
        }
    }
    // The canvas itself is never changed.
    EXPECT_EQ(PixelOf(scene.canvasBitmap, 0, 0), (Channels{0, 0, 255}));
    tb_DisposeBitmap(scene.canvasBitmap);
    scene.canvasBitmap = canvas;
}
