// Series switch groups and series pin mappings: their lines and their
// after-file checks against the file's models and model selectors.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "SeriesFixture.h"

namespace {
}  // namespace
