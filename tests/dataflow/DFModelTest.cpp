#include <gtest/gtest.h>

#include "dataflow/DFModel.h"

using namespace Vantra;

TEST(DFModel, DefaultLifecycleSucceedsWithoutDoingAnything)
{
    DFModel m;
    EXPECT_TRUE(m.Setup());
    EXPECT_TRUE(m.Initialize());
    EXPECT_TRUE(m.Run());
    EXPECT_TRUE(m.Finalize());
    EXPECT_TRUE(m.CheckParameters());
}

TEST(DFModel, ReportErrorWritesOneLineToStandardError)
{
    DFModel m;
    testing::internal::CaptureStderr();
    m.ReportError("BlockSize must be >= 1");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "BlockSize must be >= 1\n");
}
