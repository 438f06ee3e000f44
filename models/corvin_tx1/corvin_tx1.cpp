#include "models/corvin_tx1/corvin_tx1.h"

#include <cstdint>

#include "models/ResponseGrid.h"
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
    cells_.Release();
    cells_.Connect<double>(0, SpanLength, InputNet, PostDcIn);
    cells_.Connect<double>(1, SpanLength, TxResponse.Output, OutputNet1);
    cells_.Connect<double>(2, SpanLength, TxFork.Output.At(1), OutputNet2);
    cells_.Connect<double>(3, SpanLength, PostDcFork.Output.At(0), OutputNet3);
    cells_.Connect<double>(4, SpanLength, PostDcOut, PostDcFork.Input);
    cells_.Connect<double>(5, SpanLength, TxFirDc.Output, TxFork.Input);
    cells_.Connect<double>(6, SpanLength, PostDcFork.Output.At(1), TxFirDc.Input);
    cells_.Connect<double>(7, SpanLength, TxFork.Output.At(0), TxResponse.Input);

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
    std::size_t done = 0;
    while (done < firings) {
        const std::size_t n = firings - done < SpanLength ? firings - done : SpanLength;
        const std::size_t good = RunPiece(done, n);
        done += good;
        if (good < n) break;
    }
    return done;
}

// n <= SpanLength firings, with the external ports' samples from offset
// base on. The blocks fire in signal order, each over the whole piece, so
// every cell holds the piece's samples when its consumer fires. A firing
// that fails ends the piece: the blocks after the failing one still fire
// it, as they would in Run, and none fires beyond it.
std::size_t corvin_tx1::RunPiece(std::size_t base, std::size_t n) {
    Input.CopyTo(base, InputNet, 0, n);
    std::size_t good = n;
    std::size_t m = n;  // firings the blocks still fire
    auto fire = [&](Vantra::DFModel& block, std::size_t done) {
        if (done < m) {
            Adopt(false, block);
            good = good < done ? good : done;
            m = done + 1;
        }
    };
    fire(PostDc, PostDc.run_span(&PostDcIn.ElementAt(0), &PostDcOut.ElementAt(0), m) ? m : 0);
    fire(PostDcFork, PostDcFork.RunSpan(m));
    fire(TxFirDc, TxFirDc.RunSpan(m));
    fire(TxFork, TxFork.RunSpan(m));
    fire(TxResponse, TxResponse.RunSpan(m));
    OutputNet1.CopyTo(0, Output1, base, m);
    OutputNet2.CopyTo(0, Output2, base, m);
    OutputNet3.CopyTo(0, Output3, base, m);
    return good;
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
