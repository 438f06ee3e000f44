// EMI tables of a component: [Pin EMI] and [Pin Domain EMI] lines read
// through the block's line handler, then the end-of-component check.  The
// time per line must not grow with the table's length.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

#include "IbisParser/cmpntemi.h"
#include "IbisParser/ibis.h"
#include "IbisParser/keyword.h"
#include "IbisParser/msg.h"
#include "IbisParser/pinemi.h"
#include "IbisParser/section.h"

namespace {

const char* AnyPin(void*, const char*) {
    return "buf";
}

void Line(int type, int code, const std::string& text, CmpntEmi** emi) {
    std::string copy = text;
    CMPNTEMI_Line(type, code, &copy[0], emi);
}

void BM_EmiTables(benchmark::State& state) {
    const int rows = static_cast<int>(state.range(0));
    std::vector<std::string> pins, domains;
    for (int i = 0; i < rows; i++) {
        // Pin names are at most 5 characters: base 36.
        std::string name;
        for (int v = i; name.empty() || v > 0; v /= 36)
            name += "0123456789abcdefghijklmnopqrstuvwxyz"[v % 36];
        pins.push_back(name + " d" + std::to_string(i) + " 1");
        domains.push_back("d" + std::to_string(i) + " 1");
    }
    static FILE* null = std::fopen("/dev/null", "w");
    MSG_SetOutput(null);
    IbisFile* file = nullptr;
    IBIS_New(&file);
    for (auto _ : state) {
        CmpntEmi* emi = nullptr;
        CMPNTEMI_Reset();
        Line(SECTION_LINE_KEYWORD, KW_BEGIN_EMI_COMPONENT, "[Begin EMI Component]", &emi);
        Line(SECTION_LINE_KEYWORD, KW_PIN_EMI, "[Pin EMI] domain_name clock_div", &emi);
        for (const std::string& p : pins) Line(SECTION_LINE_DATA, KW_PIN_EMI, p, &emi);
        Line(SECTION_LINE_KEYWORD, KW_PIN_DOMAIN_EMI, "[Pin Domain EMI] percentage", &emi);
        for (const std::string& d : domains) Line(SECTION_LINE_DATA, KW_PIN_DOMAIN_EMI, d, &emi);
        Line(SECTION_LINE_KEYWORD, KW_END_EMI_COMPONENT, "[End EMI Component]", &emi);
        PINEMI_CheckComponent("chip", emi, AnyPin, nullptr);
        CMPNTEMI_Free(&emi);
    }
    IBIS_Free(&file);
    MSG_SetOutput(nullptr);
    state.SetItemsProcessed(state.iterations() * rows * 2);
}
BENCHMARK(BM_EmiTables)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
