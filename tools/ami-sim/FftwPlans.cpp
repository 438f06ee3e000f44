#include "tools/ami-sim/FftwPlans.h"

namespace amisim {

std::mutex& FftwPlannerLock() {
    static std::mutex lock;
    return lock;
}

}  // namespace amisim
