// LinkChannel: the channel stage of a run. Builds the sampled through
// response between the two models from the plan's source (the built-in
// lossy line, a tabulated impulse or step response, or a Touchstone file's
// through path), measures it and keeps the warnings its checks raise.
//
// With the plan's analog ends (a kit), the response is the one between the
// driver's source and the receiver's pad (TerminatedNetwork): a Touchstone
// file's full network terminated by the ends, or another source's response
// taken as a matched 50 ohm line between them. The bare response is
// measured too, for the report.
#pragma once

#include <string>
#include <vector>

#include "tools/ami-sim/Channel.h"
#include "tools/ami-sim/LinkPlan.h"
#include "tools/ami-sim/ThroughResponse.h"

namespace amisim {

struct LinkChannel {
    Channel channel;          // taps on the simulation grid
    ThroughResponse through;  // the file's through path (Touchstone only)
    ChannelFigures figures;
    bool analog = false;   // the analog ends are in the response
    std::string analogAs;  // how the channel met them
    ChannelFigures bare;   // the response without them
    std::vector<std::string> warnings;
    double setupSeconds = 0.0;
};

bool PrepareChannel(const LinkPlan& plan, LinkChannel& channel, std::string& error);

}  // namespace amisim
