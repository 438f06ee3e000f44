#include "dataflow/DFModel.h"

#include <cstdio>
#include <string>

namespace Vantra {

void DFModel::ReportError(const std::string& message) {
    // One fwrite per line keeps concurrent instances from interleaving
    // within a line.
    std::string line = message;
    line.push_back('\n');
    std::fwrite(line.data(), 1, line.size(), stderr);
    std::fflush(stderr);
    KeepReason(line);
}

std::size_t DFModel::RunSpan(std::size_t firings) {
    if (firings == 0) return 0;
    if (firings == 1) return Run() ? 1 : 0;
    ReportError("This block fires one sample at a time, not a span of " + std::to_string(firings));
    return 0;
}

void DFModel::AdoptReasons(DFModel& block) {
    // Line by line, so the bound drops whole reasons only.
    const std::string& r = block.reasons_;
    std::size_t start = 0;
    while (start < r.size()) {
        std::size_t end = r.find('\n', start);
        end = end == std::string::npos ? r.size() : end + 1;
        KeepReason(r.substr(start, end - start));
        start = end;
    }
    block.ClearReasons();
}

void DFModel::KeepReason(const std::string& line) {
    if (line.size() <= kReasonLimit - reasons_.size()) reasons_ += line;
}

}  // namespace Vantra
