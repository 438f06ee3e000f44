#include "tools/ami-sim/Options.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <limits>
#include <map>

#include "tools/ami-sim/Prbs.h"
#include "tools/ami-sim/Quantity.h"
#include "tools/ami-sim/ThroughResponse.h"

namespace amisim {

namespace {

bool ParseReal(const std::string& text, double& out) {
    if (text.empty()) return false;
    char* end = nullptr;
    errno = 0;
    const double v = std::strtod(text.c_str(), &end);
    if (end != text.c_str() + text.size() || errno == ERANGE || !std::isfinite(v)) return false;
    out = v;
    return true;
}

// Whole numbers may be written as 100000 or 1e5.
bool ParseWhole(const std::string& text, double low, double high, long long& out) {
    double v = 0.0;
    if (!ParseReal(text, v) || v != std::floor(v) || v < low || v > high) return false;
    out = static_cast<long long>(v);
    return true;
}

std::string Range(double low, double high) {
    char buf[96];
    std::snprintf(buf, sizeof buf, "%.15g to %.15g", low, high);
    return buf;
}

}  // namespace

std::string HelpText() {
    return R"(Usage: ami-sim [options]

Runs a serial link the way an IBIS-AMI channel simulator does in the time
domain: a PRBS stimulus, the transmitter model's AMI_GetWave, a channel, the
receiver model's AMI_GetWave, a sampler with clock recovery. Folds the
receiver output into a 2-UI eye on the recovered clock, reports eye height
and width at the sampling instant and at BER 1e-12, and writes eye.svg,
bathtub.svg, bathtub.csv, eye_density.csv, eye_contour.csv, waves.csv and
summary.json.

Models (either may be left out: the signal then passes unchanged):
  --tx LIB              transmitter AMI library (.so), loaded with dlopen
  --rx LIB              receiver AMI library
  --tx-params STRING    AMI_Init parameter string of the transmitter, e.g.
                        '(corvin_tx1 (de_code 3))'
  --rx-params STRING    the same for the receiver, e.g. '(corvin_rx1 (eq 2))'
  --tx-ami FILE         .ami file whose Model_Specific In/InOut defaults make
                        the transmitter's parameter string when --tx-params
                        is not given, and whose reserved jitter parameters
                        apply where the options below give none
  --rx-ami FILE         the same for the receiver
                        Without either option, NAME.ami beside the library
                        is used if it exists (NAME: the library file name
                        without extension and _x64/_32 suffix), else '(NAME)'.
                        A parameter string or --set value is checked against
                        the .ami file when there is one

Model kit (instead of --tx and --rx):
  --ibs FILE.ibs        the kit's IBIS file, checked with the IBIS checker
                        (a file that fails is refused with its messages).
                        Each end's library is the Executable line of its
                        model for this platform (Linux, 64-bit), its
                        parameters the .ami file's defaults changed by
                        --set. Only files beside the .ibs file (or in
                        folders below it) are loaded; each is named
  --component NAME      the component of both ends (default: the only one)
  --tx-component NAME   the transmitter's component; --rx-component likewise
  --tx-pin PIN          the transmitter's pin, or either pin of its
                        differential pair (default: the only pin whose model
                        drives and has an [Algorithmic Model])
  --rx-pin PIN          the receiver's pin (default: the only receiving one)
  --tx-model NAME       the transmitter by its model's name, at the first pin
                        that uses it; --rx-model likewise
  --set NAME=VALUE      a model parameter's value, checked against its Type
                        and Format (Value, Range, List, Increment, Steps,
                        Corner) before any library is loaded. NAME: the
                        parameter's name (eq), its path in the .ami file
                        (group.x), either after the model's name
                        (corvin_rx1.eq) or after tx. or rx.
  --corner CORNER       typ (default), min or max: the column of the .ibs
                        file's analog data, and the value Corner parameters
                        default to
  --no-analog           leave the analog ends out: the bare through response
  --tx-resistance OHMS  the driver's output resistance, instead of the slope
                        of its [Pullup]/[Pulldown] tables at their operating
                        point
  --rx-resistance OHMS  the receiver's termination (a number, or open),
                        instead of the slope of its clamp tables
                        With a kit the channel is the driver (its resistance
                        and C_comp), the package (R, L, C of each pin, or of
                        [Package]), the channel, the package and the
                        receiver (its termination and C_comp), computed in
                        the frequency domain: a Touchstone file as its full
                        network, reflections included; the built-in line and
                        CSV responses as a matched 50 ohm line

Sweeps:
  --sweep NAME=VALUES   run every combination of the swept parameters' values
                        (repeat the option for more parameters): VALUES is a
                        list (0,1,2), a range of whole numbers (0..6) or a
                        range with a step (0..1:0.25). Each point's files go
                        to DIR/points/NAME=VALUE_...; DIR/sweep.csv,
                        sweep.json and, for two swept parameters,
                        heatmap.svg give eye height, width and width at BER
                        1e-12 per point, and the best point (widest at BER
                        1e-12, then highest). A point already finished with
                        the same settings is kept: after a stop, the same
                        command runs only the rest
  --jobs N              points run at once, 1 to 64 (default 1); a point's
                        result is the same as its run alone

Timing and stimulus:
  --bit-time SECONDS    unit interval (default 1.666666666666667e-10)
  --samples-per-bit N   samples per UI, 2 to 1024 (default 32; below 8 eye
                        widths are quantised and a warning says so)
  --bits N              bits to simulate (default 20000; 1e5 is accepted)
  --pattern NAME        prbs7, prbs15 or prbs31 (default prbs15)
  --seed N              initial PRBS register, non-zero (default all ones);
                        also seeds the jitter and noise draws
  --amplitude VOLTS     stimulus levels +/- this (default 0.5)
  --block-size N        samples per AMI_GetWave call, up to 1048576
                        (default 4096)

Jitter and noise (times as 2ps, 0.01UI, 1e-12; voltages as 5mV; frequencies
as 10MHz). Each defaults to the model's .ami reserved parameter (Tx_Rj,
Tx_Dj, Tx_DCD, Tx_Sj, Tx_Sj_Frequency, Tx_Jitter; Rx_Noise,
Rx_GaussianNoise, Rx_Rj, Rx_Dj, Rx_DCD, Rx_Sj, Rx_Clock_Recovery_Rj/Dj/
DCD/Sj, Rx_Clock_PDF, Rx_Receiver_Sensitivity; IBIS gives Dj and DCD as
half their peak-to-peak value), else to 0; summary.json says where each
came from.
  --rj TIME             transmitter random jitter, rms (at most 0.25 UI)
  --dj TIME             transmitter deterministic jitter, dual-Dirac peak
                        to peak: each edge early or late by half of it
  --dcd TIME            transmitter duty-cycle distortion, peak to peak:
                        rising edges late and falling edges early by half
  --sj TIME             transmitter sinusoidal jitter, amplitude (at most
                        1 UI)
  --sj-freq FREQUENCY   its frequency
  --rx-noise VOLTAGE    receiver input-referred noise at the sampler, rms
  --rx-rj TIME          receiver sampling clock random jitter, rms
  --rx-dj TIME          its dual-Dirac jitter, peak to peak
  --rx-dcd TIME         its duty-cycle distortion, peak to peak (alternate
                        bits early and late by half)
  --rx-sj TIME          its sinusoidal jitter, amplitude
  --rx-sensitivity VOLTAGE
                        a sample nearer the threshold than this is an error

Clock recovery (where each bit is sampled):
  --clock METHOD        auto (default): the receiver's clock_times when it
                        returns them, else bang-bang;
                        bang-bang: an early-late loop on the data and the
                        edge half a UI later;
                        mueller-muller: a Mueller-Muller timing loop;
                        centre: a fixed phase at the centre of the widest
                        opening of the first stretch of the eye;
                        clock-times: the receiver's clock_times (plus half
                        a UI, as the interface defines them)
  --cdr-gain UI         the loop's phase step per decision (bang-bang,
                        default 1/512) or its gain per unit timing error
                        (Mueller-Muller, default 1/128)
  --cdr-integral UI     the loop's frequency path gain (default 0)

