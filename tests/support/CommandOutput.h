// The standard output of a shell command, for tests that inspect built
// files with the binutils (objdump, nm).
#pragma once

#include <cstdio>
#include <string>

inline std::string CommandOutput(const std::string& cmd)
{
    std::string out;
    FILE* p = popen(cmd.c_str(), "r");
    if (p == nullptr) return out;
    char buf[4096];
    std::size_t n;
    while ((n = fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
    pclose(p);
    return out;
}
