#include <gtest/gtest.h>

#include "dataflow/CircularBuffer.h"
#include "dataflow/CircularBufferBus.h"

using namespace Vantra;

TEST(CircularBufferBus, ResizeToTheSameWidthKeepsBranches)
{
    CircularBufferBusT<CircularBuffer<double>> bus;
    bus.Resize(2);
    double cell = 1.5;
    bus.At(1).Data = &cell;
    bus.At(1).Capacity = 1;
    bus.At(1).SetRate(3);
    CircularBuffer<double>* before = bus.Branches;
    bus.Resize(2);
    EXPECT_EQ(bus.Branches, before);
    EXPECT_EQ(bus.At(1).Data, &cell);
    EXPECT_EQ(bus.At(1).Rate, 3u);
}

TEST(CircularBufferBus, ResizeToAnotherWidthGivesFreshBranches)
{
    CircularBufferBusT<CircularBuffer<double>> bus;
    bus.Resize(3);
    double cell = 0.0;
    for (std::size_t i = 0; i < 3; ++i) {
        bus.At(i).Data = &cell;
        bus.At(i).SetRate(2);
    }
    bus.Resize(2);
    ASSERT_EQ(bus.Width, 2u);
    for (std::size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(bus.At(i).Data, nullptr);
        EXPECT_EQ(bus.At(i).Rate, 1u);
        EXPECT_EQ(bus.At(i).WindowSize, 1u);
        EXPECT_TRUE(bus.At(i).Connected);
    }
    bus.Resize(0);
    EXPECT_EQ(bus.Width, 0u);
    EXPECT_EQ(bus.Branches, nullptr);
}

TEST(CircularBufferBus, BaseInterfaceReachesTheBranches)
{
    CircularBufferBusT<CircularBuffer<int>> bus;
    CircularBufferBus& base = bus;
    base.Resize(4);
    EXPECT_EQ(base.At(3).ElementSize, sizeof(int));
}

TEST(CircularBufferBus, PortsSharingOneCellSeeTheSameSample)
{
    CircularBuffer<double> producer;
    CircularBufferBusT<CircularBuffer<double>> consumers;
    consumers.Resize(2);
    double cell = 0.0;
    for (CircularBuffer<double>* p : {&producer, &consumers.At(0), &consumers.At(1)}) {
        p->Data = &cell;
        p->Capacity = 1;
    }
    producer.ElementAt(0) = 4.25;
    EXPECT_EQ(consumers.At(0).ElementAt(0), 4.25);
    EXPECT_EQ(consumers.At(1).ElementAt(0), 4.25);
}
