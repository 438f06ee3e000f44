#include "models/corvin_rx1/corvin_rx1.h"

#include <cstdint>

#include "models/PieceFirings.h"
#include "models/PublishOutput.h"
#include "models/ResponseGrid.h"
#include "models/RunInPieces.h"
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

    // Truncation here, rounding in EqToIndex: the two agree for 0, 1 and 2.
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
    ConnectCells();
    bool ok = true;
    ok &= Adopt(PostDc.Initialize(), PostDc);
    ok &= InitializeEqualisers();
    ok &= Adopt(RxDc.Initialize(), RxDc);
    ok &= Adopt(EqToIndex.Initialize(), EqToIndex);
    ok &= Adopt(EqSelect.Initialize(), EqSelect);
    ok &= Adopt(EqFork.Initialize(), EqFork);
    ok &= Adopt(EqConst.Initialize(), EqConst);
    ok &= Adopt(DcFork.Initialize(), DcFork);
    ok &= Adopt(InputFork.Initialize(), InputFork);
    return ok;
}

// The connections in signal order, each on the array that carries it (see
// Storage in the header).
void corvin_rx1::ConnectCells() {
    cells_.Release();
    cells_.Connect<double>(kSignal, SpanLength, EqConst.Output, EqToIndex.Input);
    cells_.Connect<int>(kControl, SpanLength, EqToIndex.Output, EqSelect.Control);
    cells_.Share(kSignal, InputNet, InputFork.Input);
    cells_.Share(kSignal, InputFork.Output.At(0), EqFIR2.Input);
    cells_.Share(kSignal, InputFork.Output.At(1), EqFIR1.Input);
    cells_.Share(kSignal, InputFork.Output.At(2), EqFIR0.Input);
    cells_.Share(kSignal, EqFIR2.Output, EqSelect.Input.At(2));
    cells_.Share(kSignal, EqFIR1.Output, EqSelect.Input.At(1));
    cells_.Share(kSignal, EqFIR0.Output, EqSelect.Input.At(0));
    cells_.Share(kSignal, EqSelect.Output, EqFork.Input);
    cells_.Share(kSignal, EqFork.Output.At(0), OutputNet3);
    cells_.Share(kSignal, EqFork.Output.At(1), RxDcIn);
    cells_.Share(kSignal, RxDcOut, DcFork.Input);
    cells_.Share(kSignal, DcFork.Output.At(1), OutputNet2);
    cells_.Share(kSignal, DcFork.Output.At(0), PostDcIn);
    cells_.Share(kSignal, PostDcOut, OutputNet1);
}

// The response that the Mux passes from the first firing on (the constant
// source emits the setting at once, rounded as EqToIndex rounds it) gets its
// history; the others are finalized, so that they hold no history of an
// earlier Initialize either. A setting that selects none leaves all three
// without: every firing then fails in the Mux before any response fires.
bool corvin_rx1::InitializeEqualisers() {
    int selected = -1;
    Vantra::TypeConverterRound::Convert(EqConst.Value, selected);
    Vantra::TimeResponseFIR* filters[3] = {&EqFIR0, &EqFIR1, &EqFIR2};
    bool ok = true;
    for (int i = 2; i >= 0; --i) {
        Vantra::TimeResponseFIR& f = *filters[i];
        ok &= Adopt(i == selected ? f.Initialize() : f.Finalize(), f);
    }
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
    return RunInPieces(firings, SpanLength,
                       [this](std::size_t base, std::size_t n) { return RunPiece(base, n); });
}

// n <= SpanLength firings, with the external ports' samples from offset
// base on. The blocks fire in signal order, each over the whole piece, on
// the one signal array; each output port receives its signal before the
// next block overwrites it. A firing that fails ends the piece: the blocks
// after the failing one still fire it, as they would in Run, none fires
// beyond it, and no output port receives it.
std::size_t corvin_rx1::RunPiece(std::size_t base, std::size_t n) {
    PieceFirings piece(n);
    auto fire = [&](Vantra::DFModel& block, std::size_t done) {
        if (!piece.Fired(done)) Adopt(false, block);
    };
    // The control path first: its constant uses the signal array before the
    // input enters it.
    fire(EqConst, EqConst.RunSpan(piece.Left()));
    fire(EqToIndex, EqToIndex.RunSpan(piece.Left()));
    Input.CopyTo(base, InputNet, 0, n);
    fire(InputFork, InputFork.RunSpan(piece.Left()));
    fire(EqSelect, FireEqualisers(piece.Left()));
    fire(EqFork, EqFork.RunSpan(piece.Left()));
    PublishOutput(OutputNet3, Output3, base, piece.Good());
    fire(RxDc, RxDc.run_span(&RxDcIn.ElementAt(0), &RxDcOut.ElementAt(0), piece.Left())
                   ? piece.Left()
                   : 0);
    fire(DcFork, DcFork.RunSpan(piece.Left()));
    PublishOutput(OutputNet2, Output2, base, piece.Good());
    if (Output1.Connected) {
        fire(PostDc, PostDc.run_span(&PostDcIn.ElementAt(0), &PostDcOut.ElementAt(0), piece.Left())
                         ? piece.Left()
                         : 0);
        PublishOutput(OutputNet1, Output1, base, piece.Good());
    }
    return piece.Good();
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