Channel (one of):
  --channel-loss DB     built-in lossy line: insertion loss in dB at the
                        Nyquist frequency 1/(2 UI), 0 to 100 (default 10)
  --channel-impulse CSV impulse response, two columns: time (s), value (1/s)
  --channel-step CSV    step response, two columns: time (s), value
                        (CSV: comma, semicolon, tab or blank separated; one
                        header line and '#' comment lines allowed)
  --channel FILE.sNp    measured or extracted S-parameters (Touchstone 1.x,
                        or 2.0 with [Version] 2.0): the through response,
                        turned into an impulse response with its delay. The
                        file is checked: passivity, reciprocity, causality,
                        data below the simulation's Nyquist frequency, the
                        DC extrapolation, the --ports order; findings are
                        warnings, also in summary.json
  --ports LIST          which ports of the file are the channel:
                          in,out            single-ended, S(out,in)
                          in+,in-,out+,out- differential pair, SDD21
                        Common 4-port numberings:
                          1,2,3,4  ports 1,2 at one end, 3,4 at the other
                                   (through paths 1->3 and 2->4)
                          1,3,2,4  through paths 1->2 and 3->4 (odd ports
                                   at one end, as many analysers number)
                        Default: S21 of a 2-port file; for a 4-port file
                        whichever of these two carries more signal at the
                        lowest frequency (the choice is reported)

