// Fuzz target: ami-sim's channel file readers. The first input byte picks
// the reader: an even byte the Touchstone reader, with byte / 2 % 65 as the
// port count a file name would give (0: none, only version 2.0 files
// read), then on success the network checks and the through path the
// channel would take; an odd byte the two-column CSV reader of impulse and
// step responses. The rest is the file's text.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "tools/ami-sim/ChannelChecks.h"
#include "tools/ami-sim/ThroughResponse.h"
#include "tools/ami-sim/TimeValueCsv.h"
#include "tools/ami-sim/Touchstone.h"

namespace {

// Bounds the checks' work on a file that asks for many ports.
constexpr int kCheckedPorts = 8;

void Touchstone(int portsFromName, const std::string& text)
{
    std::istringstream in(text);
    amisim::NetworkData data;
    std::string error;
    if (!amisim::ParseTouchstone(in, "fuzz.sNp", portsFromName, data, error)) return;
    if (data.ports > kCheckedPorts) return;
    std::vector<std::string> warnings;
    amisim::CheckNetwork(data, 1e300, warnings);
    const std::vector<int> ports =
        data.ports >= 4 ? std::vector<int>{1, 2, 3, 4} : std::vector<int>{1, data.ports};
    if (data.ports >= 2) amisim::CheckPortOrder(data, ports, warnings);
    amisim::ThroughResponse through;
    amisim::SelectThrough(data, {}, through, error);
}

void Csv(const std::string& text)
{
    std::istringstream in(text);
    amisim::TimeValueTable table;
    std::string error;
    amisim::ParseTimeValueCsv(in, "fuzz.csv", table, error);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0) return 0;
    const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
    if (data[0] % 2 == 0)
        Touchstone(data[0] / 2 % 65, text);
    else
        Csv(text);
    return 0;
}
