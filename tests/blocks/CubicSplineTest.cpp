#include <gtest/gtest.h>

#include <cmath>

#include "blocks/CubicSpline.h"

using namespace Vantra;

TEST(CubicSpline, FourPointsGiveTheInterpolatingCubic)
{
    const double x[] = {0.0, 1.0, 2.5, 4.0};
    double y[4];
    auto f = [](double u) { return 2 - u + 0.5 * u * u - 0.25 * u * u * u; };
    for (int i = 0; i < 4; ++i) y[i] = f(x[i]);
    SplineWorkspace ws;
    ASSERT_EQ(SplineFit(ws, 4, x, y), 0);
    for (double u = -0.5; u <= 4.5; u += 0.125) EXPECT_NEAR(SplineEval(ws, 4, x, y, u), f(u), 1e-12) << u;
}

TEST(CubicSpline, IsExactAtTheKnotsAndCubicBetweenForManyPoints)
{
    double x[9], y[9];
    for (int i = 0; i < 9; ++i) {
        x[i] = i * 0.5 + (i % 2) * 0.1;
        y[i] = std::sin(x[i]);
    }
    SplineWorkspace ws;
    ASSERT_EQ(SplineFit(ws, 9, x, y), 0);
    for (int i = 0; i < 9; ++i) EXPECT_NEAR(SplineEval(ws, 9, x, y, x[i]), y[i], 1e-14);
    for (double u = 0.0; u <= 4.0; u += 0.05) EXPECT_NEAR(SplineEval(ws, 9, x, y, u), std::sin(u), 2e-3);
}

TEST(CubicSpline, TwoPointsAreAStraightLineAndBadInputIsAnError)
{
    const double x[] = {1.0, 3.0}, y[] = {2.0, 6.0};
    SplineWorkspace ws;
    ASSERT_EQ(SplineFit(ws, 2, x, y), 0);
    EXPECT_DOUBLE_EQ(SplineEval(ws, 2, x, y, 2.0), 4.0);
    EXPECT_EQ(SplineFit(ws, 1, x, y), 1);
    EXPECT_EQ(SplineEval(ws, 2, x, y, 2.0), 0.0);  // a failed fit evaluates to 0
    const double down[] = {3.0, 1.0};
    EXPECT_EQ(SplineFit(ws, 2, down, y), 2);
}

TEST(CubicSpline, PrescribedEndSlopesAreHonoured)
{
    const double x[] = {0.0, 1.0, 2.0, 3.0, 4.0};
    double y[5];
    for (int i = 0; i < 5; ++i) y[i] = x[i] * x[i];
    SplineWorkspace ws;
    SplineEnds ends{1, 0.0, 1, 8.0};  // the parabola's own slopes
    ASSERT_EQ(SplineFit(ws, 5, x, y, ends), 0);
    for (double u = 0.0; u <= 4.0; u += 0.25) EXPECT_NEAR(SplineEval(ws, 5, x, y, u), u * u, 1e-12);
}

TEST(CubicSpline, NaNArgumentDoesNotHangTheSearch)
{
    const double x[] = {0.0, 1.0, 2.0, 3.0}, y[] = {0.0, 1.0, 0.0, 1.0};
    SplineWorkspace ws;
    ASSERT_EQ(SplineFit(ws, 4, x, y), 0);
    EXPECT_TRUE(std::isnan(SplineEval(ws, 4, x, y, std::nan(""))));
}
