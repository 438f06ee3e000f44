// The three exported IBIS-AMI entry points. This file is compiled once per
// model library; CORVIN_AMI_NETWORK names the network class and
// CORVIN_AMI_NETWORK_HEADER its header.
//
// The simulator owns the instance between AMI_Init and AMI_Close. Nothing
// thrown may leave these functions: each catches everything, records it in
// the instance's message where there is an instance, and returns 0.
//
// AMI_GetWave runs the network over the simulator's waveform in place: the
// network's outputs do not depend on where its spans (or the simulator's
// calls) begin and end, only on the samples.
//
// CORVIN_AMI_KERNEL_ISA, when defined (a KernelIsa name such as Sse2), pins
// the network's span kernels to that instruction set. Only the test builds
// of the libraries define it, to run the path a processor without AVX2
// takes on one that has it; the shipped libraries choose at run time.
#include <cmath>
#include <new>
#include <string>

#include "ami/AmiModelInstance.h"
#include "ami/AmiOperatingRange.h"
#include "amiparam/AmiParameterReader.h"
#include "dataflow/FormatNumber.h"
#include CORVIN_AMI_NETWORK_HEADER

#define CORVIN_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

using Network = CORVIN_AMI_NETWORK;
using Instance = AmiModelInstance<Network>;

// Texts that must stay valid without an instance to hold them.
const char kNoMemoryText[] = "The IBIS-AMI model could not allocate its instance. ";
const char kNoHandleText[] = "AMI_Init was called without an AMI_memory_handle. ";

std::string LookupFailedText() {
    return std::string("The IBIS-AMI model, ") + Network::ModelName +
           ", is unable to initialize the parameter " + Network::SettingName +
           " from the AMI_Init arguments.  The model will use the default setting. ";
}

// Filters are designed on the samples-per-bit grid, so their length grows
// with it; beyond this many samples per bit the filters alone would need
// gigabytes and hours of design time in the host's process.
constexpr double kMaxSamplesPerBit = 65536.0;

// Samples per bit, rounded to nearest. A bit time or sample interval that
// is not a positive finite number, or a quotient beyond kMaxSamplesPerBit,
// gives 0, which the network's Setup then refuses; the reason goes into
// the message so the user sees which argument was wrong.
std::int32_t SamplesPerBit(Instance& inst, double bitTime, double sampleInterval) {
    const double q = bitTime / sampleInterval + 0.5;
    if (!(bitTime > 0.0) || !(sampleInterval > 0.0) || !std::isfinite(q)) {
        inst.Append(std::string("The IBIS-AMI model, ") + Network::ModelName +
                    ", received an invalid bit_time (" + Vantra::FormatNumber(bitTime) +
                    " s) or sample_interval (" + Vantra::FormatNumber(sampleInterval) + " s). ");
        return 0;
    }
    if (q >= kMaxSamplesPerBit + 1.0) {
        inst.Append(std::string("The IBIS-AMI model, ") + Network::ModelName +
                    ", received a bit_time (" + Vantra::FormatNumber(bitTime) +
                    " s) and sample_interval (" + Vantra::FormatNumber(sampleInterval) +
                    " s) giving more than 65536 samples per bit. ");
        return 0;
    }
    if (q < 1.0)
        inst.Append(std::string("The IBIS-AMI model, ") + Network::ModelName +
                    ", received a bit_time (" + Vantra::FormatNumber(bitTime) +
                    " s) shorter than half its sample_interval (" +
                    Vantra::FormatNumber(sampleInterval) + " s): less than one sample per bit. ");
    return static_cast<std::int32_t>(q);
}

// The settings are whole numbers; parts of a network round a fraction and
// others truncate it, so one is said to the user rather than silently used.
std::string FractionText(double setting) {
    if (!std::isfinite(setting) || setting == std::floor(setting)) return "";
    return std::string("The IBIS-AMI model, ") + Network::ModelName + ", takes whole numbers for " +
           Network::SettingName + ", not " + Vantra::FormatNumber(setting) +
           "; the model rounds or truncates it. ";
}

long SetUp(Instance& inst) {
    if (!inst.model.Setup()) {
        inst.AppendPhaseError("Setup");
        return 0;
    }
    if (!inst.model.Initialize()) {
        inst.AppendPhaseError("Initialize");
        return 0;
    }
    inst.ready = true;
    return 1;
}

