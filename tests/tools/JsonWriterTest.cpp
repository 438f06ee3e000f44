#include "tools/ami-sim/JsonWriter.h"

#include <gtest/gtest.h>

#include <cmath>

using amisim::JsonWriter;

TEST(JsonWriter, NestsObjectsAndArraysWithTheirCommas) {
    JsonWriter j;
    j.BeginObject().Field("a", 1.5).BeginArray("list");
    j.Field("", "x \"quoted\"").Field("", 2LL).BeginObject().Field("b", true).EndObject();
    j.EndArray().BeginArray("empty").EndArray().Field("nan", NAN).EndObject();
    EXPECT_EQ(j.Text(),
              "{\n  \"a\": 1.5,\n  \"list\": [\n    \"x \\\"quoted\\\"\",\n    2,\n    {\n"
              "      \"b\": true\n    }\n  ],\n  \"empty\": [],\n  \"nan\": null\n}\n");
}
