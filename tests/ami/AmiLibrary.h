// Loads a built model library with dlopen, exactly as a simulator does,
// and offers its three entry points.
#pragma once

#include <dlfcn.h>

#include <string>

struct AmiLibrary {
    using InitFn = long (*)(double*, long, long, double, double, char*, char**, void**, char**);
    using GetWaveFn = long (*)(double*, long, double*, char**, void*);
    using CloseFn = long (*)(void*);

    void* handle = nullptr;
    InitFn Init = nullptr;
    GetWaveFn GetWave = nullptr;
    CloseFn Close = nullptr;

    explicit AmiLibrary(const std::string& path)
    {
        handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (handle == nullptr) return;
        Init = reinterpret_cast<InitFn>(dlsym(handle, "AMI_Init"));
        GetWave = reinterpret_cast<GetWaveFn>(dlsym(handle, "AMI_GetWave"));
        Close = reinterpret_cast<CloseFn>(dlsym(handle, "AMI_Close"));
    }
    ~AmiLibrary()
    {
        if (handle != nullptr) dlclose(handle);
    }
    AmiLibrary(const AmiLibrary&) = delete;
    AmiLibrary& operator=(const AmiLibrary&) = delete;

    bool Loaded() const { return Init != nullptr && GetWave != nullptr && Close != nullptr; }
};
