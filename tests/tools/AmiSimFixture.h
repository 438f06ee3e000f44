// AmiSimRun: runs ami-sim's command line into a scratch output directory
// of the test and reads back what it wrote (summary.json fields, files).
#pragma once

#include <gtest/gtest.h>

#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tools/ami-sim/Simulation.h"

// The whole text of a file; empty when it cannot be read.
inline std::string ReadTextFile(const std::filesystem::path& path) {
    std::ifstream f(path);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
}

class AmiSimRun : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir = std::filesystem::temp_directory_path() /
              ("amisim-" + std::to_string(getpid()) + "-" + info->name());
        std::filesystem::remove_all(dir);
    }
    void TearDown() override { std::filesystem::remove_all(dir); }

    int Run(std::vector<std::string> args) {
        args.insert(args.begin(), {"ami-sim", "--out", dir.string()});
        out.str("");
        err.str("");
        return amisim::RunCommandLine(args, out, err, false);
    }

    std::string Summary() const { return ReadTextFile(dir / "summary.json"); }

    // The number after "key": in summary.json.
    double Number(const std::string& key) const {
        const std::string text = Summary();
        const std::size_t at = text.find("\"" + key + "\": ");
        if (at == std::string::npos) return NAN;
        return std::strtod(text.c_str() + at + key.size() + 4, nullptr);
    }

    // The number, or the text of the string, after "inner": that follows
    // "outer": in summary.json.
    std::string Within(const std::string& outer, const std::string& inner) const {
        const std::string text = Summary();
        std::size_t at = text.find("\"" + outer + "\": ");
        if (at == std::string::npos) return "";
        at = text.find("\"" + inner + "\": ", at);
        if (at == std::string::npos) return "";
        at += inner.size() + 4;
        const std::size_t end =
            text.find_first_of(",\n", text[at] == '"' ? text.find('"', at + 1) : at);
        return text.substr(at, end - at);
    }
    double Number(const std::string& outer, const std::string& inner) const {
        return std::strtod(Within(outer, inner).c_str(), nullptr);
    }

    std::string WriteFile(const std::string& name, const std::string& text) {
        std::filesystem::create_directories(dir);
        const std::filesystem::path p = dir / name;
        std::ofstream(p) << text;
        return p.string();
    }

    std::filesystem::path dir;
    std::ostringstream out, err;
};
