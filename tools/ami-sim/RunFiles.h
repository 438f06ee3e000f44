// RunFiles: the output directory of a run and the files written into it.
// The directory and waves.csv are made before the run starts, so a bad
// directory costs nothing. The files an earlier run left there are removed
// first, so a directory never mixes two runs, and every file is written
// under a ".part" name and renamed once complete; summary.json comes last,
// so its presence says the run finished.
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

// Writes `text` to `path` (through PATH.part, renamed when written); false
// with "cannot write PATH".
bool WriteTextFile(const std::string& path, const std::string& text, std::string& error);

}  // namespace amisim
