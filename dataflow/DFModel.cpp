#include "dataflow/DFModel.h"

#include <cstdio>

namespace Vantra {

void DFModel::ReportError(const std::string& message)
{
    // One fwrite per line keeps concurrent instances from interleaving
    // within a line.
    std::string line = message;
    line.push_back('\n');
    std::fwrite(line.data(), 1, line.size(), stderr);
    std::fflush(stderr);
}

}  // namespace Vantra
