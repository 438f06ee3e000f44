#include "devices/rx_post_dc.h"

#include "devices/soft_limiter.h"

namespace {

constexpr double kAmplitude[3] = {0.5, 1.0, 1.0};
constexpr const char* kSetting = "the post-limiter row";
constexpr double kGain[3] = {82.0, 82.0, 82.0};

}  // namespace

rx_post_dc::rx_post_dc() : kernels_(Vantra::PortableSpanKernels()) {
    // Filled here as well as in Initialize so that no firing can ever read
    // an undefined table.
    store_table();
}

bool rx_post_dc::Setup() {
    return limiter_row_valid(*this, "rx_post_dc", kSetting, row);
}

bool rx_post_dc::Initialize() {
    store_table();
    kernels_ = &Vantra::SpanKernelsFor(kernel_isa);
    return true;
}

void rx_post_dc::store_table() {
    limiter_store_table(amplitude, gain, kAmplitude, kGain);
}

bool rx_post_dc::Run() {
    return limiter_run(*this, "rx_post_dc", kSetting, row, amplitude, gain, in, out);
}

bool rx_post_dc::run_span(const double* in_samples, double* out_samples, std::size_t count) {
    return limiter_run_span(*this, "rx_post_dc", kSetting, row, amplitude, gain, *kernels_,
                            in_samples, out_samples, count, in, out);
}
