// corvinic_rxdc: the receiver's device limiting stage, a memoryless soft
// limiter out = amplitude * tanh(gain * in) with one of three constant rows
// chosen by row. The owner loads in before each firing and stores out after
// it; the block has no ports of its own.
//
// A row outside 0..2 is refused: Setup fails with one line on standard
// error, and a firing with such a row (row changed after Setup) fails the
// same way and leaves out untouched.
#pragma once

#include <cstddef>
#include <cstdint>

#include "blocks/KernelIsa.h"
#include "blocks/SpanKernels.h"

#include "dataflow/DFModel.h"

class corvinic_rxdc : public Vantra::DFModel {
public:
    double in = 0.0;
    double out = 0.0;
    double amplitude[3] = {};
    double gain[3] = {};
    std::int32_t row = 0;
    // The instruction set of the span kernel; any choice gives the same
    // bits. Read by Initialize.
    Vantra::KernelIsa kernel_isa = Vantra::KernelIsa::Best;

    corvinic_rxdc();

    bool Setup() override;
    bool Initialize() override;  // stores the table
    bool Run() override;

    // count firings at once: out_samples[i] from in_samples[i]. The owner
    // passes its port arrays in place of loading in and storing out.
    bool run_span(const double* in_samples, double* out_samples, std::size_t count);

private:
    const Vantra::SpanKernels* kernels_;

    void store_table();
};
