#include "tools/ami-sim/AmiModel.h"

#include <dlfcn.h>

#include <cstring>

namespace amisim {

namespace {

// Texts handed back by a model are read up to a terminating zero, but never
// further than this, so a model that forgets the terminator costs a
// truncated message rather than a crash far away.
constexpr std::size_t kMaxModelText = 1 << 20;

std::string ModelText(const char* text) {
    if (text == nullptr) return std::string();
    return std::string(text, strnlen(text, kMaxModelText));
}

}  // namespace

AmiModel::~AmiModel() {
    std::string ignored;
    Close(ignored);
    Unload();
}

std::string AmiModel::RootName(const std::string& path) {
    std::string name =
        path.substr(path.find_last_of('/') == std::string::npos ? 0 : path.find_last_of('/') + 1);
    const std::size_t dot = name.find('.');
    if (dot != std::string::npos && dot > 0) name.erase(dot);
    if (name.size() > 3 && name.compare(0, 3, "lib") == 0) name.erase(0, 3);
    for (const char* suffix : {"_x64", "_x86", "_64", "_32"}) {
        const std::size_t n = std::strlen(suffix);
        if (name.size() > n && name.compare(name.size() - n, n, suffix) == 0) {
            name.erase(name.size() - n);
            break;
        }
    }
    return name;
}

bool AmiModel::Load(const std::string& path, std::string& error) {
    std::string ignored;
    Close(ignored);
    Unload();
    path_ = path;
    const std::string openPath = path.find('/') == std::string::npos ? "./" + path : path;
    dlerror();
    handle_ = dlopen(openPath.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle_ == nullptr) {
        const char* why = dlerror();
        error = "cannot load AMI library " + path + ": " + (why ? why : "unknown reason");
        return false;
    }
    struct Entry {
        const char* name;
        void** slot;
    };
    void* symbols[3] = {nullptr, nullptr, nullptr};
    const Entry entries[] = {
        {"AMI_Init", &symbols[0]}, {"AMI_GetWave", &symbols[1]}, {"AMI_Close", &symbols[2]}};
    std::string missing;
    for (const Entry& e : entries) {
        dlerror();
        *e.slot = dlsym(handle_, e.name);
        if (*e.slot == nullptr) missing += std::string(missing.empty() ? "" : ", ") + e.name;
    }
    if (!missing.empty()) {
        error = "AMI library " + path + " does not export " + missing +
                (symbols[1] == nullptr ? " (a model without AMI_GetWave cannot run in the "
                                         "time domain)"
                                       : "");
        Unload();
        return false;
    }
    // POSIX guarantees that object and function pointers convert through
    // dlsym's void*.
    init_ = reinterpret_cast<InitFn>(symbols[0]);
    getWave_ = reinterpret_cast<GetWaveFn>(symbols[1]);
    close_ = reinterpret_cast<CloseFn>(symbols[2]);
    return true;
}

bool AmiModel::Init(const std::vector<double>& impulse, double sampleInterval, double bitTime,
                    const std::string& parameters, std::string& error) {
    if (handle_ == nullptr || initCalled_) {
        error = "AMI_Init called on a model that is not loaded or already initialised";
        return false;
    }
    std::vector<double> matrix = impulse;
    if (matrix.empty()) matrix.push_back(0.0);
    std::vector<char> params(parameters.begin(), parameters.end());
    params.push_back('\0');
    char* paramsOut = nullptr;
    char* msg = nullptr;
    void* memory = nullptr;
    const long ok = init_(matrix.data(), static_cast<long>(matrix.size()), 0, sampleInterval,
                          bitTime, params.data(), &paramsOut, &memory, &msg);
    initCalled_ = true;
    memory_ = memory;
    initMessage_ = ModelText(msg);
    parametersOut_ = ModelText(paramsOut);
    if (ok == 0) {
        error = "AMI_Init of " + path_ + " failed" +
                (initMessage_.empty() ? std::string(" (no message)") : ": " + initMessage_);
        return false;
    }
    return true;
}

bool AmiModel::GetWave(double* wave, long size, std::string& error) {
    if (!initCalled_) {
        error = "AMI_GetWave called before AMI_Init";
        return false;
    }
    // The interface leaves the clock_times length to the model's needs; a
    // time-domain model reports at most one clock per sample, plus the -1
    // that ends the list.
    const std::size_t want = static_cast<std::size_t>(size) + 2;
    clockTimes_.assign(want, -1.0);
    char* paramsOut = nullptr;
    const long ok = getWave_(wave, size, clockTimes_.data(), &paramsOut, memory_);
    if (paramsOut != nullptr) parametersOut_ = ModelText(paramsOut);
    if (ok == 0) {
        error = "AMI_GetWave of " + path_ + " failed";
        return false;
    }
    return true;
}

void AmiModel::AppendClockTimes(std::vector<double>& out) const {
    // The list ends at -1; a time can be no earlier than half a unit
    // interval before the run, so anything at or below -1 s (or not a
    // number) ends it too. Never read past the buffer handed out.
    for (const double t : clockTimes_) {
        if (!(t > -1.0)) break;
        out.push_back(t);
    }
}

bool AmiModel::Close(std::string& error) {
    if (!initCalled_) return true;
    initCalled_ = false;
    const long ok = close_(memory_);
    memory_ = nullptr;
    if (ok == 0) {
        error = "AMI_Close of " + path_ + " reported a failure";
        return false;
    }
    return true;
}

void AmiModel::Unload() {
    if (handle_ != nullptr) dlclose(handle_);
    handle_ = nullptr;
    init_ = nullptr;
    getWave_ = nullptr;
    close_ = nullptr;
}

}  // namespace amisim
