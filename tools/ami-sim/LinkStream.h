// LinkStream: runs the waveform through the link in segments: the
// stimulus, the transmitter, the channel convolution, the receiver, then
// the sampler and the statistics stage, with waves.csv written on the way
// and a progress line on the terminal.
#pragma once

#include <ostream>
#include <string>

#include "tools/ami-sim/LinkRun.h"

namespace amisim {

// False with `error` when a model fails; the run's record then holds what
// was done.
bool StreamLink(LinkRun& run, std::ostream& err, bool showProgress, std::string& error);

}  // namespace amisim