long Init(double bitTime, double sampleInterval, const char* parameters, Instance& inst) {
    if (parameters == nullptr) parameters = "";
    {
        AmiParameterReader reader(parameters);
        inst.model.BitTime = bitTime;
        inst.bitSamples = SamplesPerBit(inst, bitTime, sampleInterval);
        inst.model.SamplesPerBit = static_cast<double>(inst.bitSamples);
        const std::string path = std::string(Network::ModelName) + "." + Network::SettingName;
        if (!reader.GetDouble(inst.model.Setting(), path.c_str()))
            inst.Append(LookupFailedText());
        else
            inst.Append(FractionText(inst.model.Setting()));
    }
#ifdef CORVIN_AMI_KERNEL_ISA
    inst.model.Isa = Vantra::KernelIsa::CORVIN_AMI_KERNEL_ISA;
#endif
    const long result = SetUp(inst);
    // After the phases' own texts, so those stay first as simulators expect.
    if (inst.bitSamples > 0)
        inst.Append(ami_range::OutsideMessage(Network::ModelName, bitTime, sampleInterval,
                                              inst.bitSamples));
    return result;
}

// The waveform through the network, in place. A failed firing ends the
// call: the samples before it are filtered, it and the later ones keep the
// simulator's values.
long FilterWave(Instance& inst, double* wave, std::size_t size) {
    std::size_t good = 0;
    {
        Instance::WaveView view(inst.model, wave, size);
        good = inst.model.RunSpan(size);
    }
    if (good < size) {
        inst.AppendPhaseError("Run");
        return 0;
    }
    return 1;
}

}  // namespace

CORVIN_EXPORT long AMI_Init(double* /*impulse_matrix*/, long /*row_size*/, long /*aggressors*/,
                            double sample_interval, double bit_time, char* AMI_parameters_in,
                            char** /*AMI_parameters_out*/, void** AMI_memory_handle, char** msg) {
    Instance* inst = nullptr;
    try {
        inst = new Instance();
    } catch (...) {
        if (AMI_memory_handle != nullptr) *AMI_memory_handle = nullptr;
        if (msg != nullptr) *msg = const_cast<char*>(kNoMemoryText);
        return 0;
    }
    if (AMI_memory_handle == nullptr) {
        // Nobody could ever close the instance: do not create one.
        delete inst;
        if (msg != nullptr) *msg = const_cast<char*>(kNoHandleText);
        return 0;
    }

    long result = 0;
    try {
        result = Init(bit_time, sample_interval, AMI_parameters_in, *inst);
    } catch (const std::bad_alloc&) {
        inst->ready = false;
        inst->Append(std::string("Error occurred in ") + Network::ModelName +
                     "::AMI_Init(): out of memory. ");
        result = 0;
    } catch (...) {
        inst->ready = false;
        inst->Append(std::string("Error occurred in ") + Network::ModelName + "::AMI_Init(). ");
        result = 0;
    }
    *AMI_memory_handle = inst;
    if (msg != nullptr && !inst->message.empty()) *msg = inst->message.data();
    return result;
}

CORVIN_EXPORT long AMI_GetWave(double* wave, long wave_size, double* clock_times,
                               char** /*AMI_parameters_out*/, void* AMI_memory) {
    if (clock_times != nullptr) clock_times[0] = -1.0;
    if (AMI_memory == nullptr) return 0;
    Instance& inst = *static_cast<Instance*>(AMI_memory);
    try {
        if (wave_size < 0 || (wave == nullptr && wave_size > 0)) {
            inst.Append(std::string("Error occurred in ") + Network::ModelName +
                        "::AMI_GetWave(): invalid wave or wave_size. ");
            return 0;
        }
        inst.clockTimes.resize(static_cast<std::size_t>(wave_size) + 1);
        long result = 1;
        if (!inst.ready) {
            // Init failed: the network has no valid configuration, so the
            // waveform stays as the simulator gave it.
            inst.AppendPhaseError("Run");
            result = 0;
        } else {
            result = FilterWave(inst, wave, static_cast<std::size_t>(wave_size));
        }
        inst.clockTimes[0] = -1.0;
        return result;
    } catch (...) {
        inst.Append(std::string("Error occurred in ") + Network::ModelName + "::AMI_GetWave(). ");
        return 0;
    }
}

CORVIN_EXPORT long AMI_Close(void* AMI_memory) {
    if (AMI_memory == nullptr) return 0;
    Instance* inst = static_cast<Instance*>(AMI_memory);
    long result = 1;
    try {
        if (!inst->model.Finalize()) {
            inst->AppendPhaseError("Finalize");
            result = 0;
        }
    } catch (...) {
        result = 0;
    }
    delete inst;
    return result;
}
