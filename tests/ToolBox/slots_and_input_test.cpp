// The slot counts of the three tables follow every create and dispose (failed creates take no slot),
// and an input reader answers for the buttons and keys while it is set.
#include "boxes.h"
#include "tb_test_util.h"

class SlotCounts : public ToolboxTest {};

TEST_F(SlotCounts, FollowCreatesAndDisposals)
{
    const int bitmaps = tb_BitmapsInUse(), regions = tb_RegionsInUse(), windows = tb_WindowsInUse();
    int a = Blank24(8, 8), b = Memory8(4, 4);
    ASSERT_GE(a, 0);
    ASSERT_GE(b, 0);
    EXPECT_EQ(tb_BitmapsInUse(), bitmaps + 2);
    tb_DisposeBitmap(a);
    EXPECT_EQ(tb_BitmapsInUse(), bitmaps + 1);
    tb_DisposeBitmap(b);
    EXPECT_EQ(tb_BitmapsInUse(), bitmaps);
    {
        // A picture that is not there takes no slot.
        BoxScript missing;
        RECT r;
        EXPECT_EQ(tb_CreateBitmap(&r, 31999, 24), -1);
        EXPECT_EQ(tb_BitmapsInUse(), bitmaps);
    }

    const TB_Point triangle[] = {{0, 0}, {10, 0}, {0, 10}, {TB_POINT_END, TB_POINT_END}};
    int r1 = tb_CreateRegion(triangle), r2 = tb_CreateCircleRegion(5, 5, 4);
    ASSERT_GE(r1, 0);
    ASSERT_GE(r2, 0);
    EXPECT_EQ(tb_RegionsInUse(), regions + 2);
    tb_DisposeRegion(r1);
    tb_DisposeRegion(r2);
    EXPECT_EQ(tb_RegionsInUse(), regions);

    WNDCLASSA wc = {};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "TintwellSlotCounts";
    RegisterClassA(&wc);
    tb_SetClassName(wc.lpszClassName);
    BoxScript boxes;  // a window that cannot be made says so in a box
    RECT place = {0, 0, 60, 40};
    int w = tb_OpenWindow(&place, "slots");
    ASSERT_GE(w, TB_WINDOW_BASE);
    EXPECT_EQ(tb_WindowsInUse(), windows + 1);
    tb_DisposeOfWindow(w);
    EXPECT_EQ(tb_WindowsInUse(), windows);
    EXPECT_EQ(boxes.count(), 0u) << boxes.lastText();
}

namespace {
int g_down;  // the one virtual key the reader says is held
int ReadOneKey(int virtualKey) { return virtualKey == g_down; }
}  // namespace

TEST(InputReader, AnswersForButtonAndKeysWhileSet)
{
    tb_SetButtonMode(0);
    tb_SetInputReader(ReadOneKey);
    g_down = GetSystemMetrics(SM_SWAPBUTTON) ? VK_RBUTTON : VK_LBUTTON;
    EXPECT_EQ(tb_IsMouseDown(), 1);
    EXPECT_EQ(tb_IsKeyDown('C'), 0);
    g_down = 'C';
    EXPECT_EQ(tb_IsMouseDown(), 0);
    EXPECT_EQ(tb_IsKeyDown('C'), 1);
    EXPECT_EQ(tb_IsKeyDown(VK_ESCAPE), 0);
    tb_SetInputReader(nullptr);
    // The platform answers again: nobody holds C in this session.
    g_down = 'C';
    EXPECT_EQ(tb_IsKeyDown('C'), 0);
}

// While a pointer message is handled, "a button is down" is what its key flags said when it was
// sent, whatever the buttons do since (a tap is over before its press is handled).
TEST(InputReader, ThePointerMessagesKeyFlagsAnswerForTheButtons)
{
    tb_SetInputReader(ReadOneKey);
    g_down = GetSystemMetrics(SM_SWAPBUTTON) ? VK_RBUTTON : VK_LBUTTON;  // held now
    const int cases[][3] = {{0, 0, 0},          {0, MK_LBUTTON, 1}, {0, MK_RBUTTON, 0}, {1, MK_RBUTTON, 1},
                            {1, MK_MBUTTON, 0}, {0, -1, 1}};  // mode, keys (-1: no message), down
    for (auto& c : cases) {
        tb_SetButtonMode(c[0]);
        int before = tb_SetPointerKeys(c[1]);
        EXPECT_EQ(tb_IsMouseDown(), c[2]) << c[0] << " " << c[1];
        EXPECT_EQ(tb_SetPointerKeys(before), c[1]);
    }
    tb_SetButtonMode(0);
    tb_SetInputReader(nullptr);
}
