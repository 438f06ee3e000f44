#include "devices/corvinic_rxdc.h"

#include "devices/soft_limiter.h"

namespace {

constexpr double kAmplitude[3] = {0.209, 0.209, 0.209};
// Its row is the receiver's equaliser setting eq, so a refusal says so.
constexpr const char* kSetting = "eq";
constexpr double kGain[3] = {82.45, 22.04, 10.71};

}  // namespace

corvinic_rxdc::corvinic_rxdc() : kernels_(Vantra::PortableSpanKernels()) {
    // Filled here as well as in Initialize so that no firing can ever read
    // an undefined table.
    store_table();
}

bool corvinic_rxdc::Setup() {
    return limiter_row_valid(*this, "corvinic_rxdc", kSetting, row);
}

bool corvinic_rxdc::Initialize() {
    store_table();
    kernels_ = &Vantra::SpanKernelsFor(kernel_isa);
    return true;
}

void corvinic_rxdc::store_table() {
    limiter_store_table(amplitude, gain, kAmplitude, kGain);
}

bool corvinic_rxdc::Run() {
    return limiter_run(*this, "corvinic_rxdc", kSetting, row, amplitude, gain, in, out);
}

bool corvinic_rxdc::run_span(const double* in_samples, double* out_samples, std::size_t count) {
    return limiter_run_span(*this, "corvinic_rxdc", kSetting, row, amplitude, gain, *kernels_,
                            in_samples, out_samples, count, in, out);
}
