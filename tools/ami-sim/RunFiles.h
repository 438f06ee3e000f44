// RunFiles: the output directory of a run and the files written into it.
// The directory and waves.csv are made before the run starts, so a bad
// directory costs nothing.
#pragma once

#include <string>

#include "tools/ami-sim/LinkPlan.h"
#include "tools/ami-sim/WaveCsv.h"

namespace amisim {

struct RunFiles {
    std::string eyeSvg, bathtubSvg, wavesCsv, summaryJson;
    std::string bathtubCsv, eyeDensityCsv, eyeContourCsv;
    std::size_t waveSamples = 0;  // samples written to waves.csv
    WaveCsv waves;
};

bool OpenRunFiles(const LinkPlan& plan, RunFiles& files, std::string& error);

// Writes `text` to `path`; false with "cannot write PATH".
bool WriteTextFile(const std::string& path, const std::string& text, std::string& error);

}  // namespace amisim
