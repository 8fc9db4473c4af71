// The short soak: seeded random sequences of what a child does, at 800x600 and at 1920x1080 with
// display changes between the two, every invariant checked after every event. A failure names the
// seed and the event, which bench/soak_long.exe --seed S --events N replays.
#include <gtest/gtest.h>

#include "soak.h"

namespace {

void Soak(unsigned seed, int width, int height, long events)
{
    SoakRun run = {seed, events, width, height, 1};
    SoakFigures figures;
    int held = soak_Run(run, &figures);
    soak_PrintFigures(stdout, run, figures);
    ASSERT_EQ(held, 1) << figures.failure;
    EXPECT_EQ(figures.events, events);
    // The run reached the room: tools pressed on the canvas, dialogs answered.
    long presses = 0;
    for (long n : figures.toolPresses) presses += n;
    EXPECT_GT(presses, events / 20);
    EXPECT_GT(figures.dialogs + figures.messageBoxes, 0);
}

}  // namespace

TEST(Soak, At800x600Seed1) { Soak(1, 800, 600, 6000); }
TEST(Soak, At800x600Seed2) { Soak(2, 800, 600, 6000); }
TEST(Soak, At800x600Seed3) { Soak(3, 800, 600, 6000); }
TEST(Soak, At1920x1080Seed4) { Soak(4, 1920, 1080, 6000); }
TEST(Soak, At1920x1080Seed5) { Soak(5, 1920, 1080, 6000); }
TEST(Soak, At1920x1080Seed6) { Soak(6, 1920, 1080, 6000); }
