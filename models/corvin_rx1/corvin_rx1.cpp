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
    ok &= PostDc.Setup();

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
        ok &= f.Setup();
    }

    // Truncation here, rounding in EqToIndex: the two agree for 0, 1, 2.
    RxDc.row = TruncateToInt32(eq);
    ok &= RxDc.Setup();
    ok &= EqToIndex.Setup();

    EqSelect.BlockSize = 1;
    EqSelect.Input.Resize(3);
    ok &= EqSelect.Setup();
    EqFork.Output.Resize(2);
    ok &= EqFork.Setup();
    EqConst.InitialDelay = 0;
    EqConst.Value = eq;
    ok &= EqConst.Setup();
    DcFork.Output.Resize(2);
    ok &= DcFork.Setup();
    InputFork.Output.Resize(3);
    ok &= InputFork.Setup();

    for (Buffer* port : {&Input, &Output1, &Output2, &Output3}) port->SetRate(1);
    return ok;
}

bool corvin_rx1::Initialize()
{
    cells_.Release();
    cells_.Connect<double>(0, InputNet, InputFork.Input);
    cells_.Connect<double>(1, PostDcOut, OutputNet1);
    cells_.Connect<double>(2, DcFork.Output.At(1), OutputNet2);
    cells_.Connect<double>(3, EqFork.Output.At(0), OutputNet3);
    cells_.Connect<double>(4, EqFIR2.Output, EqSelect.Input.At(2));
    cells_.Connect<double>(5, EqFIR1.Output, EqSelect.Input.At(1));
    cells_.Connect<double>(6, EqFIR0.Output, EqSelect.Input.At(0));
    cells_.Connect<double>(7, RxDcOut, DcFork.Input);
    cells_.Connect<int>(8, EqToIndex.Output, EqSelect.Control);
    cells_.Connect<double>(9, EqSelect.Output, EqFork.Input);
    cells_.Connect<double>(10, EqFork.Output.At(1), RxDcIn);
    cells_.Connect<double>(11, EqConst.Output, EqToIndex.Input);
    cells_.Connect<double>(12, DcFork.Output.At(0), PostDcIn);
    cells_.Connect<double>(13, InputFork.Output.At(0), EqFIR2.Input);
    cells_.Connect<double>(14, InputFork.Output.At(1), EqFIR1.Input);
    cells_.Connect<double>(15, InputFork.Output.At(2), EqFIR0.Input);

    bool ok = true;
    ok &= PostDc.Initialize();
    ok &= EqFIR2.Initialize();
    ok &= EqFIR1.Initialize();
    ok &= EqFIR0.Initialize();
    ok &= RxDc.Initialize();
    ok &= EqToIndex.Initialize();
    ok &= EqSelect.Initialize();
    ok &= EqFork.Initialize();
    ok &= EqConst.Initialize();
    ok &= DcFork.Initialize();
    ok &= InputFork.Initialize();
    return ok;
}

bool corvin_rx1::Run()
{
    Input.CopyTo(0, InputNet, 0, 1);
    bool ok = true;
    ok &= InputFork.Run();
    ok &= EqFIR0.Run();
    ok &= EqFIR1.Run();
    ok &= EqFIR2.Run();
    ok &= EqConst.Run();
    ok &= EqToIndex.Run();
    EqSelect.ControlValue = EqSelect.Control.ElementAt(0);
    ok &= EqSelect.Run();
    ok &= EqFork.Run();
    RxDc.in = RxDcIn.ElementAt(0);
    ok &= RxDc.Run();
    RxDcOut.ElementAt(0) = RxDc.out;
    ok &= DcFork.Run();
    PostDc.in = PostDcIn.ElementAt(0);
    ok &= PostDc.Run();
    PostDcOut.ElementAt(0) = PostDc.out;
    OutputNet1.CopyTo(0, Output1, 0, 1);
    OutputNet2.CopyTo(0, Output2, 0, 1);
    OutputNet3.CopyTo(0, Output3, 0, 1);
    return ok;
}

bool corvin_rx1::Finalize()
{
    bool ok = true;
    ok &= PostDc.Finalize();
    ok &= EqFIR2.Finalize();
    ok &= EqFIR1.Finalize();
    ok &= EqFIR0.Finalize();
    ok &= RxDc.Finalize();
    ok &= EqToIndex.Finalize();
    ok &= EqSelect.Finalize();
    ok &= EqFork.Finalize();
    ok &= EqConst.Finalize();
    ok &= DcFork.Finalize();
    ok &= InputFork.Finalize();
    cells_.Release();
    ReleaseResponses();
    return ok;
}
