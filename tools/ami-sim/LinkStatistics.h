// LinkStatistics: the statistics stage of a run. Folds the receiver output
// into the eye at the sampler's clock (EyeDiagram), then measures the eye
// and computes the bathtub curve (Bathtub).
#pragma once

#include <cstddef>
#include <memory>

#include "tools/ami-sim/Bathtub.h"
#include "tools/ami-sim/EyeDiagram.h"
#include "tools/ami-sim/Sampler.h"

namespace amisim {

class LinkStatistics {
public:
    // Starts folding once the sampler has its clock: sizes the plot to the
    // range the sampler saw and folds the stretch it buffered.
    void Start(const LinkPlan& plan, const SamplingWindow& window, const Stimulus& stimulus,
               const Sampler& sampler);
    bool Started() const { return eye_ != nullptr; }
    void Fold(std::size_t firstSample, const double* y, std::size_t n);
    // Measures the eye and its bathtub curve.
    void Finish();

    const EyeDiagram& Eye() const { return *eye_; }
    const EyeMetrics& Metrics() const { return metrics_; }
    const BathtubCurve& Tub() const { return tub_; }
    double seconds = 0.0;  // time spent folding and measuring

private:
    std::unique_ptr<EyeDiagram> eye_;
    EyeMetrics metrics_;
    BathtubCurve tub_;
};

}  // namespace amisim
