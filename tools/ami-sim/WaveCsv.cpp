#include "tools/ami-sim/WaveCsv.h"

namespace amisim {

bool WaveCsv::Open(const std::string& path, std::size_t samples, double dt, std::string& error) {
    limit_ = samples;
    dt_ = dt;
    if (samples == 0) return true;
    path_ = path;
    file_.reset(std::fopen((path + ".part").c_str(), "w"));
    if (!file_) {
        error = "cannot write " + path;
        return false;
    }
    std::fputs("time_s,stimulus_V,tx_out_V,rx_in_V,rx_out_V\n", file_.get());
    return true;
}

void WaveCsv::Write(std::size_t first, std::size_t n, const double* stim, const double* tx,
                    const double* rxIn, const double* rxOut) {
    if (!file_) return;
    for (std::size_t i = 0; i < n && first + i < limit_; ++i)
        std::fprintf(file_.get(), "%.9e,%.9g,%.9g,%.9g,%.9g\n",
                     static_cast<double>(first + i) * dt_, stim[i], tx[i], rxIn[i], rxOut[i]);
}

bool WaveCsv::Close() {
    if (!file_) return true;
    const bool ok = std::ferror(file_.get()) == 0;
    if (std::fclose(file_.release()) != 0 || !ok) return false;
    return std::rename((path_ + ".part").c_str(), path_.c_str()) == 0;
}

WaveCsv::~WaveCsv() {
    if (!file_) return;
    file_.reset();
    std::remove((path_ + ".part").c_str());
}

}  // namespace amisim
