// The region table and the rectangle helpers.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "boxes.h"
#include "tb_internal.h"

namespace {

const double kPi = 3.14159265358979323846;
const TB_Point kEnd = {TB_POINT_END, TB_POINT_END};

// Disposes, at the end of a test, of every region still in use.
struct RegionCleanup {
    ~RegionCleanup()
    {
        for (int i = 0; i < TB_MAX_REGIONS; ++i)
            if (!tb.regions[i].free) tb_DisposeRegion(i);
    }
};

int usedRegions()
{
    int n = 0;
    for (int i = 0; i < TB_MAX_REGIONS; ++i) n += tb.regions[i].free == 0;
    return n;
}

}  // namespace

TEST(Regions, EmptyPointListGivesNoneAndTakesNoSlot)
{
    RegionCleanup cleanup;
    BoxScript script;
    TB_Point empty[] = {kEnd, {0, 0}, {10, 0}, {0, 10}, kEnd};
    EXPECT_EQ(tb_CreateRegion(empty), -1);
    EXPECT_EQ(usedRegions(), 0);
    EXPECT_EQ(script.count(), 0u);
    TB_Point triangle[] = {{0, 0}, {10, 0}, {0, 10}, kEnd};
    EXPECT_EQ(tb_CreateRegion(triangle), 0);
}

TEST(Regions, PolygonEndsAtEitherTerminatorCoordinate)
{
    RegionCleanup cleanup;
    // The fourth point ends the list by its x alone; the far point after it is not read.
    TB_Point points[] = {{0, 0}, {100, 0}, {0, 100}, {TB_POINT_END, 5}, {1000, 1000}, kEnd};
    int region = tb_CreateRegion(points);
    ASSERT_EQ(region, 0);
    EXPECT_NE(tb_PtInRegion(10, 10, region), 0);
    EXPECT_NE(tb_PtInRegion(0, 0, region), 0);
    EXPECT_EQ(tb_PtInRegion(80, 80, region), 0);
    EXPECT_EQ(tb_PtInRegion(200, 250, region), 0);
    EXPECT_EQ(tb_PtInRegion(-1, 5, region), 0);

    TB_Point byY[] = {{0, 0}, {100, 0}, {0, 100}, {5, TB_POINT_END}, {1000, 1000}, kEnd};
    int second = tb_CreateRegion(byY);
    ASSERT_EQ(second, 1);
    EXPECT_EQ(tb_PtInRegion(200, 250, second), 0);
}

TEST(Regions, OnlyTheFirstHundredPointsAreRead)
{
    RegionCleanup cleanup;
    // A triangle whose last corner repeats up to the hundredth point; fifty more points far
    // away would widen it to hold (200, 250) if they were read.
    std::vector<TB_Point> points = {{0, 0}, {100, 0}};
    while (points.size() < 100) points.push_back({0, 100});
    while (points.size() < 150) points.push_back({1000, 1000});
    int region = tb_CreateRegion(points.data());
    ASSERT_EQ(region, 0);
    EXPECT_NE(tb_PtInRegion(10, 10, region), 0);
    EXPECT_EQ(tb_PtInRegion(200, 250, region), 0);

    // With its hundredth point moved far away, the polygon does hold (200, 250).
    points.resize(99);
    points.push_back({1000, 1000});
    points.push_back(kEnd);
    int wider = tb_CreateRegion(points.data());
    ASSERT_EQ(wider, 1);
    EXPECT_NE(tb_PtInRegion(200, 250, wider), 0);
}

TEST(Regions, SelfOverlappingPolygonIsFilledByWinding)
{
    RegionCleanup cleanup;
    // A pentagram drawn by joining every second corner of a pentagon: its centre pentagon is
    // wound twice and lies inside under the winding rule (outside under alternate filling).
    TB_Point star[6];
    for (int i = 0; i < 5; ++i) {
        double a = -kPi / 2 + (i * 2 % 5) * 2 * kPi / 5;
        star[i] = {100 + lround(80 * cos(a)), 100 + lround(80 * sin(a))};
    }
    star[5] = kEnd;
    int region = tb_CreateRegion(star);
    ASSERT_EQ(region, 0);
    EXPECT_NE(tb_PtInRegion(100, 100, region), 0);
    EXPECT_NE(tb_PtInRegion(100, 30, region), 0);    // in the top spike
    EXPECT_EQ(tb_PtInRegion(40, 40, region), 0);     // between two spikes
    EXPECT_EQ(tb_PtInRegion(100, 190, region), 0);   // below the star
}

