#include "models/corvin_rx1/corvin_rx1.h"

#include <cstdint>

#include "models/corvin_rx1/EqResponses.h"
#include "models/ResponseGrid.h"
#include "models/TruncateToInt32.h"

corvin_rx1::~corvin_rx1()
{
    cells_.Release();
    ReleaseResponses();
}

void corvin_rx1::ReleaseResponses()
{
    for (int i = 0; i < 3; ++i) {
        responses_[i].Release();
        stamps_[i].Release();
    }
}

bool corvin_rx1::Setup()
{
    ReleaseResponses();
    bool ok = true;

    PostDc.row = 0;
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
        ok &= Adopt(f.Setup(), f);
    }

    // Truncation here, rounding in EqToIndex: the two agree for 0, 1, 2.
    RxDc.row = TruncateToInt32(eq);
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

bool corvin_rx1::Initialize()
{
    cells_.Release();
    cells_.Connect<double>(0, 1, InputNet, InputFork.Input);
    cells_.Connect<double>(1, 1, PostDcOut, OutputNet1);
    cells_.Connect<double>(2, 1, DcFork.Output.At(1), OutputNet2);
    cells_.Connect<double>(3, 1, EqFork.Output.At(0), OutputNet3);
    cells_.Connect<double>(4, 1, EqFIR2.Output, EqSelect.Input.At(2));
    cells_.Connect<double>(5, 1, EqFIR1.Output, EqSelect.Input.At(1));
    cells_.Connect<double>(6, 1, EqFIR0.Output, EqSelect.Input.At(0));
    cells_.Connect<double>(7, 1, RxDcOut, DcFork.Input);
    cells_.Connect<int>(8, 1, EqToIndex.Output, EqSelect.Control);
    cells_.Connect<double>(9, 1, EqSelect.Output, EqFork.Input);
    cells_.Connect<double>(10, 1, EqFork.Output.At(1), RxDcIn);
    cells_.Connect<double>(11, 1, EqConst.Output, EqToIndex.Input);
    cells_.Connect<double>(12, 1, DcFork.Output.At(0), PostDcIn);
    cells_.Connect<double>(13, 1, InputFork.Output.At(0), EqFIR2.Input);
    cells_.Connect<double>(14, 1, InputFork.Output.At(1), EqFIR1.Input);
    cells_.Connect<double>(15, 1, InputFork.Output.At(2), EqFIR0.Input);

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

bool corvin_rx1::Run()
{
    Input.CopyTo(0, InputNet, 0, 1);
    bool ok = true;
    ok &= Adopt(InputFork.Run(), InputFork);
    ok &= Adopt(EqFIR0.Run(), EqFIR0);
    ok &= Adopt(EqFIR1.Run(), EqFIR1);
    ok &= Adopt(EqFIR2.Run(), EqFIR2);
    ok &= Adopt(EqConst.Run(), EqConst);
    ok &= Adopt(EqToIndex.Run(), EqToIndex);
    EqSelect.ControlValue = EqSelect.Control.ElementAt(0);
    ok &= Adopt(EqSelect.Run(), EqSelect);
    ok &= Adopt(EqFork.Run(), EqFork);
    RxDc.in = RxDcIn.ElementAt(0);
    ok &= Adopt(RxDc.Run(), RxDc);
    RxDcOut.ElementAt(0) = RxDc.out;
    ok &= Adopt(DcFork.Run(), DcFork);
    PostDc.in = PostDcIn.ElementAt(0);
    ok &= Adopt(PostDc.Run(), PostDc);
    PostDcOut.ElementAt(0) = PostDc.out;
    OutputNet1.CopyTo(0, Output1, 0, 1);
    OutputNet2.CopyTo(0, Output2, 0, 1);
    OutputNet3.CopyTo(0, Output3, 0, 1);
    return ok;
}

bool corvin_rx1::Finalize()
{
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
