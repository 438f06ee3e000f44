// WaveCsv: waves.csv, the first stretch of the run's waveforms at each point
// of the link (stimulus, transmitter output, receiver input, receiver
// output), written as they stream past. The file is written under a
// ".part" name and takes its own name only when closed complete; a run
// that stops before removes it.
#pragma once

#include <cstddef>
#include <cstdio>
#include <memory>
#include <string>

namespace amisim {

class WaveCsv {
public:
    // Writes the header; `samples` of 0 writes nothing at all.
    bool Open(const std::string& path, std::size_t samples, double dt, std::string& error);
    // Samples first .. first + n - 1 of each waveform, up to the limit.
    void Write(std::size_t first, std::size_t n, const double* stim, const double* tx,
               const double* rxIn, const double* rxOut);
    bool Close();
    bool IsOpen() const { return file_ != nullptr; }
    ~WaveCsv();

private:
    struct Closer {
        void operator()(std::FILE* f) const { std::fclose(f); }
    };
    std::unique_ptr<std::FILE, Closer> file_;
    std::string path_;
    std::size_t limit_ = 0;
    double dt_ = 0.0;
};

}  // namespace amisim
