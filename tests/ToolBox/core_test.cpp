#include <gtest/gtest.h>

#include "tb_internal.h"

TEST(Core, InitLeavesEveryTableFree)
{
    tb_InitToolbox();
    for (int i = 0; i < TB_MAX_BITMAPS; ++i) EXPECT_NE(tb.bitmaps[i].free, 0);
    for (int i = 0; i < TB_MAX_WINDOWS; ++i) EXPECT_NE(tb.windows[i].free, 0);
    EXPECT_EQ(tb.copyMode, (DWORD)SRCCOPY);
    EXPECT_EQ(tb.bitmaps[0].clip.left, -1);
}
