// corvin_rx1: the receiver model network. Per sample it runs the input
// through three equaliser responses, keeps the one the setting `eq` selects
// (Mux driven by a constant source and a rounding converter), limits it
// with the device stage corvinic_rxdc (row = eq truncated) and then with
// the post-DC limiter. Output2 (the device stage) is what the simulator
// receives; Output1 (post-DC) and Output3 (equaliser only) are written
// every sample for inspection.
//
// The network fires its blocks over spans of up to SpanLength samples, so
// that its bookkeeping is paid once per span, not per sample; every
// connection cell holds a span. Of the three equaliser responses only the
// ones the Mux passes in a span are fired: the control path runs first, and
// a response no firing selects is left alone. The setting cannot change
// after Setup (the constant source emits it from the first firing on), so
// that is the one selected response for the whole run, and its output is
// what it would be if all three ran.
#pragma once

#include <cstddef>

#include "blocks/ConstUnTimed.h"
#include "blocks/Fork.h"
#include "blocks/KernelIsa.h"
#include "blocks/Mux.h"
#include "blocks/ScalarToScalar.h"
#include "blocks/TimeResponseFIR.h"
#include "dataflow/CircularBuffer.h"
#include "dataflow/ConnectionTable.h"
#include "dataflow/DFModel.h"
#include "dataflow/ResponseCopy.h"
#include "devices/corvinic_rxdc.h"
#include "devices/rx_post_dc.h"

class corvin_rx1 : public Vantra::DFModel {
public:
    using Buffer = Vantra::CircularBuffer<double>;

    Buffer Input;
    Buffer Output1;  // PostDc output
    Buffer Output2;  // RxDc output: the model's output
    Buffer Output3;  // EqSelect output
    double SamplesPerBit = 32.0;
    double BitTime = 1.666666666666667e-10;
    double eq = 1.0;
    // The instruction set of the filters' and limiters' span kernels; any
    // choice gives the same bits. Read by Setup.
    Vantra::KernelIsa Isa = Vantra::KernelIsa::Best;
    // The longest span the connection cells carry; RunSpan takes longer
    // ones piece by piece.
    static constexpr std::size_t SpanLength = 128;

    rx_post_dc PostDc;
    Buffer PostDcIn, PostDcOut;
    Vantra::TimeResponseFIR EqFIR2;
    Vantra::TimeResponseFIR EqFIR1;
    Vantra::TimeResponseFIR EqFIR0;
    corvinic_rxdc RxDc;
    Buffer RxDcIn, RxDcOut;
    Vantra::ScalarToScalar<Vantra::CircularBuffer<double>, Vantra::CircularBuffer<int>,
                           Vantra::TypeConverterRound>
        EqToIndex;
    Vantra::Mux<Buffer> EqSelect;
    Vantra::Fork<Buffer> EqFork;
    Vantra::ConstUnTimed<double> EqConst;
    Vantra::Fork<Buffer> DcFork;
    Vantra::Fork<Buffer> InputFork;

    Buffer InputNet, OutputNet1, OutputNet2, OutputNet3;

    // What the AMI entry points need to know of this network.
    static constexpr const char* ModelName = "corvin_rx1";
    static constexpr const char* SettingName = "eq";
    double& Setting() { return eq; }
    Buffer& AmiOutput() { return Output2; }

    corvin_rx1() = default;
    ~corvin_rx1() override;

    bool Setup() override;
    bool Initialize() override;
    bool Run() override;
    // firings samples of the external ports at once; they must hold that
    // many. Returns the firings before the first that failed.
    std::size_t RunSpan(std::size_t firings) override;
    bool Finalize() override;

private:
    static constexpr std::size_t kCells = 16;
    Vantra::ConnectionTable<kCells> cells_;
    // Response and time-stamp copies of the three filters (2, 1, 0).
    Vantra::ResponseCopy responses_[3], stamps_[3];

    void ReleaseResponses();
    std::size_t RunPiece(std::size_t base, std::size_t n);
    std::size_t FireEqualisers(std::size_t n);
    std::size_t FireLimiters(std::size_t n);
};
