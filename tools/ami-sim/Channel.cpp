#include "tools/ami-sim/Channel.h"

#include <fftw3.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <complex>
#include <cstdio>
#include <new>

#include "blocks/TimeResponseFIR.h"
#include "tools/ami-sim/FftConvolver.h"
#include "tools/ami-sim/FftwPlans.h"

namespace amisim {

namespace {

// Losses beyond this are clamped: the magnitude is then below 1e-15, far
// under anything a double-precision simulation resolves.
constexpr double kMaxLossDb = 300.0;

std::string Format(const char* fmt, double a, double b = 0.0, double c = 0.0) {
    char buf[160];
    std::snprintf(buf, sizeof buf, fmt, a, b, c);
    return buf;
}

// One FFTW buffer pair and the plans between them, released together.
struct Transform {
    std::size_t n;
    double* time;
    fftw_complex* freq;
    fftw_plan forward = nullptr;
    fftw_plan inverse = nullptr;

    explicit Transform(std::size_t size) : n(size) {
        time = static_cast<double*>(fftw_malloc(sizeof(double) * n));
        freq = static_cast<fftw_complex*>(fftw_malloc(sizeof(fftw_complex) * (n / 2 + 1)));
        if (time == nullptr || freq == nullptr) {
            fftw_free(time);
            fftw_free(freq);
            throw std::bad_alloc();
        }
        const std::lock_guard<std::mutex> planning(FftwPlannerLock());
        forward = fftw_plan_dft_r2c_1d(static_cast<int>(n), time, freq, FFTW_ESTIMATE);
        inverse = fftw_plan_dft_c2r_1d(static_cast<int>(n), freq, time, FFTW_ESTIMATE);
    }
    ~Transform() {
        {
            const std::lock_guard<std::mutex> planning(FftwPlannerLock());
            fftw_destroy_plan(forward);
            fftw_destroy_plan(inverse);
        }
        fftw_free(time);
        fftw_free(freq);
    }
    Transform(const Transform&) = delete;
    Transform& operator=(const Transform&) = delete;
};

bool StartsWithJump(const TimeValueTable& table) {
    return table.value.size() >= 2 && table.value[0] * table.value[1] > 0.0;
}

}  // namespace

double LossyLineLossDb(double f, double lossDbAtNyquist, double nyquist) {
    // Both terms are smooth functions of f^2 (no kink at DC), so the
    // response has no slowly decaying power-law tail: it dies out within
    // some tens of unit intervals.
    const double fc = nyquist / 20.0;
    auto skin = [fc](double x) { return std::sqrt(std::hypot(x, fc)) - std::sqrt(fc); };
    auto dielectric = [fc](double x) { return std::hypot(x, fc) - fc; };
    return lossDbAtNyquist *
           (0.5 * skin(f) / skin(nyquist) + 0.5 * dielectric(f) / dielectric(nyquist));
}

bool DesignLossyLine(double lossDbAtNyquist, double bitTime, double sampleInterval,
                     Channel& channel, std::string& error) {
    if (!std::isfinite(lossDbAtNyquist) || lossDbAtNyquist < 0.0 || lossDbAtNyquist > 100.0) {
        error = "channel loss must be between 0 and 100 dB";
        return false;
    }
    if (!(bitTime > 0.0) || !(sampleInterval > 0.0) || !std::isfinite(bitTime)) {
        error = "bit time and sample interval must be positive";
        return false;
    }
    const double nyquist = 0.5 / bitTime;
    const double samplesPerBit = bitTime / sampleInterval;
    if (lossDbAtNyquist == 0.0) {
        channel.taps.assign(1, 1.0);
        channel.description = "ideal (0 dB loss)";
        return true;
    }

    // The record must hold the tail (time constant about 1 / (2 pi fN / 20),
    // some 6 UI) many times over.
    const double wanted = std::max(65536.0, 4096.0 * samplesPerBit);
    if (wanted > static_cast<double>(kMaxChannelTaps) * 4.0) {
        error = "too many samples per bit for the built-in channel";
        return false;
    }
    const std::size_t n = FftConvolver::NextPowerOfTwo(static_cast<std::size_t>(wanted));
    const std::size_t bins = n / 2 + 1;
    const double df = 1.0 / (static_cast<double>(n) * sampleInterval);
    Transform tr(n);

    // Real cepstrum of the magnitude: inverse transform of ln|H|.
    for (std::size_t k = 0; k < bins; ++k) {
        const double db = std::min(LossyLineLossDb(k * df, lossDbAtNyquist, nyquist), kMaxLossDb);
        tr.freq[k][0] = -db * std::log(10.0) / 20.0;
        tr.freq[k][1] = 0.0;
    }
    fftw_execute(tr.inverse);
    // Fold the cepstrum onto positive quefrencies: the minimum-phase one.
    const double inv = 1.0 / static_cast<double>(n);
    tr.time[0] *= inv;
    for (std::size_t i = 1; i < n / 2; ++i) tr.time[i] *= 2.0 * inv;
    tr.time[n / 2] *= inv;
    for (std::size_t i = n / 2 + 1; i < n; ++i) tr.time[i] = 0.0;
    fftw_execute(tr.forward);
    for (std::size_t k = 0; k < bins; ++k) {
        const std::complex<double> h = std::exp(std::complex<double>(tr.freq[k][0], tr.freq[k][1]));
        tr.freq[k][0] = h.real() * inv;
        tr.freq[k][1] = h.imag() * inv;
    }
    fftw_execute(tr.inverse);

    // Keep the response up to where it has died away for good.
    double peak = 0.0;
    for (std::size_t i = 0; i < n / 2; ++i) peak = std::max(peak, std::fabs(tr.time[i]));
    std::size_t last = 0;
    for (std::size_t i = 0; i < n / 2; ++i)
        if (std::fabs(tr.time[i]) > 1e-6 * peak) last = i;
    channel.taps.assign(tr.time, tr.time + last + 1);
    channel.description =
        Format("lossy line, %.3g dB at %.4g GHz (Nyquist)", lossDbAtNyquist, nyquist * 1e-9);
    return true;
}

bool ChannelFromTable(const TimeValueTable& table, ResponseKind kind, double sampleInterval,
                      Channel& channel, std::string& error) {
    const std::size_t rows = table.time.size();
    if (rows != table.value.size() || rows < 4) {
        error = "a channel response needs at least 4 rows";
        return false;
    }
    if (rows > static_cast<std::size_t>(INT32_MAX)) {
        error = "the channel response has too many rows";
        return false;
    }
    if (!(sampleInterval > 0.0)) {
        error = "sample interval must be positive";
        return false;
    }
    const double span = table.time.back() - table.time.front();
    const double samples = span / sampleInterval + 1.0;
    if (!(samples <= static_cast<double>(kMaxChannelTaps))) {
        error = Format("the channel response spans %.4g s, %.4g samples; at most %.0f are accepted",
                       span, samples, static_cast<double>(kMaxChannelTaps));
        return false;
    }

    const double t0 = table.time.front();
    if (kind == ResponseKind::Step) {
        // The taps are the differences of the step response at the sample
        // times (linear between table rows, held after the last), so the
        // sampled channel's step response is the table's exactly and its DC
        // gain is the final value.
        const std::size_t count = static_cast<std::size_t>(std::ceil(span / sampleInterval)) + 1;
        channel.taps.resize(count);
        std::size_t row = 0;
        double previous = 0.0;
        for (std::size_t k = 0; k < count; ++k) {
            const double t = t0 + static_cast<double>(k) * sampleInterval;
            while (row + 1 < rows && table.time[row + 1] <= t) ++row;
            double v = table.value[row];
            if (row + 1 < rows) {
                const double f = (t - table.time[row]) / (table.time[row + 1] - table.time[row]);
                v += f * (table.value[row + 1] - table.value[row]);
            }
            channel.taps[k] = v - previous;
            previous = v;
        }
        channel.description = "step response from file";
        return true;
    }

    std::vector<double> values = table.value;
    std::vector<double> stamps = table.time;  // the design shifts them in place
    Vantra::TimeResponseFIR design;
    design.Response = values.data();
    design.ResponseTimeStamps = stamps.data();
    design.ResponseCount = design.TimeStampCount = static_cast<std::int32_t>(rows);
    design.ResponseType = Vantra::ImpulseResponse;
    design.SampleRate = 1.0 / sampleInterval;
    if (!design.Setup()) {
        error = "the channel response cannot be resampled (reason above)";
        return false;
    }
    channel.taps.assign(design.Taps, design.Taps + design.NumTaps);
    // The taps sample the response. When the response jumps at its start
    // and carries on from there (an RC decay: the second row has the same
    // sign), the first tap stands for only half a sample interval
    // (trapezoidal rule), so the channel keeps its area and DC gain. A lone
    // first sample (the next row zero or of the other sign) is a discrete
    // impulse whose area is its whole sample; halving it would lose half.
    if (StartsWithJump(table)) channel.taps[0] *= 0.5;
    channel.description = "impulse response from file";
    return true;
}

double DcGain(const Channel& channel) {
    double sum = 0.0;
    for (double t : channel.taps) sum += t;
    return sum;
}

ChannelFigures MeasureChannel(const Channel& channel, double sampleInterval, double bitTime) {
    ChannelFigures m;
    m.dcGain = DcGain(channel);
    const double f = 0.5 / bitTime;
    std::complex<double> sum = 0.0;
    for (std::size_t k = 0; k < channel.taps.size(); ++k)
        sum += channel.taps[k] *
               std::polar(1.0, -2.0 * M_PI * f * static_cast<double>(k) * sampleInterval);
    m.lossDbAtNyquist = -20.0 * std::log10(std::max(std::abs(sum), 1e-300));
    // The first time the step response reaches half its final value, with
    // linear interpolation between samples.
    const double half = 0.5 * m.dcGain;
    double step = 0.0;
    for (std::size_t k = 0; k < channel.taps.size(); ++k) {
        const double before = step;
        step += channel.taps[k];
        if (half != 0.0 && (step - half) * (half > 0 ? 1.0 : -1.0) >= 0.0) {
            const double a = (half - before) / (step - before);
            m.delay = (static_cast<double>(k) - 1.0 + a) * sampleInterval;
            if (k == 0) m.delay = 0.0;
            break;
        }
    }
    return m;
}

}  // namespace amisim
