// FftwPlans: FFTW's planner is not reentrant, so every plan is made and
// destroyed under one lock; executing a plan needs none. With it the points
// of a sweep plan their transforms on their own threads. FFTW_ESTIMATE
// plans depend only on the size and the buffers' alignment (fftw_malloc's),
// so a point computes the same on any thread as alone.
#pragma once

#include <mutex>

namespace amisim {

std::mutex& FftwPlannerLock();

}  // namespace amisim