Eye and output:
  --ignore-bits N       settling bits left out of the eye (default: the
                        channel length in bits plus 32, at most a quarter
                        of the run)
  --wave-bits N         bits of waveform written to waves.csv (default 1000;
                        0 for none)
  --out DIR             output directory (default ami-sim-out)
  --quiet               print only errors
  -h, --help            this text

Eye metrics: the eye is folded on the recovered clock, the sampling instant
in the middle of the plot, and labelled with the transmitted bits. Eye
height is the gap between the lowest '1' and the highest '0' at the
sampling instant; the threshold lies in its middle; eye width is the span of
phases around the sampling instant over which all '1's stay above and all
'0's below the threshold.

BER (bathtub.svg, width and height at 1e-12): at each phase, the folded
samples' histograms are compared with the threshold through the receiver's
Gaussian noise, then spread over the sampling clock's jitter (Gaussian Rj of
transmitter and receiver, dual-Dirac Dj and DCD, arcsine Sj). Without noise
and jitter this is the counted share of samples on the wrong side, and the
width at 1e-12 is the measured width; below one error in the bits folded
the curve is the distributions' extrapolation (drawn dashed). The
sampler's own decisions, with noise and jitter drawn from --seed, are
counted and reported beside the ratio the method gives there.

Exit status: 0 success, 1 the run failed (a file that cannot be read or
fails its check, a library that does not load, a model or output error), 2
bad command line (also a pin, model or parameter value the kit refuses).
)";
}