TEST(Regions, CircleRegionIsTheInscribedEllipse)
{
    RegionCleanup cleanup;
    BoxScript script;
    EXPECT_EQ(tb_CreateCircleRegion(50, 50, 0), -1);
    EXPECT_EQ(usedRegions(), 0);
    EXPECT_EQ(script.count(), 0u);

    int circle = tb_CreateCircleRegion(50, 50, 20);
    ASSERT_EQ(circle, 0);
    EXPECT_NE(tb_PtInRegion(50, 50, circle), 0);
    EXPECT_NE(tb_PtInRegion(31, 50, circle), 0);
    EXPECT_NE(tb_PtInRegion(50, 68, circle), 0);
    EXPECT_EQ(tb_PtInRegion(72, 50, circle), 0);
    EXPECT_EQ(tb_PtInRegion(33, 33, circle), 0);  // inside the square, outside the circle
    EXPECT_EQ(tb_PtInRegion(67, 67, circle), 0);
}

TEST(Regions, FreedSlotIsTakenFirst)
{
    RegionCleanup cleanup;
    TB_Point square[] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}, kEnd};
    EXPECT_EQ(tb_CreateRegion(square), 0);
    EXPECT_EQ(tb_CreateCircleRegion(5, 5, 5), 1);
    EXPECT_EQ(tb_CreateRegion(square), 2);
    tb_DisposeRegion(0);
    EXPECT_NE(tb.regions[0].free, 0);
    EXPECT_EQ(tb.regions[0].region, nullptr);
    EXPECT_EQ(tb_CreateRegion(square), 0);
    tb_DisposeRegion(1);
    EXPECT_EQ(tb_CreateCircleRegion(5, 5, 5), 1);
    EXPECT_EQ(tb_CreateRegion(square), 3);
}

TEST(Regions, ExhaustedTableIsReported)
{
    RegionCleanup cleanup;
    BoxScript script;
    TB_Point square[] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}, kEnd};
    for (int i = 0; i < TB_MAX_REGIONS; ++i) ASSERT_EQ(i % 2 ? tb_CreateCircleRegion(5, 5, 3) : tb_CreateRegion(square), i);
    EXPECT_EQ(script.count(), 0u);

    EXPECT_EQ(tb_CreateRegion(square), -1);
    ASSERT_EQ(script.count(), 1u);
    EXPECT_EQ(script.lastText(), "No more available Regions! (tb_CreateRegion)");
    EXPECT_EQ(script.seen().back().caption, "Error...");
    EXPECT_EQ(tb_CreateCircleRegion(5, 5, 3), -1);
    EXPECT_EQ(script.lastText(), "No more available Regions! (tb_CreateCircleRegion)");

    tb_DisposeRegion(57);
    EXPECT_EQ(tb_CreateRegion(square), 57);
    EXPECT_EQ(script.count(), 2u);
}

TEST(Regions, RectanglesAreHalfOpen)
{
    RECT r;
    tb_SetRect(&r, 0, 0, 10, 20);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.bottom, 20);
    EXPECT_NE(tb_PtInRect(0, 0, &r), 0);
    EXPECT_NE(tb_PtInRect(9, 19, &r), 0);
    EXPECT_EQ(tb_PtInRect(10, 10, &r), 0);
    EXPECT_EQ(tb_PtInRect(5, 20, &r), 0);
    EXPECT_EQ(tb_PtInRect(-1, 5, &r), 0);
}

TEST(Regions, RectangleArithmetic)
{
    RECT r = {0, 0, 100, 50};
    EXPECT_EQ(tb_InsetRect(&r, 10, 5), &r);
    EXPECT_EQ(r.left, 10);
    EXPECT_EQ(r.top, 5);
    EXPECT_EQ(r.right, 90);
    EXPECT_EQ(r.bottom, 45);
    EXPECT_EQ(tb_OffsetRect(&r, -10, 7), &r);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 12);
    EXPECT_EQ(r.right, 80);
    EXPECT_EQ(r.bottom, 52);
    tb_InsetRect(&r, -3, -2);  // a negative inset grows it
    EXPECT_EQ(r.left, -3);
    EXPECT_EQ(r.bottom, 54);

    RECT a = {0, 0, 10, 10}, b = {5, 2, 20, 8}, d;
    tb_IntersectRect(&d, &a, &b);
    EXPECT_EQ(d.left, 5);
    EXPECT_EQ(d.top, 2);
    EXPECT_EQ(d.right, 10);
    EXPECT_EQ(d.bottom, 8);
    tb_UnionRect(&a, &b, &d);
    EXPECT_EQ(d.left, 0);
    EXPECT_EQ(d.top, 0);
    EXPECT_EQ(d.right, 20);
    EXPECT_EQ(d.bottom, 10);
    EXPECT_EQ(a.right, 10);  // the sources stay as they were
    EXPECT_EQ(b.left, 5);

    RECT apart = {30, 30, 40, 40};
    tb_IntersectRect(&d, &a, &apart);
    EXPECT_TRUE(IsRectEmpty(&d));
}
