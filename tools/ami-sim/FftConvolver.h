// FftConvolver: causal linear convolution of a long signal with a long
// response, chunk by chunk, by overlap-save with FFTW. Each chunk's output
// is exactly the direct convolution sum over all input given so far, so the
// signal can be streamed in pieces of any size up to MaxChunk().
#pragma once

#include <cstddef>
#include <memory>
#include <vector>

namespace amisim {

class FftConvolver {
public:
    // taps: the response, sampled on the signal's grid (at least one tap).
    // minChunk: the smallest chunk capacity wanted; the capacity is raised
    // so that one transform serves several response lengths of input.
    FftConvolver(std::vector<double> taps, std::size_t minChunk);
    ~FftConvolver();
    FftConvolver(const FftConvolver&) = delete;
    FftConvolver& operator=(const FftConvolver&) = delete;

    std::size_t MaxChunk() const { return maxChunk_; }
    std::size_t TransformSize() const { return size_; }
    const std::vector<double>& Taps() const { return taps_; }

    // out[i] = sum_k taps[k] * x[t - k] for the n samples of this chunk,
    // x being everything passed in since construction or Reset (earlier
    // samples are zero). Chunks longer than MaxChunk() are processed in
    // pieces; in and out may be the same array.
    void Process(const double* in, double* out, std::size_t n);
    void Reset();

    // Smallest power of two >= n (n >= 1).
    static std::size_t NextPowerOfTwo(std::size_t n);

private:
    struct Plans;
    void ProcessPiece(const double* in, double* out, std::size_t n);
    std::vector<double> taps_;
    std::size_t size_ = 0;
    std::size_t maxChunk_ = 0;
    std::vector<double> history_;  // the last taps - 1 inputs, oldest first
    std::unique_ptr<Plans> plans_;
};

}  // namespace amisim
