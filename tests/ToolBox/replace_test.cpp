// A file that replaces its target only once it is whole: a failed or abandoned write leaves the
// target as it was and no temporary file behind.
#include "tb_test_util.h"

class Replace : public ToolboxTest {
protected:
    void SetUp() override
    {
        ToolboxTest::SetUp();
        folder = TempFile("tintwell_replace\\");
        CreateDirectoryA(folder.c_str(), nullptr);
        target = folder + "picture.bmp";
        WriteWholeFile(target, {'o', 'l', 'd'});
    }
    void TearDown() override
    {
        ToolboxTest::TearDown();
        DeleteFileA(target.c_str());
        RemoveDirectoryA(folder.c_str());
    }
    int FilesInFolder()
    {
        int n = 0;
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA((folder + "*").c_str(), &found);
        if (search == INVALID_HANDLE_VALUE) return 0;
        do n += found.cFileName[0] != '.';
        while (FindNextFileA(search, &found));
        FindClose(search);
        return n;
    }
    std::string folder, target;
};

TEST_F(Replace, OnlyACompleteFileReplacesItsTarget)
{
    const std::vector<BYTE> old = {'o', 'l', 'd'};
    // Written whole and committed: the target holds the new bytes.
    ASSERT_EQ(tb_OpenFileToReplace(target.c_str()), 1);
    EXPECT_EQ(ReadWholeFile(target), old);  // untouched while the new file is written
    EXPECT_EQ(tb_WriteFile("new!", 4), 0);
    EXPECT_EQ(tb_CommitFile(), 1);
    EXPECT_EQ(ReadWholeFile(target), (std::vector<BYTE>{'n', 'e', 'w', '!'}));
    EXPECT_EQ(FilesInFolder(), 1);

    // A write that fails (the system cannot read the bytes given) spoils the commit.
    WriteWholeFile(target, old);
    void* unreadable = VirtualAlloc(nullptr, 4096, MEM_COMMIT | MEM_RESERVE, PAGE_NOACCESS);
    ASSERT_NE(unreadable, nullptr);
    ASSERT_EQ(tb_OpenFileToReplace(target.c_str()), 1);
    EXPECT_EQ(tb_WriteFile("part", 4), 0);
    EXPECT_EQ(tb_WriteFile(unreadable, 4096), 1);
    EXPECT_EQ(tb_WriteFile("more", 4), 0);
    EXPECT_EQ(tb_CommitFile(), 0);
    VirtualFree(unreadable, 0, MEM_RELEASE);
    EXPECT_EQ(ReadWholeFile(target), old);
    EXPECT_EQ(FilesInFolder(), 1);

    // Closed without a commit: thrown away.
    ASSERT_EQ(tb_OpenFileToReplace(target.c_str()), 1);
    EXPECT_EQ(tb_WriteFile("abandoned", 9), 0);
    tb_CloseFile();
    EXPECT_EQ(ReadWholeFile(target), old);
    EXPECT_EQ(FilesInFolder(), 1);

    // A folder that does not exist gives -1 at once, and a commit with nothing open gives 0.
    EXPECT_EQ(tb_OpenFileToReplace((folder + "no such folder\\x.bmp").c_str()), -1);
    EXPECT_EQ(tb_CommitFile(), 0);
    EXPECT_EQ(tb_OpenFileToReplace(""), -1);

    // A new file is created by the commit.
    std::string fresh = folder + "fresh.bmp";
    ASSERT_EQ(tb_OpenFileToReplace(fresh.c_str()), 1);
    EXPECT_EQ(tb_WriteFile("x", 1), 0);
    EXPECT_EQ(tb_CommitFile(), 1);
    EXPECT_EQ(ReadWholeFile(fresh).size(), 1u);

    // Committed keeping the file it replaces: that one stays, open under a temporary name, to be
    // written over as the next replacing file of the same target; a new target keeps none.
    TB_KeptFile kept;
    ASSERT_EQ(tb_OpenFileToReplace(target.c_str()), 1);
    EXPECT_EQ(tb_WriteFile("first", 5), 0);
    EXPECT_EQ(tb_CommitFileKeepingOld(&kept), 1);
    ASSERT_NE(kept.file, nullptr);
    EXPECT_EQ(FilesInFolder(), 3);
    ASSERT_EQ(tb_ResumeFile(&kept, 0), 1);
    EXPECT_EQ(tb_WriteFile("2nd", 3), 0);
    EXPECT_EQ(ReadWholeFile(target), (std::vector<BYTE>{'f', 'i', 'r', 's', 't'}));
    EXPECT_EQ(tb_CommitFileKeepingOld(&kept), 1);
    EXPECT_EQ(ReadWholeFile(target), (std::vector<BYTE>{'2', 'n', 'd'}));
    tb_DiscardFile(&kept);
    EXPECT_EQ(FilesInFolder(), 2);
    DeleteFileA(fresh.c_str());
    ASSERT_EQ(tb_OpenFileToReplace(fresh.c_str()), 1);
    EXPECT_EQ(tb_CommitFileKeepingOld(&kept), 1);
    EXPECT_EQ(kept.file, nullptr);
    DeleteFileA(fresh.c_str());
}
