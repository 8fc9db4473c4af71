// Seeded mutation runs over the BMP reader: valid files of every depth and header variant, damaged
// by the shared mutation engine (tests/support/mutate.h), read by the toolbox. A few thousand files
// here; bench/mutation_runs.cpp runs the same engine on 10^5 and more by hand.
#include "boxes.h"
#include "mutate_checks.h"
#include "tb_test_util.h"

namespace {

class BmpMutation : public ToolboxTest {
protected:
    void TearDown() override
    {
        ToolboxTest::TearDown();
        DeleteFileA(path.c_str());
    }
    // Files number first .. first + count - 1 of the run with this seed: every check holds, no box
    // is shown, and both verdicts come up.
    void Run(uint64_t seed, int first, int count, std::vector<mutate::Bytes> seeds = {})
    {
        BoxScript boxes;
        if (seeds.empty()) seeds = mutate::GeneratedBmpSeeds(seed);
        int taken = 0, refused = 0;
        for (int i = first; i < first + count; ++i) {
            mutate::Random r = mutate::RandomFor(seed, (uint64_t)i);
            int kind;
            mutate::Bytes file = mutate::MutateBmp(r, seeds, &kind);
            ASSERT_TRUE(mutate::WriteBytes(path, file));
            int index;
            std::string problem = mutate::CheckReader(path, file, &index);
            ASSERT_EQ(problem, "") << "seed " << seed << " file " << i << " (" << mutate::KindName(kind) << ")";
            if (index >= 0) {
                ++taken;
                tb_DisposeBitmap(index);
            } else {
                ++refused;
            }
        }
        EXPECT_EQ(boxes.count(), 0u);
        EXPECT_GT(taken, count / 10);
        EXPECT_GT(refused, count / 4);
    }
    std::string path = TempFile("tintwell_bmp_mutation.bmp");
};

}  // namespace

TEST_F(BmpMutation, EveryGeneratedLayoutIsReadAtItsSize)
{
    for (uint64_t seed : {1u, 2u, 3u}) {
        std::vector<std::string> names;
        std::vector<mutate::Bytes> seeds = mutate::GeneratedBmpSeeds(seed, &names);
        ASSERT_EQ(seeds.size(), 2 * mutate::AllBmpVariants().size());
        for (size_t i = 0; i < seeds.size(); ++i) {
            ASSERT_TRUE(mutate::WriteBytes(path, seeds[i]));
            int index;
            ASSERT_EQ(mutate::CheckReader(path, seeds[i], &index), "") << names[i];
            ASSERT_GE(index, 0) << names[i] << " was refused";
            tb_DisposeBitmap(index);
        }
    }
}

// Four slices of two runs, 1,500 files each.
TEST_F(BmpMutation, DamagedFilesSeed7First) { Run(7, 0, 1500); }
TEST_F(BmpMutation, DamagedFilesSeed7Second) { Run(7, 1500, 1500); }
TEST_F(BmpMutation, DamagedFilesSeed20261208First) { Run(20261208, 0, 1500); }
TEST_F(BmpMutation, DamagedFilesSeed20261208Second) { Run(20261208, 1500, 1500); }

// The pictures ImageMagick and Pillow wrote at build time as the seeds.
TEST_F(BmpMutation, DamagedFilesOfTheMachinesOwnWriters)
{
    std::string folder = std::string("Z:") + TINTWELL_FOREIGN_BMPS + "/";
    std::vector<mutate::Bytes> seeds;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "*.bmp").c_str(), &found);
    ASSERT_NE(search, INVALID_HANDLE_VALUE) << folder;
    do seeds.push_back(ReadWholeFile(folder + found.cFileName));
    while (FindNextFileA(search, &found));
    FindClose(search);
    ASSERT_GT(seeds.size(), 10u);
    Run(5, 0, 1500, seeds);
}
