#include "blocks/CubicSpline.h"

namespace Vantra {

int SplineFit(SplineWorkspace& ws, int n, const double* x, const double* y,
              const SplineEnds& ends)
{
    if (n < 2) return ws.Error = 1;
    for (int i = 1; i < n; ++i)
        if (!(x[i - 1] < x[i])) return ws.Error = 2;

    const std::size_t size = static_cast<std::size_t>(n);
    if (ws.B.size() < size) {
        ws.B.assign(size, 0.0);
        ws.C.assign(size, 0.0);
        ws.D.assign(size, 0.0);
    }
    double* b = ws.B.data();
    double* c = ws.C.data();
    double* d = ws.D.data();

    if (n == 2) {
        b[0] = b[1] = (y[1] - y[0]) / (x[1] - x[0]);
        c[0] = c[1] = 0.0;
        d[0] = d[1] = 0.0;
        return ws.Error = 0;
    }

    d[0] = x[1] - x[0];
    c[1] = (y[1] - y[0]) / d[0];
    for (int i = 1; i <= n - 2; ++i) {
        d[i] = x[i + 1] - x[i];
        b[i] = 2.0 * (d[i - 1] + d[i]);
        c[i + 1] = (y[i + 1] - y[i]) / d[i];
        c[i] = c[i + 1] - c[i];
    }

    b[0] = -d[0];
    b[n - 1] = -d[n - 2];
    c[0] = 0.0;
    c[n - 1] = 0.0;
    if (n > 3) {
        c[0] = c[2] / (x[3] - x[1]) - c[1] / (x[2] - x[0]);
        c[n - 1] = c[n - 2] / (x[n - 1] - x[n - 3]) - c[n - 3] / (x[n - 2] - x[n - 4]);
        c[0] = d[0] * c[0] * d[0] / (x[3] - x[0]);
        c[n - 1] = -d[n - 2] * c[n - 1] * d[n - 2] / (x[n - 1] - x[n - 4]);
    }
    if (ends.FirstFlag == 1) {
        b[0] = 2.0 * (x[1] - x[0]);
        c[0] = (y[1] - y[0]) / (x[1] - x[0]) - ends.FirstSlope;
    }
    if (ends.LastFlag == 1) {
        b[n - 1] = 2.0 * (x[n - 1] - x[n - 2]);
        c[n - 1] = ends.LastSlope - (y[n - 1] - y[n - 2]) / (x[n - 1] - x[n - 2]);
    }

    for (int i = 1; i <= n - 1; ++i) {
        const double t = d[i - 1] / b[i - 1];
        b[i] = b[i] - t * d[i - 1];
        c[i] = c[i] - t * c[i - 1];
    }
    c[n - 1] = c[n - 1] / b[n - 1];
    for (int i = n - 2; i >= 0; --i) c[i] = (c[i] - d[i] * c[i + 1]) / b[i];

    b[n - 1] = (y[n - 1] - y[n - 2]) / d[n - 2] + d[n - 2] * (c[n - 2] + 2.0 * c[n - 1]);
    for (int i = 0; i <= n - 2; ++i) {
        b[i] = (y[i + 1] - y[i]) / d[i] - d[i] * (c[i + 1] + 2.0 * c[i]);
        d[i] = (c[i + 1] - c[i]) / d[i];
        c[i] = 3.0 * c[i];
    }
    c[n - 1] = 3.0 * c[n - 1];
    d[n - 1] = d[n - 2];
    return ws.Error = 0;
}

double SplineEval(const SplineWorkspace& ws, int n, const double* x, const double* y, double u)
{
    if (ws.Error != 0 || n < 2) return 0.0;
    if (u != u) return u;  // NaN would never settle the bisection
    int lo = 0;
    if (u < x[0] || u > x[1]) {
        int hi = n;
        do {
            const int mid = (lo + hi) / 2;
            if (u < x[mid]) hi = mid;
            if (u >= x[mid]) lo = mid;
        } while (hi > lo + 1);
    }
    const double dx = u - x[lo];
    return ((dx * ws.D[lo] + ws.C[lo]) * dx + ws.B[lo]) * dx + y[lo];
}

}  // namespace Vantra
