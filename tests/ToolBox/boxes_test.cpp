// The message boxes: captions, texts, buttons, owners, modality and the mapping of answers.
#include <gtest/gtest.h>

#include "boxes.h"
#include "tb_internal.h"

TEST(Boxes, ErrorBoxIsSystemModalWithoutOwner)
{
    BoxScript script;
    tb_ErrorBox("No more available Bitmaps! (tb_CreateBitmap)");
    ASSERT_EQ(script.count(), 1u);
    const SeenBox& box = script.seen()[0];
    EXPECT_EQ(box.caption, "Error...");
    EXPECT_EQ(box.text, "No more available Bitmaps! (tb_CreateBitmap)");
    EXPECT_EQ(box.owner, nullptr);
    EXPECT_TRUE(box.topmost);
    EXPECT_TRUE(box.hasOk);
    EXPECT_FALSE(box.hasCancel);
}

TEST(Boxes, QuestionsMapYesNoCancel)
{
    BoxScript script;
    script.queue(IDYES);
    EXPECT_EQ(tb_AskYesNo("Save?"), 1);
    script.queue(IDNO);
    EXPECT_EQ(tb_AskYesNo("Save?"), 0);
    script.queue(IDCANCEL);
    EXPECT_EQ(tb_AskYesNoCancel("Save?"), -1);
    script.queue(IDNO);
    EXPECT_EQ(tb_AskYesNoCancel("Save?"), 0);
    script.queue(IDYES);
    EXPECT_EQ(tb_AskYesNoCancel("Save?"), 1);
    ASSERT_EQ(script.count(), 5u);
    EXPECT_EQ(script.seen()[0].caption, "Attention...");
    EXPECT_TRUE(script.seen()[0].hasYes && script.seen()[0].hasNo && !script.seen()[0].hasCancel);
    EXPECT_TRUE(script.seen()[2].hasCancel);
    EXPECT_TRUE(script.seen()[2].topmost);
}

// A Yes/No question has only two answers to give back; whatever else the box ends with (it is
// closed some other way, or cannot be shown) counts as -1, as in the three-way question, and is
// never taken for No.
TEST(Boxes, YesNoQuestionGivesMinusOneForAnyOtherEnd)
{
    BoxScript script;
    script.queue(IDCANCEL);
    EXPECT_EQ(tb_AskYesNo("Save?"), -1);
    script.queue(IDABORT);
    EXPECT_EQ(tb_AskYesNoCancel("Save?"), -1);
    ASSERT_EQ(script.count(), 2u);
}
