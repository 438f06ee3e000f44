#include "tools/ami-sim/FftConvolver.h"
#include "tools/ami-sim/FftwPlans.h"

#include <fftw3.h>

#include <algorithm>
#include <cstring>
#include <new>

namespace amisim {

// FFTW buffers and plans, released together; planned under the planner's
// lock.
struct FftConvolver::Plans {
    double* time = nullptr;
    fftw_complex* freq = nullptr;
    fftw_complex* response = nullptr;
    fftw_plan forward = nullptr;
    fftw_plan inverse = nullptr;

    explicit Plans(std::size_t n) {
        const std::size_t bins = n / 2 + 1;
        time = static_cast<double*>(fftw_malloc(sizeof(double) * n));
        freq = static_cast<fftw_complex*>(fftw_malloc(sizeof(fftw_complex) * bins));
        response = static_cast<fftw_complex*>(fftw_malloc(sizeof(fftw_complex) * bins));
        if (time == nullptr || freq == nullptr || response == nullptr) {
            Release();
            throw std::bad_alloc();
        }
        const int size = static_cast<int>(n);
        const std::lock_guard<std::mutex> planning(FftwPlannerLock());
        forward = fftw_plan_dft_r2c_1d(size, time, freq, FFTW_ESTIMATE);
        inverse = fftw_plan_dft_c2r_1d(size, freq, time, FFTW_ESTIMATE);
    }
    ~Plans() { Release(); }

    void Release() {
        if (forward != nullptr || inverse != nullptr) {
            const std::lock_guard<std::mutex> planning(FftwPlannerLock());
            if (forward != nullptr) fftw_destroy_plan(forward);
            if (inverse != nullptr) fftw_destroy_plan(inverse);
        }
        fftw_free(time);
        fftw_free(freq);
        fftw_free(response);
        forward = inverse = nullptr;
        time = nullptr;
        freq = response = nullptr;
    }
};

std::size_t FftConvolver::NextPowerOfTwo(std::size_t n) {
    std::size_t p = 1;
    while (p < n) p <<= 1;
    return p;
}

FftConvolver::FftConvolver(std::vector<double> taps, std::size_t minChunk)
    : taps_(std::move(taps)) {
    if (taps_.empty()) taps_.push_back(0.0);
    const std::size_t m = taps_.size();
    // A transform of about four response lengths keeps the work per output
    // sample near its minimum; a small floor keeps short responses cheap.
    size_ = NextPowerOfTwo(
        std::max({4 * m, m - 1 + std::max<std::size_t>(minChunk, 1), std::size_t{4096}}));
    maxChunk_ = size_ - (m - 1);
    history_.assign(m - 1, 0.0);
    plans_ = std::make_unique<Plans>(size_);

    // Spectrum of the response, with the inverse transform's 1/N folded in.
    std::fill(plans_->time, plans_->time + size_, 0.0);
    std::copy(taps_.begin(), taps_.end(), plans_->time);
    fftw_execute(plans_->forward);
    const double scale = 1.0 / static_cast<double>(size_);
    for (std::size_t k = 0; k < size_ / 2 + 1; ++k) {
        plans_->response[k][0] = plans_->freq[k][0] * scale;
        plans_->response[k][1] = plans_->freq[k][1] * scale;
    }
}

FftConvolver::~FftConvolver() = default;

void FftConvolver::Reset() {
    std::fill(history_.begin(), history_.end(), 0.0);
}

void FftConvolver::Process(const double* in, double* out, std::size_t n) {
    while (n > 0) {
        const std::size_t piece = std::min(n, maxChunk_);
        ProcessPiece(in, out, piece);
        in += piece;
        out += piece;
        n -= piece;
    }
}

void FftConvolver::ProcessPiece(const double* in, double* out, std::size_t n) {
    const std::size_t h = history_.size();
    double* buf = plans_->time;
    std::copy(history_.begin(), history_.end(), buf);
    std::copy(in, in + n, buf + h);
    std::fill(buf + h + n, buf + size_, 0.0);

    // New history (taken before `in` may be overwritten through `out`).
    if (h > 0) {
        if (n >= h) {
            std::copy(in + n - h, in + n, history_.begin());
        } else {
            std::copy(history_.begin() + static_cast<std::ptrdiff_t>(n), history_.end(),
                      history_.begin());
            std::copy(in, in + n, history_.end() - static_cast<std::ptrdiff_t>(n));
        }
    }

    fftw_execute(plans_->forward);
    for (std::size_t k = 0; k < size_ / 2 + 1; ++k) {
        const double ar = plans_->freq[k][0], ai = plans_->freq[k][1];
        const double br = plans_->response[k][0], bi = plans_->response[k][1];
        plans_->freq[k][0] = ar * br - ai * bi;
        plans_->freq[k][1] = ar * bi + ai * br;
    }
    fftw_execute(plans_->inverse);
    // Outputs h .. h + n - 1 of the circular result are free of wrap-around.
    std::memmove(out, buf + h, n * sizeof(double));
}

}  // namespace amisim
