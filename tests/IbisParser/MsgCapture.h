// MsgCapture: a fixture that sends the message log to a temporary file,
// starts each test with zero counters and default switches, and hands back
// what was written.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "IbisParser/msg.h"

class MsgCapture : public ::testing::Test {
protected:
    FILE* out_ = nullptr;

    void SetUp() override {
        out_ = std::tmpfile();
        ASSERT_NE(out_, nullptr);
        MSG_SetOutput(out_);
        MSG_ResetCounts();
        MSG_SuppressBugs(0);
        MSG_SuppressErrors(0);
        MSG_SuppressWarnings(0);
        MSG_SetCoded(0);
        MSG_SetLineSource(nullptr);
        MSG_SetRepeatLimit(0);
        MSG_SetSink(nullptr, nullptr);
        MSG_SetDiscard(0);
        MSG_SetCheckedFile("");
    }

    void TearDown() override {
        MSG_SetCheckedFile("");
        MSG_SetRepeatLimit(0);
        MSG_SetSink(nullptr, nullptr);
        MSG_SetOutput(nullptr);
        MSG_SetCoded(0);
        MSG_SetLineSource(nullptr);
        MSG_ResetCounts();
        if (out_) std::fclose(out_);
    }

    // Everything written since the last call.
    std::string Output() {
        std::fflush(out_);
        long end = std::ftell(out_);
        std::string text(static_cast<size_t>(end), '\0');
        std::rewind(out_);
        size_t got = std::fread(&text[0], 1, text.size(), out_);
        text.resize(got);
        std::fclose(out_);
        out_ = std::tmpfile();
        MSG_SetOutput(out_);
        return text;
    }

    static int Errors() {
        int e = 0;
        MSG_GetCounts(nullptr, &e, nullptr);
        return e;
    }
};