namespace {

using Handler = std::function<bool(const std::string&)>;
using HandlerTable = std::map<std::string, Handler>;

// Handlers that store a checked value into a field, or say what is wrong.
Handler Whole(const char* name, double low, double high, long long& field, std::string& error) {
    return [&field, &error, name, low, high](const std::string& v) {
        if (!ParseWhole(v, low, high, field)) {
            error = std::string(name) + " expects a whole number from " + Range(low, high) +
                    ", not '" + v + "'";
            return false;
        }
        return true;
    };
}

template <typename T>
Handler WholeInto(const char* name, double low, double high, T& field, std::string& error) {
    return [&field, &error, name, low, high](const std::string& v) {
        long long n = 0;
        if (!Whole(name, low, high, n, error)(v)) return false;
        field = static_cast<T>(n);
        return true;
    };
}

// A number above low (from low on, with lowIncluded) and at most high.
Handler Real(const char* name, double low, double high, double& field, const char* expectation,
             std::string& error, bool lowIncluded = false) {
    return [&field, &error, name, low, high, expectation, lowIncluded](const std::string& v) {
        double x = 0.0;
        if (!ParseReal(v, x) || !(x > low || (lowIncluded && x == low)) || x > high) {
            error = std::string(name) + " expects " + expectation + ", not '" + v + "'";
            return false;
        }
        field = x;
        return true;
    };
}

Handler RealFrom(const char* name, double low, double high, double& field, const char* expectation,
                 std::string& error) {
    return Real(name, low, high, field, expectation, error, true);
}

Handler Text(const char* name, std::string& field, std::string& error) {
    return [&field, &error, name](const std::string& v) {
        if (v.empty()) {
            error = std::string(name) + " expects a non-empty value";
            return false;
        }
        field = v;
        return true;
    };
}

void AddModelOptions(HandlerTable& t, Options& o, std::string& error) {
    t["--tx"] = Text("--tx", o.txLibrary, error);
    t["--rx"] = Text("--rx", o.rxLibrary, error);
    t["--tx-params"] = Text("--tx-params", o.txParameters, error);
    t["--rx-params"] = Text("--rx-params", o.rxParameters, error);
    t["--tx-ami"] = Text("--tx-ami", o.txAmiFile, error);
    t["--rx-ami"] = Text("--rx-ami", o.rxAmiFile, error);
}

void AddKitOptions(HandlerTable& t, Options& o, std::string& error) {
    t["--ibs"] = Text("--ibs", o.ibsFile, error);
    t["--component"] = Text("--component", o.component, error);
    t["--tx-component"] = Text("--tx-component", o.txComponent, error);
    t["--rx-component"] = Text("--rx-component", o.rxComponent, error);
    t["--tx-pin"] = Text("--tx-pin", o.txPin, error);
    t["--rx-pin"] = Text("--rx-pin", o.rxPin, error);
    t["--tx-model"] = Text("--tx-model", o.txModel, error);
    t["--rx-model"] = Text("--rx-model", o.rxModel, error);
    t["--set"] = [&o, &error](const std::string& v) {
        const std::size_t eq = v.find('=');
        if (eq == std::string::npos || eq == 0) {
            error = "--set expects NAME=VALUE, not '" + v + "'";
            return false;
        }
        o.settings.push_back(v);
        return true;
    };
    t["--sweep"] = [&o, &error](const std::string& v) {
        const std::size_t eq = v.find('=');
        if (eq == std::string::npos || eq == 0 || eq + 1 == v.size()) {
            error =
                "--sweep expects NAME=VALUES, such as eq=0,1,2 or de_code=0..6, not '" + v + "'";
            return false;
        }
        o.sweeps.push_back(v);
        return true;
    };
    t["--jobs"] = WholeInto("--jobs", 1, 64, o.jobs, error);
    t["--corner"] = [&o, &error](const std::string& v) {
        const std::pair<const char*, Corner> names[] = {
            {"typ", Corner::Typical}, {"min", Corner::Min}, {"max", Corner::Max}};
        for (const auto& n : names)
            if (v == n.first) {
                o.corner = n.second;
                return true;
            }
        error = "--corner expects typ, min or max, not '" + v + "'";
        return false;
    };
    t["--tx-resistance"] =
        RealFrom("--tx-resistance", 0.0, 1e6, o.txResistance, "ohms from 0 to 1e6", error);
    t["--rx-resistance"] = [&o, &error](const std::string& v) {
        if (v == "open") {
            o.rxResistance = std::numeric_limits<double>::infinity();
            return true;
        }
        return RealFrom("--rx-resistance", 0.0, 1e9, o.rxResistance, "ohms from 0 to 1e9 or open",
                        error)(v);
    };
}

void AddTimingOptions(HandlerTable& t, Options& o, std::string& error) {
    t["--bit-time"] =
        Real("--bit-time", 0.0, 1.0, o.bitTime, "a time in seconds above 0 and at most 1", error);
    t["--samples-per-bit"] = WholeInto("--samples-per-bit", 2, 1024, o.samplesPerBit, error);
    t["--bits"] = WholeInto("--bits", 1, 2147483647.0, o.bits, error);
    t["--seed"] = WholeInto("--seed", 1, 4294967295.0, o.seed, error);
    t["--amplitude"] =
        Real("--amplitude", 0.0, 1e6, o.amplitude, "a level in volts above 0", error);
    t["--block-size"] = WholeInto("--block-size", 1, 1048576.0, o.blockSize, error);
    t["--pattern"] = [&o, &error](const std::string& v) {
        const int order = Prbs::OrderFromName(v);
        if (order == 0) {
            error = "--pattern expects prbs7, prbs15 or prbs31, not '" + v + "'";
            return false;
        }
        o.prbsOrder = order;
        return true;
    };
}

void AddChannelOptions(HandlerTable& t, Options& o, std::string& error) {
    t["--channel-loss"] = [&o, &error](const std::string& v) {
        if (!RealFrom("--channel-loss", 0.0, 100.0, o.lossDb, "a loss in dB from 0 to 100",
                      error)(v))
            return false;
        o.channel = ChannelSource::LossyLine;
        return true;
    };
    const std::pair<const char*, ChannelSource> files[] = {
        {"--channel-impulse", ChannelSource::ImpulseFile},
        {"--channel-step", ChannelSource::StepFile},
        {"--channel", ChannelSource::Touchstone}};
    for (const auto& f : files) {
        const Handler text = Text(f.first, o.channelFile, error);
        const ChannelSource source = f.second;
        t[f.first] = [&o, text, source](const std::string& v) {
            o.channel = source;
            return text(v);
        };
    }
    t["--ports"] = [&o, &error](const std::string& v) { return ParsePortList(v, o.ports, error); };
}

// A non-negative quantity of the dimension; times may be in UI.
Handler Amount(const char* name, Dimension dimension, GivenValue& field, std::string& error) {
    return [&field, &error, name, dimension](const std::string& v) {
        Quantity q;
        if (!ParseQuantity(v, dimension, q) || q.value < 0.0) {
            error =
                std::string(name) + " expects " + QuantityExample(dimension) + ", not '" + v + "'";
            return false;
        }
        field = GivenValue{q.value, q.inUi, true};
        return true;
    };
}

void AddImpairmentOptions(HandlerTable& t, Options& o, std::string& error) {
    const struct {
        const char* name;
        Dimension dimension;
        GivenValue& field;
    } amounts[] = {
        {"--rj", Dimension::Time, o.txRj},
        {"--dj", Dimension::Time, o.txDj},
        {"--dcd", Dimension::Time, o.txDcd},
        {"--sj", Dimension::Time, o.txSj},
        {"--sj-freq", Dimension::Frequency, o.txSjFrequency},
        {"--rx-noise", Dimension::Voltage, o.rxNoise},
        {"--rx-rj", Dimension::Time, o.rxRj},
        {"--rx-dj", Dimension::Time, o.rxDj},
        {"--rx-dcd", Dimension::Time, o.rxDcd},
        {"--rx-sj", Dimension::Time, o.rxSj},
        {"--rx-sensitivity", Dimension::Voltage, o.rxSensitivity},
    };
    for (const auto& a : amounts) t[a.name] = Amount(a.name, a.dimension, a.field, error);
}

void AddClockOptions(HandlerTable& t, Options& o, std::string& error) {
    t["--clock"] = [&o, &error](const std::string& v) {
        const std::pair<const char*, ClockChoice> names[] = {
            {"auto", ClockChoice::Auto},
            {"bang-bang", ClockChoice::BangBang},
            {"mueller-muller", ClockChoice::MuellerMuller},
            {"centre", ClockChoice::Centre},
            {"center", ClockChoice::Centre},
            {"clock-times", ClockChoice::ClockTimes}};
        for (const auto& n : names)
            if (v == n.first) {
                o.clock = n.second;
                return true;
            }
        error = "--clock expects auto, bang-bang, mueller-muller, centre or clock-times, not '" +
                v + "'";
        return false;
    };
    t["--cdr-gain"] = Real("--cdr-gain", 0.0, 0.5, o.cdrGain,
                           "a phase step in UI above 0 and at most 0.5", error);
    t["--cdr-integral"] =
        RealFrom("--cdr-integral", 0.0, 0.1, o.cdrIntegral, "a gain in UI from 0 to 0.1", error);
}

void AddOutputOptions(HandlerTable& t, Options& o, std::string& error) {
    t["--ignore-bits"] = Whole("--ignore-bits", 0, 2147483647.0, o.ignoreBits, error);
    t["--wave-bits"] = Whole("--wave-bits", 0, 2147483647.0, o.waveBits, error);
    t["--out"] = Text("--out", o.outputDirectory, error);
}

// "--name=value" or "--name" with the value in the next argument.
bool SplitArgument(const std::vector<std::string>& args, std::size_t& i, std::string& name,
                   std::string& value, std::string& error) {
    const std::string& a = args[i];
    const std::size_t eq = a.find('=');
    if (a.compare(0, 2, "--") == 0 && eq != std::string::npos) {
        name = a.substr(0, eq);
        value = a.substr(eq + 1);
        return true;
    }
    name = a;
    if (i + 1 >= args.size()) {
        error = name + " needs a value";
        return false;
    }
    value = args[++i];
    return true;
}

// Jitter beyond these (in unit intervals, once the bit time is known) would
// move edges past their neighbours or sample another bit than the one
// meant.
bool CheckImpairmentLimits(const Options& o, std::string& error) {
    const struct {
        const char* name;
        const GivenValue& v;
        double limitUi;
    } limits[] = {{"--rj", o.txRj, 0.25},     {"--dj", o.txDj, 1.0},     {"--dcd", o.txDcd, 1.0},
                  {"--sj", o.txSj, 1.0},      {"--rx-rj", o.rxRj, 0.25}, {"--rx-dj", o.rxDj, 1.0},
                  {"--rx-dcd", o.rxDcd, 1.0}, {"--rx-sj", o.rxSj, 0.5}};
    for (const auto& l : limits) {
        const double ui = l.v.inUi ? l.v.value : l.v.value / o.bitTime;
        if (l.v.given && ui > l.limitUi) {
            char buf[96];
            std::snprintf(buf, sizeof buf, " may be at most %g UI (%g ps at this bit time)",
                          l.limitUi, l.limitUi * o.bitTime * 1e12);
            error = l.name + std::string(buf);
            return false;
        }
    }
    if (o.txSjFrequency.given && !(o.txSjFrequency.value > 0.0)) {
        error = "--sj-freq must be above 0 Hz";
        return false;
    }
    return true;
}

// A kit names its libraries and .ami files; the kit's own choices need one.
bool CheckKitCombination(const Options& o, std::string& error) {
    if (!o.ibsFile.empty()) {
        if (!o.txLibrary.empty() || !o.rxLibrary.empty() || !o.txAmiFile.empty() ||
            !o.rxAmiFile.empty()) {
            error =
                "--ibs names the kit's libraries and .ami files: give it without --tx, --rx, "
                "--tx-ami and --rx-ami";
            return false;
        }
        const struct {
            const std::string& pin;
            const std::string& model;
            const char* end;
        } ends[] = {{o.txPin, o.txModel, "tx"}, {o.rxPin, o.rxModel, "rx"}};
        for (const auto& e : ends)
            if (!e.pin.empty() && !e.model.empty()) {
                error = std::string("give --") + e.end + "-pin or --" + e.end + "-model, not both";
                return false;
            }
        return true;
    }
    const struct {
        bool given;
        const char* name;
    } kitOnly[] = {{!o.component.empty(), "--component"},
                   {!o.txComponent.empty(), "--tx-component"},
                   {!o.rxComponent.empty(), "--rx-component"},
                   {!o.txPin.empty(), "--tx-pin"},
                   {!o.rxPin.empty(), "--rx-pin"},
                   {!o.txModel.empty(), "--tx-model"},
                   {!o.rxModel.empty(), "--rx-model"},
                   {o.corner != Corner::Typical, "--corner"},
                   {!o.analog, "--no-analog"},
                   {o.txResistance >= 0.0, "--tx-resistance"},
                   {o.rxResistance >= 0.0, "--rx-resistance"}};
    for (const auto& k : kitOnly)
        if (k.given) {
            error = std::string(k.name) + " needs a kit (--ibs FILE.ibs)";
            return false;
        }
    return true;
}

// Rules between options, once all are read.
bool CheckCombination(const Options& o, int channelOptions, std::string& error) {
    if (channelOptions > 1) {
        error = "give only one of --channel-loss, --channel-impulse, --channel-step, --channel";
        return false;
    }
    if (!o.ports.empty() && o.channel != ChannelSource::Touchstone) {
        error = "--ports needs --channel FILE.sNp";
        return false;
    }
    if (!CheckKitCombination(o, error)) return false;
    if (o.ignoreBits >= o.bits) {
        error = "--ignore-bits must be smaller than --bits";
        return false;
    }
    return CheckImpairmentLimits(o, error);
}

}  // namespace

