#include <gtest/gtest.h>

#include "dataflow/DFModel.h"

using namespace Vantra;

TEST(DFModel, DefaultLifecycleSucceedsWithoutDoingAnything) {
    DFModel m;
    EXPECT_TRUE(m.Setup());
    EXPECT_TRUE(m.Initialize());
    EXPECT_TRUE(m.Run());
    EXPECT_TRUE(m.Finalize());
    EXPECT_TRUE(m.CheckParameters());
}

TEST(DFModel, ReportErrorWritesOneLineToStandardError) {
    DFModel m;
    testing::internal::CaptureStderr();
    m.ReportError("BlockSize must be >= 1");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "BlockSize must be >= 1\n");
}

TEST(DFModel, DefaultSpanIsOneRunAndLongerSpansAreRefused) {
    struct Counting : DFModel {
        int runs = 0;
        bool Run() override { return ++runs != 2; }
    } m;
    EXPECT_EQ(m.RunSpan(0), 0u);
    EXPECT_EQ(m.RunSpan(1), 1u);
    EXPECT_EQ(m.RunSpan(1), 0u);  // the second Run fails
    testing::internal::CaptureStderr();
    EXPECT_EQ(m.RunSpan(5), 0u);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "This block fires one sample at a time, not a span of 5\n");
    EXPECT_EQ(m.runs, 2);
}
