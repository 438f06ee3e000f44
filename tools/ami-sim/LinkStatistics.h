// LinkStatistics: the statistics stage of a run. Folds the receiver output
// into the eye on the sampler's clock (EyeDiagram), measures the eye at the
// sampling instant, computes the bit error ratio against sampling phase and
// the opening at the target ratio (Bathtub), and counts the decisions the
// sampler's noisy samples make at the eye's threshold.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "tools/ami-sim/Bathtub.h"
#include "tools/ami-sim/EyeDiagram.h"
#include "tools/ami-sim/Sampler.h"

namespace amisim {

// The decisions counted on the sampler's samples, at the eye's threshold.
struct CountedDecisions {
    std::size_t bits = 0, errors = 0;
    double ber = 0.0;       // errors / bits
    double expected = 0.0;  // errors the statistical ratio predicts at the sampling instant
};

class LinkStatistics {
public:
    // Starts folding once the sampler has its clock: sizes the plot to the
    // range the sampler saw.
    void Start(const LinkPlan& plan, const SamplingWindow& window, const Stimulus& stimulus,
               const Sampler& sampler);
    bool Started() const { return eye_ != nullptr; }
    // Folds what the sampler holds up to where its clock is known.
    void Fold(Sampler& sampler);
    // Measures the eye, its bathtub curve and contour, and counts the
    // decisions.
    void Finish(const LinkPlan& plan, const SamplingWindow& window, const Stimulus& stimulus,
                const Sampler& sampler);

    const EyeDiagram& Eye() const { return *eye_; }
    const EyeMetrics& Metrics() const { return metrics_; }
    const BathtubCurve& Tub() const { return tub_; }
    const EyeContour& Contour() const { return contour_; }
    const CountedDecisions& Counted() const { return counted_; }
    const BerInputs& Inputs() const { return inputs_; }
    // The run's bits cover every pattern of the PRBS at least once.
    bool PatternCovered() const { return patternCovered_; }
    double seconds = 0.0;  // time spent folding and measuring

private:
    std::unique_ptr<EyeDiagram> eye_;
    std::size_t folded_ = 0;  // samples below this are folded
    EyeMetrics metrics_;
    BathtubCurve tub_;
    EyeContour contour_;
    CountedDecisions counted_;
    BerInputs inputs_;
    bool patternCovered_ = false;
};

constexpr double kTargetBer = 1e-12;

}  // namespace amisim
