// CubicSpline: the Forsythe-Malcolm-Moler interpolating cubic spline (fit
// and evaluation). The workspace keeps its coefficient arrays between fits
// so a caller fitting many small windows allocates once.
#pragma once

#include <cstdint>
#include <vector>

namespace Vantra {

struct SplineWorkspace {
    std::vector<double> B;  // first-order coefficients
    std::vector<double> C;  // second-order coefficients
    std::vector<double> D;  // third-order coefficients
    std::int32_t Error = 0;
};

// End conditions: flag 0 matches the third derivative of the cubic through
// the four end points; flag 1 prescribes the end slope.
struct SplineEnds {
    int FirstFlag = 0;
    double FirstSlope = 0.0;
    int LastFlag = 0;
    double LastSlope = 0.0;
};

// Fits n points (x strictly ascending). Returns 0, 1 when n < 2, or 2 when
// x does not rise strictly; the code is also kept in ws.Error.
int SplineFit(SplineWorkspace& ws, int n, const double* x, const double* y,
              const SplineEnds& ends = SplineEnds());

// Value at u of the last successful fit; 0 when the fit failed.
double SplineEval(const SplineWorkspace& ws, int n, const double* x, const double* y, double u);

}  // namespace Vantra
