// corvin_tx1: the transmitter model network. Per sample it soft-limits the
// input (rx_post_dc row 1), applies the two-tap de-emphasis tx_fir_dc that
// the setting `de_code` configures, and filters the result with the fixed
// output response. Output1 (the output response) is what the simulator
// receives; Output2 (de-emphasis) and Output3 (limiter) are written every
// sample for inspection.
#pragma once

#include "blocks/Fork.h"
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
    bool Finalize() override;

private:
    static constexpr std::size_t kCells = 8;
    Vantra::ConnectionTable<kCells> cells_;
    Vantra::ResponseCopy response_, stamps_;

    void ReleaseResponses();
};