ParseStatus ParseOptions(const std::vector<std::string>& args, Options& o, std::string& error) {
    HandlerTable valued;
    AddModelOptions(valued, o, error);
    AddKitOptions(valued, o, error);
    AddTimingOptions(valued, o, error);
    AddChannelOptions(valued, o, error);
    AddOutputOptions(valued, o, error);
    AddImpairmentOptions(valued, o, error);
    AddClockOptions(valued, o, error);

    int channelOptions = 0;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "-h" || a == "--help") return ParseStatus::Help;
        if (a == "--quiet") {
            o.quiet = true;
            continue;
        }
        if (a == "--no-analog") {
            o.analog = false;
            continue;
        }
        const std::string name = a.substr(0, a.compare(0, 2, "--") == 0 ? a.find('=') : a.npos);
        const auto it = valued.find(name);
        if (it == valued.end()) {
            error = "unknown option '" + a + "'";
            return ParseStatus::Error;
        }
        std::string key, value;
        if (!SplitArgument(args, i, key, value, error)) return ParseStatus::Error;
        if (key.compare(0, 9, "--channel") == 0) ++channelOptions;
        if (!it->second(value)) return ParseStatus::Error;
    }
    return CheckCombination(o, channelOptions, error) ? ParseStatus::Run : ParseStatus::Error;
}

}  // namespace amisim
