#include "tools/ami-sim/Latency.h"

#include <fftw3.h>

#include <cmath>
#include <new>
#include <vector>

#include "tools/ami-sim/FftConvolver.h"
#include "tools/ami-sim/FftwPlans.h"

namespace amisim {

namespace {

std::vector<double> WithoutMean(const double* x, std::size_t n) {
    std::vector<double> v(x, x + n);
    double sum = 0.0;
    for (double& s : v) {
        if (!std::isfinite(s)) s = 0.0;
        sum += s;
    }
    const double mean = n > 0 ? sum / static_cast<double>(n) : 0.0;
    for (double& s : v) s -= mean;
    return v;
}

}  // namespace

LatencyEstimate EstimateLatency(const double* stimulus, const double* response, std::size_t window,
                                std::size_t maxLag) {
    LatencyEstimate best;
    if (window == 0) return best;
    const std::vector<double> x = WithoutMean(stimulus, window);
    const std::vector<double> y = WithoutMean(response, window + maxLag);

    // c[L] = sum_i x[i] y[i + L], from the spectra of the zero-padded
    // records; with n >= window + maxLag no term wraps around.
    const std::size_t n = FftConvolver::NextPowerOfTwo(window + maxLag);
    const std::size_t bins = n / 2 + 1;
    double* buf = static_cast<double*>(fftw_malloc(sizeof(double) * n));
    fftw_complex* fx = static_cast<fftw_complex*>(fftw_malloc(sizeof(fftw_complex) * bins));
    fftw_complex* fy = static_cast<fftw_complex*>(fftw_malloc(sizeof(fftw_complex) * bins));
    if (buf == nullptr || fx == nullptr || fy == nullptr) {
        fftw_free(buf);
        fftw_free(fx);
        fftw_free(fy);
        throw std::bad_alloc();
    }
    const int size = static_cast<int>(n);
    fftw_plan px = nullptr, py = nullptr, pc = nullptr;
    {
        const std::lock_guard<std::mutex> planning(FftwPlannerLock());
        px = fftw_plan_dft_r2c_1d(size, buf, fx, FFTW_ESTIMATE);
        py = fftw_plan_dft_r2c_1d(size, buf, fy, FFTW_ESTIMATE);
        pc = fftw_plan_dft_c2r_1d(size, fx, buf, FFTW_ESTIMATE);
    }

    for (std::size_t i = 0; i < n; ++i) buf[i] = i < x.size() ? x[i] : 0.0;
    fftw_execute(px);
    for (std::size_t i = 0; i < n; ++i) buf[i] = i < y.size() ? y[i] : 0.0;
    fftw_execute(py);
    for (std::size_t k = 0; k < bins; ++k) {
        // conj(X) * Y
        const double ar = fx[k][0], ai = -fx[k][1];
        const double br = fy[k][0], bi = fy[k][1];
        fx[k][0] = ar * br - ai * bi;
        fx[k][1] = ar * bi + ai * br;
    }
    fftw_execute(pc);

    double ex = 0.0, ey = 0.0;
    for (double v : x) ex += v * v;
    for (std::size_t i = 0; i < window; ++i) ey += y[i] * y[i];
    const double norm = std::sqrt(ex * ey) * static_cast<double>(n);
    double peak = 0.0;
    for (std::size_t lag = 0; lag <= maxLag; ++lag) {
        if (std::fabs(buf[lag]) > std::fabs(peak) + 1e-12 * std::fabs(peak)) {
            peak = buf[lag];
            best.lag = static_cast<long>(lag);
        }
    }
    best.inverted = peak < 0.0;
    best.correlation = norm > 0.0 ? peak / norm : 0.0;

    {
        const std::lock_guard<std::mutex> planning(FftwPlannerLock());
        fftw_destroy_plan(px);
        fftw_destroy_plan(py);
        fftw_destroy_plan(pc);
    }
    fftw_free(buf);
    fftw_free(fx);
    fftw_free(fy);
    return best;
}

}  // namespace amisim
