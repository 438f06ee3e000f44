#include "tools/ami-sim/RunFiles.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace amisim {

bool OpenRunFiles(const LinkPlan& plan, RunFiles& f, std::string& error) {
    const std::filesystem::path dir(plan.outputDirectory);
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    if (ec) {
        error = "cannot create output directory " + plan.outputDirectory + ": " + ec.message();
        return false;
    }
    f.eyeSvg = (dir / "eye.svg").string();
    f.bathtubSvg = (dir / "bathtub.svg").string();
    f.wavesCsv = (dir / "waves.csv").string();
    f.summaryJson = (dir / "summary.json").string();
    f.bathtubCsv = (dir / "bathtub.csv").string();
    f.eyeDensityCsv = (dir / "eye_density.csv").string();
    f.eyeContourCsv = (dir / "eye_contour.csv").string();
    for (const std::string* p : {&f.summaryJson, &f.eyeSvg, &f.bathtubSvg, &f.wavesCsv,
                                 &f.bathtubCsv, &f.eyeDensityCsv, &f.eyeContourCsv}) {
        std::filesystem::remove(*p, ec);
        std::filesystem::remove(*p + ".part", ec);
    }
    const std::size_t spb = static_cast<std::size_t>(plan.samplesPerBit);
    f.waveSamples = std::min(plan.bits * spb, plan.waveBits * spb);
    return f.waves.Open(f.wavesCsv, f.waveSamples, plan.sampleInterval, error);
}

bool WriteTextFile(const std::string& path, const std::string& text, std::string& error) {
    const std::string part = path + ".part";
    std::ofstream f(part, std::ios::binary);
    f << text;
    f.close();
    std::error_code ec;
    if (f) std::filesystem::rename(part, path, ec);
    if (!f || ec) {
        std::filesystem::remove(part, ec);
        error = "cannot write " + path;
        return false;
    }
    return true;
}

}  // namespace amisim
