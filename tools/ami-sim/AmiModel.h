// AmiModel: one IBIS-AMI model library loaded with dlopen and driven through
// its three entry points the way a channel simulator drives it:
// AMI_Init once, AMI_GetWave block by block, AMI_Close at the end.
//
// Failures come back as false plus a sentence in `error` that names the
// library; the model's own message text (AMI_Init's msg) is kept verbatim.
// The destructor closes an initialised instance and unloads the library.
#pragma once

#include <string>
#include <vector>

namespace amisim {

class AmiModel {
public:
    using InitFn = long (*)(double*, long, long, double, double, char*, char**, void**, char**);
    using GetWaveFn = long (*)(double*, long, double*, char**, void*);
    using CloseFn = long (*)(void*);

    AmiModel() = default;
    ~AmiModel();
    AmiModel(const AmiModel&) = delete;
    AmiModel& operator=(const AmiModel&) = delete;

    // Loads the library and resolves AMI_Init, AMI_GetWave and AMI_Close.
    // A path without '/' is taken relative to the current directory, not
    // looked up on the library search path.
    bool Load(const std::string& path, std::string& error);

    // Calls AMI_Init with a private copy of the impulse response (rows
    // samples, no aggressors), so a model that rewrites it cannot touch the
    // caller's data. On a 0 result the instance is still closed later, as
    // the interface requires.
    bool Init(const std::vector<double>& impulse, double sampleInterval, double bitTime,
              const std::string& parameters, std::string& error);

    // Filters `wave` in place in one call.
    bool GetWave(double* wave, long size, std::string& error);
    // Appends the clock times the last GetWave returned (seconds from the
    // start of the run), up to the -1 that ends them.
    void AppendClockTimes(std::vector<double>& out) const;

    // AMI_Close; false when it reports a failure.
    bool Close(std::string& error);

    const std::string& Path() const { return path_; }
    const std::string& InitMessage() const { return initMessage_; }
    const std::string& ParametersOut() const { return parametersOut_; }
    bool IsLoaded() const { return handle_ != nullptr; }

    // "corvin_rx1" for ".../corvin_rx1_x64.so": the file name without its
    // directory, extension and a trailing _x64/_x86/_64/_32 word size.
    static std::string RootName(const std::string& path);

private:
    void Unload();

    std::string path_;
    void* handle_ = nullptr;
    InitFn init_ = nullptr;
    GetWaveFn getWave_ = nullptr;
    CloseFn close_ = nullptr;
    void* memory_ = nullptr;
    bool initCalled_ = false;
    std::string initMessage_;
    std::string parametersOut_;
    std::vector<double> clockTimes_;
};

}  // namespace amisim
