// corvin_tx1: the transmitter model network. Per sample it soft-limits the
// input (rx_post_dc row 1), applies the two-tap de-emphasis tx_fir_dc that
// the setting `de_code` configures, and filters the result with the fixed
// output response. Output1 (the output response) is what the simulator
// receives; Output2 (de-emphasis) and Output3 (limiter) are written every
// sample for inspection.
//
// The network fires its blocks over spans of up to SpanLength samples, so
// that its bookkeeping is paid once per span, not per sample; every
// connection cell holds a span.
#pragma once

#include <cstddef>

#include "blocks/Fork.h"
#include "blocks/KernelIsa.h"
#include "blocks/TimeResponseFIR.h"
#include "dataflow/CircularBuffer.h"
#include "dataflow/ConnectionTable.h"
#include "dataflow/DFModel.h"
#include "dataflow/ResponseCopy.h"
#include "devices/rx_post_dc.h"
#include "devices/tx_fir_dc.h"

class corvin_tx1 : public Vantra::DFModel {
public:
    using Buffer = Vantra::CircularBuffer<double>;

    Buffer Input;
    Buffer Output1;  // TxResponse output: the model's output
    Buffer Output2;  // TxFirDc output
    Buffer Output3;  // PostDc output
    double SamplesPerBit = 32.0;
    double de_code = 5.0;
    double BitTime = 1.666666666666667e-10;
    // The instruction set of the filter's and the limiter's span kernels;
    // any choice gives the same bits. Read by Setup.
    Vantra::KernelIsa Isa = Vantra::KernelIsa::Best;
    // The longest span the connection cells carry; RunSpan takes longer
    // ones piece by piece.
    static constexpr std::size_t SpanLength = 128;

    rx_post_dc PostDc;
    Buffer PostDcIn, PostDcOut;
    Vantra::TimeResponseFIR TxResponse;
    tx_fir_dc TxFirDc;
    Vantra::Fork<Buffer> PostDcFork;
    Vantra::Fork<Buffer> TxFork;

    Buffer InputNet, OutputNet1, OutputNet2, OutputNet3;

    static constexpr const char* ModelName = "corvin_tx1";
    static constexpr const char* SettingName = "de_code";
    double& Setting() { return de_code; }
    Buffer& AmiOutput() { return Output1; }

    corvin_tx1() = default;
    ~corvin_tx1() override;

    bool Setup() override;
    bool Initialize() override;
    bool Run() override;
    // firings samples of the external ports at once; they must hold that
    // many. Returns the firings before the first that failed.
    std::size_t RunSpan(std::size_t firings) override;
    bool Finalize() override;

private:
    static constexpr std::size_t kCells = 8;
    Vantra::ConnectionTable<kCells> cells_;
    Vantra::ResponseCopy response_, stamps_;

    void ReleaseResponses();
    std::size_t RunPiece(std::size_t base, std::size_t n);
};
