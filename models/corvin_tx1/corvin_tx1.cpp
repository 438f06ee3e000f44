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
    ok &= Adopt(PostDc.Setup(), PostDc);

    TxResponse.ResponseType = Vantra::ImpulseResponse;
    TxResponse.Response = response_.Make(TxOutputResponse, ResponsePointCount);
    TxResponse.ResponseTimeStamps = stamps_.Make(ResponseGrid, ResponsePointCount);
    TxResponse.ResponseCount = TxResponse.TimeStampCount = ResponsePointCount;
    TxResponse.SampleRate = SamplesPerBit / BitTime;
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

bool corvin_tx1::Initialize()
{
    cells_.Release();
    cells_.Connect<double>(0, 1, InputNet, PostDcIn);
    cells_.Connect<double>(1, 1, TxResponse.Output, OutputNet1);
    cells_.Connect<double>(2, 1, TxFork.Output.At(1), OutputNet2);
    cells_.Connect<double>(3, 1, PostDcFork.Output.At(0), OutputNet3);
    cells_.Connect<double>(4, 1, PostDcOut, PostDcFork.Input);
    cells_.Connect<double>(5, 1, TxFirDc.Output, TxFork.Input);
    cells_.Connect<double>(6, 1, PostDcFork.Output.At(1), TxFirDc.Input);
    cells_.Connect<double>(7, 1, TxFork.Output.At(0), TxResponse.Input);

    bool ok = true;
    ok &= Adopt(PostDc.Initialize(), PostDc);
    ok &= Adopt(TxResponse.Initialize(), TxResponse);
    ok &= Adopt(TxFirDc.Initialize(), TxFirDc);
    ok &= Adopt(PostDcFork.Initialize(), PostDcFork);
    ok &= Adopt(TxFork.Initialize(), TxFork);
    return ok;
}

bool corvin_tx1::Run()
{
    Input.CopyTo(0, InputNet, 0, 1);
    bool ok = true;
    PostDc.in = PostDcIn.ElementAt(0);
    ok &= Adopt(PostDc.Run(), PostDc);
    PostDcOut.ElementAt(0) = PostDc.out;
    ok &= Adopt(PostDcFork.Run(), PostDcFork);
    ok &= Adopt(TxFirDc.Run(), TxFirDc);
    ok &= Adopt(TxFork.Run(), TxFork);
    ok &= Adopt(TxResponse.Run(), TxResponse);
    OutputNet1.CopyTo(0, Output1, 0, 1);
    OutputNet2.CopyTo(0, Output2, 0, 1);
    OutputNet3.CopyTo(0, Output3, 0, 1);
    return ok;
}

bool corvin_tx1::Finalize()
{
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
