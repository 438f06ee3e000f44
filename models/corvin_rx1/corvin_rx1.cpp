#include "models/corvin_rx1/corvin_rx1.h"

#include <cstdint>

#include "models/ResponseGrid.h"
#include "models/TruncateToInt32.h"
#include "models/corvin_rx1/EqResponses.h"

corvin_rx1::~corvin_rx1() {
    cells_.Release();
    ReleaseResponses();
}

void corvin_rx1::ReleaseResponses() {
    for (int i = 0; i < 3; ++i) {
        responses_[i].Release();
        stamps_[i].Release();
    }
}

bool corvin_rx1::Setup() {
    ReleaseResponses();
    bool ok = true;

    PostDc.row = 0;
    PostDc.kernel_isa = Isa;
    ok &= Adopt(PostDc.Setup(), PostDc);

    // The filters are designed on the grid of exactly SamplesPerBit samples
    // per bit, not on the simulator's own sample interval.
    const double sampleRate = SamplesPerBit / BitTime;
    Vantra::TimeResponseFIR* filters[3] = {&EqFIR2, &EqFIR1, &EqFIR0};
    const double* tables[3] = {EqResponse2, EqResponse1, EqResponse0};
    for (int i = 0; i < 3; ++i) {
        Vantra::TimeResponseFIR& f = *filters[i];
        f.ResponseType = Vantra::ImpulseResponse;
        f.Response = responses_[i].Make(tables[i], ResponsePointCount);
        f.ResponseTimeStamps = stamps_[i].Make(ResponseGrid, ResponsePointCount);
        f.ResponseCount = f.TimeStampCount = ResponsePointCount;
        f.SampleRate = sampleRate;
        f.Isa = Isa;
        ok &= Adopt(f.Setup(), f);
    }

    // Truncation here, rounding in EqToIndex: the two agree for 0, SpanLength, 2.
    RxDc.row = TruncateToInt32(eq);
    RxDc.kernel_isa = Isa;
    ok &= Adopt(RxDc.Setup(), RxDc);
    ok &= Adopt(EqToIndex.Setup(), EqToIndex);

    EqSelect.BlockSize = 1;
    EqSelect.Input.Resize(3);
    ok &= Adopt(EqSelect.Setup(), EqSelect);
    EqFork.Output.Resize(2);
    ok &= Adopt(EqFork.Setup(), EqFork);
    EqConst.InitialDelay = 0;
    EqConst.Value = eq;
    ok &= Adopt(EqConst.Setup(), EqConst);
    DcFork.Output.Resize(2);
    ok &= Adopt(DcFork.Setup(), DcFork);
    InputFork.Output.Resize(3);
    ok &= Adopt(InputFork.Setup(), InputFork);

    for (Buffer* port : {&Input, &Output1, &Output2, &Output3}) port->SetRate(1);
    return ok;
}

bool corvin_rx1::Initialize() {
    cells_.Release();
    cells_.Connect<double>(0, SpanLength, InputNet, InputFork.Input);
    cells_.Connect<double>(1, SpanLength, PostDcOut, OutputNet1);
    cells_.Connect<double>(2, SpanLength, DcFork.Output.At(1), OutputNet2);
    cells_.Connect<double>(3, SpanLength, EqFork.Output.At(0), OutputNet3);
    cells_.Connect<double>(4, SpanLength, EqFIR2.Output, EqSelect.Input.At(2));
    cells_.Connect<double>(5, SpanLength, EqFIR1.Output, EqSelect.Input.At(1));
    cells_.Connect<double>(6, SpanLength, EqFIR0.Output, EqSelect.Input.At(0));
    cells_.Connect<double>(7, SpanLength, RxDcOut, DcFork.Input);
    cells_.Connect<int>(8, SpanLength, EqToIndex.Output, EqSelect.Control);
    cells_.Connect<double>(9, SpanLength, EqSelect.Output, EqFork.Input);
    cells_.Connect<double>(10, SpanLength, EqFork.Output.At(1), RxDcIn);
    cells_.Connect<double>(11, SpanLength, EqConst.Output, EqToIndex.Input);
    cells_.Connect<double>(12, SpanLength, DcFork.Output.At(0), PostDcIn);
    cells_.Connect<double>(13, SpanLength, InputFork.Output.At(0), EqFIR2.Input);
    cells_.Connect<double>(14, SpanLength, InputFork.Output.At(1), EqFIR1.Input);
    cells_.Connect<double>(15, SpanLength, InputFork.Output.At(2), EqFIR0.Input);

    bool ok = true;
    ok &= Adopt(PostDc.Initialize(), PostDc);
    ok &= Adopt(EqFIR2.Initialize(), EqFIR2);
    ok &= Adopt(EqFIR1.Initialize(), EqFIR1);
    ok &= Adopt(EqFIR0.Initialize(), EqFIR0);
    ok &= Adopt(RxDc.Initialize(), RxDc);
    ok &= Adopt(EqToIndex.Initialize(), EqToIndex);
    ok &= Adopt(EqSelect.Initialize(), EqSelect);
    ok &= Adopt(EqFork.Initialize(), EqFork);
    ok &= Adopt(EqConst.Initialize(), EqConst);
    ok &= Adopt(DcFork.Initialize(), DcFork);
    ok &= Adopt(InputFork.Initialize(), InputFork);
    return ok;
}

