#include "models/corvin_tx1/corvin_tx1.h"

#include <cstdint>

#include "models/PieceFirings.h"
#include "models/PublishOutput.h"
#include "models/ResponseGrid.h"
#include "models/RunInPieces.h"
#include "models/TruncateToInt32.h"
#include "models/corvin_tx1/TxOutputResponse.h"

corvin_tx1::~corvin_tx1() {
    cells_.Release();
    ReleaseResponses();
}

void corvin_tx1::ReleaseResponses() {
    response_.Release();
    stamps_.Release();
}

bool corvin_tx1::Setup() {
    ReleaseResponses();
    bool ok = true;

    PostDc.row = 1;
    PostDc.kernel_isa = Isa;
    ok &= Adopt(PostDc.Setup(), PostDc);

    TxResponse.ResponseType = Vantra::ImpulseResponse;
    TxResponse.Response = response_.Make(TxOutputResponse, ResponsePointCount);
    TxResponse.ResponseTimeStamps = stamps_.Make(ResponseGrid, ResponsePointCount);
    TxResponse.ResponseCount = TxResponse.TimeStampCount = ResponsePointCount;
    TxResponse.SampleRate = SamplesPerBit / BitTime;
    TxResponse.Isa = Isa;
    ok &= Adopt(TxResponse.Setup(), TxResponse);

    TxFirDc.row = TruncateToInt32(de_code);
    TxFirDc.post_scale = 1;
    TxFirDc.second_scale = 1;
    TxFirDc.samples_per_bit = TruncateToInt32(SamplesPerBit);
    TxFirDc.bit_time = BitTime;
    TxFirDc.level = 0;
    ok &= Adopt(TxFirDc.Setup(), TxFirDc);

    PostDcFork.Output.Resize(2);
    ok &= Adopt(PostDcFork.Setup(), PostDcFork);
    TxFork.Output.Resize(2);
    ok &= Adopt(TxFork.Setup(), TxFork);

    for (Buffer* port : {&Input, &Output1, &Output2, &Output3}) port->SetRate(1);
    return ok;
}

bool corvin_tx1::Initialize() {
    // The connections in signal order, all on the one array (see Storage
    // in the header).
    cells_.Release();
    cells_.Connect<double>(kSignal, SpanLength, InputNet, PostDcIn);
    cells_.Share(kSignal, PostDcOut, PostDcFork.Input);
    cells_.Share(kSignal, PostDcFork.Output.At(0), OutputNet3);
    cells_.Share(kSignal, PostDcFork.Output.At(1), TxFirDc.Input);
    cells_.Share(kSignal, TxFirDc.Output, TxFork.Input);
    cells_.Share(kSignal, TxFork.Output.At(1), OutputNet2);
    cells_.Share(kSignal, TxFork.Output.At(0), TxResponse.Input);
    cells_.Share(kSignal, TxResponse.Output, OutputNet1);

    bool ok = true;
    ok &= Adopt(PostDc.Initialize(), PostDc);
    ok &= Adopt(TxResponse.Initialize(), TxResponse);
    ok &= Adopt(TxFirDc.Initialize(), TxFirDc);
    ok &= Adopt(PostDcFork.Initialize(), PostDcFork);
    ok &= Adopt(TxFork.Initialize(), TxFork);
    return ok;
}

bool corvin_tx1::Run() {
    return RunSpan(1) == 1;
}

std::size_t corvin_tx1::RunSpan(std::size_t firings) {
    if (!cells_.Holds(0)) {
        ReportError("corvin_tx1::Run called without a successful Initialize");
        return 0;
    }
    return RunInPieces(firings, SpanLength,
                       [this](std::size_t base, std::size_t n) { return RunPiece(base, n); });
}

// n <= SpanLength firings, with the external ports' samples from offset
// base on. The blocks fire in signal order, each over the whole piece, on
// the one signal array; each output port receives its signal before the
// next block overwrites it. A firing that fails ends the piece: the blocks
// after the failing one still fire it, as they would in Run, none fires
// beyond it, and no output port receives it.
std::size_t corvin_tx1::RunPiece(std::size_t base, std::size_t n) {
    Input.CopyTo(base, InputNet, 0, n);
    PieceFirings piece(n);
    auto fire = [&](Vantra::DFModel& block, std::size_t done) {
        if (!piece.Fired(done)) Adopt(false, block);
    };
    fire(PostDc, PostDc.run_span(&PostDcIn.ElementAt(0), &PostDcOut.ElementAt(0), piece.Left())
                     ? piece.Left()
                     : 0);
    fire(PostDcFork, PostDcFork.RunSpan(piece.Left()));
    PublishOutput(OutputNet3, Output3, base, piece.Good());
    fire(TxFirDc, TxFirDc.RunSpan(piece.Left()));
    fire(TxFork, TxFork.RunSpan(piece.Left()));
    PublishOutput(OutputNet2, Output2, base, piece.Good());
    fire(TxResponse, TxResponse.RunSpan(piece.Left()));
    PublishOutput(OutputNet1, Output1, base, piece.Good());
    return piece.Good();
}

bool corvin_tx1::Finalize() {
    bool ok = true;
    ok &= Adopt(PostDc.Finalize(), PostDc);
    ok &= Adopt(TxResponse.Finalize(), TxResponse);
    ok &= Adopt(TxFirDc.Finalize(), TxFirDc);
    ok &= Adopt(PostDcFork.Finalize(), PostDcFork);
    ok &= Adopt(TxFork.Finalize(), TxFork);
    cells_.Release();
    ReleaseResponses();
    return ok;
}
