// Print picture's work before the page is sent: where the picture goes on the page and which
// pixels light print whitens; a printer that fails on the way. (Printing through a real spooler:
// tests/programs/print_picture.sh.)
#include "pictures_test_util.h"

#include <commdlg.h>
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

namespace {

// A printer of the test's own: the print dialog answers OK with a memory surface; each call of the
// job is noted by a letter, and the one named by g_failing fails.
enum { NONE, START_DOC = 'D', START_PAGE = 'P', COPY = 'C', END_PAGE = 'E', END_DOC = 'N', ABORT = 'A' };
int g_failing;
std::string g_calls;

int Call(char call, int good)
{
    g_calls += call;
    return g_failing == call ? (call == COPY ? 0 : SP_ERROR) : good;
}
BOOL WINAPI OkDialog(tagPDA* dialog)
{
    HDC screen = GetDC(nullptr);
    ((PRINTDLGA*)dialog)->hDC = CreateCompatibleDC(screen);
    ReleaseDC(nullptr, screen);
    return TRUE;
}
int WINAPI StartDocCall(HDC, const DOCINFOA*) { return Call(START_DOC, 7); }
template <char C>
int WINAPI PageCall(HDC)
{
    return Call(C, 1);
}
int WINAPI CopyCall(HDC, int, int, int, int, int, int, int, int h, const void*, const BITMAPINFO*, UINT, DWORD)
{
    return Call(COPY, h);
}

}  // namespace

// Whichever call of the job fails (or the work bitmap cannot be made), the job is abandoned, so
// that no blank or half page comes out, and the child is told once; a job that goes through is
// ended and says nothing.
TEST_F(PicturesTest, AFailingPrinterAbandonsTheJobAndSaysSoOnce)
{
    const TB_PrintCalls saved = tb_printCalls;
    tb_printCalls = {OkDialog,           StartDocCall, PageCall<START_PAGE>, PageCall<END_PAGE>,
                     PageCall<END_DOC>, PageCall<ABORT>, CopyCall};
    const struct {
        int failing;
        const char* calls;
    } cases[] = {{NONE, "DPCEN"}, {START_DOC, "DA"},    {START_PAGE, "DPA"},
                 {COPY, "DPCA"},  {END_PAGE, "DPCEA"}, {END_DOC, "DPCENA"}};
    for (const auto& c : cases) {
        g_failing = c.failing;
        g_calls.clear();
        const size_t before = boxes->count();
        pictures_Print();
        EXPECT_EQ(g_calls, c.calls);
        EXPECT_EQ(tb_GetPrinterDC(), nullptr);
        ASSERT_EQ(boxes->count(), before + (c.failing == NONE ? 0 : 1)) << c.calls;
        EXPECT_TRUE(c.failing == NONE || boxes->lastText() == kCouldNotPrint);
    }
    EXPECT_EQ(boxes->seen().back().caption, "Attention!");
    EXPECT_STREQ(kCouldNotPrint,
                 "The picture could not be printed. Check that the printer is on and has paper, then try again.");

    // No work bitmap to be had (the toolbox's table is full): nothing reaches the page.
    g_calls.clear();
    std::vector<int> taken;
    RECT one = {0, 0, 1, 1};
    for (int b; (b = tb_CreateBitmap(&one, 0, 24)) >= 0;) taken.push_back(b);
    pictures_Print();
    for (int b : taken) tb_DisposeBitmap(b);
    EXPECT_EQ(g_calls, "DA");
    EXPECT_EQ(boxes->lastText(), kCouldNotPrint);
    tb_printCalls = saved;
}