bool corvin_rx1::Run() {
    return RunSpan(1) == 1;
}

std::size_t corvin_rx1::RunSpan(std::size_t firings) {
    if (!cells_.Holds(0)) {
        ReportError("corvin_rx1::Run called without a successful Initialize");
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
std::size_t corvin_rx1::RunPiece(std::size_t base, std::size_t n) {
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
    fire(InputFork, InputFork.RunSpan(m));
    fire(EqConst, EqConst.RunSpan(m));
    fire(EqToIndex, EqToIndex.RunSpan(m));
    fire(EqSelect, FireEqualisers(m));
    fire(EqFork, EqFork.RunSpan(m));
    fire(RxDc, RxDc.run_span(&RxDcIn.ElementAt(0), &RxDcOut.ElementAt(0), m) ? m : 0);
    fire(DcFork, DcFork.RunSpan(m));
    fire(PostDc, PostDc.run_span(&PostDcIn.ElementAt(0), &PostDcOut.ElementAt(0), m) ? m : 0);
    OutputNet1.CopyTo(0, Output1, base, m);
    OutputNet2.CopyTo(0, Output2, base, m);
    OutputNet3.CopyTo(0, Output3, base, m);
    return good;
}

// The responses the Mux passes in the first n firings, up to and including
// the first firing whose control it refuses, then the Mux itself.
std::size_t corvin_rx1::FireEqualisers(std::size_t n) {
    Vantra::TimeResponseFIR* filters[3] = {&EqFIR0, &EqFIR1, &EqFIR2};
    bool selected[3] = {false, false, false};
    std::size_t m = n;
    const int* control = &EqSelect.Control.ElementAt(0);  // a cell: one array
    for (std::size_t f = 0; f < n; ++f) {
        const int c = control[f];
        if (c < 0 || c > 2) {
            m = f + 1;
            break;
        }
        selected[c] = true;
    }
    std::size_t good = m;
    for (int i = 0; i < 3; ++i) {
        if (!selected[i]) continue;
        const std::size_t done = filters[i]->RunSpan(m);
        if (done < m) {
            Adopt(false, *filters[i]);
            good = done;
            m = done + 1;
        }
    }
    const std::size_t passed = EqSelect.RunSpan(m);
    return passed < good ? passed : good;
}

bool corvin_rx1::Finalize() {
    bool ok = true;
    ok &= Adopt(PostDc.Finalize(), PostDc);
    ok &= Adopt(EqFIR2.Finalize(), EqFIR2);
    ok &= Adopt(EqFIR1.Finalize(), EqFIR1);
    ok &= Adopt(EqFIR0.Finalize(), EqFIR0);
    ok &= Adopt(RxDc.Finalize(), RxDc);
    ok &= Adopt(EqToIndex.Finalize(), EqToIndex);
    ok &= Adopt(EqSelect.Finalize(), EqSelect);
    ok &= Adopt(EqFork.Finalize(), EqFork);
    ok &= Adopt(EqConst.Finalize(), EqConst);
    ok &= Adopt(DcFork.Finalize(), DcFork);
    ok &= Adopt(InputFork.Finalize(), InputFork);
    cells_.Release();
    ReleaseResponses();
    return ok;
}
