#include "models/corvin_tx1/corvin_tx1.h"

#include <cstdint>

#include "models/ResponseGrid.h"
#include "models/TruncateToInt32.h"
#include "models/corvin_tx1/TxOutputResponse.h"

corvin_tx1::~corvin_tx1()
{
    cells_.Release();
    ReleaseResponses();
}

void corvin_tx1::ReleaseResponses()
{
    response_.Release();
    stamps_.Release();
}

bool corvin_tx1::Setup()
{
    ReleaseResponses();
    bool ok = true;

    PostDc.row = 1;
    ok &= PostDc.Setup();

    TxResponse.ResponseType = Vantra::ImpulseResponse;
    TxResponse.Response = response_.Make(TxOutputResponse, ResponsePointCount);
    TxResponse.ResponseTimeStamps = stamps_.Make(ResponseGrid, ResponsePointCount);
    TxResponse.ResponseCount = TxResponse.TimeStampCount = ResponsePointCount;
    TxResponse.SampleRate = SamplesPerBit / BitTime;
    ok &= TxResponse.Setup();

    TxFirDc.row = TruncateToInt32(de_code);
    TxFirDc.post_scale = 1;
    TxFirDc.second_scale = 1;
    TxFirDc.samples_per_bit = TruncateToInt32(SamplesPerBit);
    TxFirDc.bit_time = BitTime;
    TxFirDc.level = 0;
    ok &= TxFirDc.Setup();

    PostDcFork.Output.Resize(2);
    ok &= PostDcFork.Setup();
    TxFork.Output.Resize(2);
    ok &= TxFork.Setup();

    for (Buffer* port : {&Input, &Output1, &Output2, &Output3}) port->SetRate(1);
    return ok;
}

bool corvin_tx1::Initialize()
{
    cells_.Release();
    cells_.Connect<double>(0, InputNet, PostDcIn);
    cells_.Connect<double>(1, TxResponse.Output, OutputNet1);
    cells_.Connect<double>(2, TxFork.Output.At(1), OutputNet2);
    cells_.Connect<double>(3, PostDcFork.Output.At(0), OutputNet3);
    cells_.Connect<double>(4, PostDcOut, PostDcFork.Input);
    cells_.Connect<double>(5, TxFirDc.Output, TxFork.Input);
    cells_.Connect<double>(6, PostDcFork.Output.At(1), TxFirDc.Input);
    cells_.Connect<double>(7, TxFork.Output.At(0), TxResponse.Input);

    bool ok = true;
    ok &= PostDc.Initialize();
    ok &= TxResponse.Initialize();
    ok &= TxFirDc.Initialize();
    ok &= PostDcFork.Initialize();
    ok &= TxFork.Initialize();
    return ok;
}

bool corvin_tx1::Run()
{
    Input.CopyTo(0, InputNet, 0, 1);
    bool ok = true;
    PostDc.in = PostDcIn.ElementAt(0);
    ok &= PostDc.Run();
    PostDcOut.ElementAt(0) = PostDc.out;
    ok &= PostDcFork.Run();
    ok &= TxFirDc.Run();
    ok &= TxFork.Run();
    ok &= TxResponse.Run();
    OutputNet1.CopyTo(0, Output1, 0, 1);
    OutputNet2.CopyTo(0, Output2, 0, 1);
    OutputNet3.CopyTo(0, Output3, 0, 1);
    return ok;
}

bool corvin_tx1::Finalize()
{
    bool ok = true;
    ok &= PostDc.Finalize();
    ok &= TxResponse.Finalize();
    ok &= TxFirDc.Finalize();
    ok &= PostDcFork.Finalize();
    ok &= TxFork.Finalize();
    cells_.Release();
    ReleaseResponses();
    return ok;
}
