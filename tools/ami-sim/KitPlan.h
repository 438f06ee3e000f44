// KitPlan: the part of the plan stage that reads a model kit (--ibs): the
// .ibs file checked with the IBIS checker and refused when it fails, the
// component and the transmitter's and receiver's pins or models chosen,
// the Executable line for this platform picked for each, its library and
// .ami file found beside the .ibs file, the .ami file read, and the analog
// ends taken from the buffers and package.
//
// A kit runs native code, so only files the .ibs file names inside its
// own folder are used: a name that is an absolute path or leads out of the
// folder (through "..", or a link that points outside) is refused. A
// missing library of another platform is no reason to refuse the kit; it
// is a warning.
#pragma once

#include <string>

#include "tools/ami-sim/IbisKit.h"
#include "tools/ami-sim/LinkPlan.h"
#include "tools/ami-sim/Options.h"

namespace amisim {

// The platform this program runs on as an Executable line names it
// ("Linux") and its word size in bits.
const char* HostPlatform();
int HostBits();

// The file `name`, which the kit's .ibs file names, inside `directory`;
// false with why not in `error` (`what` names the file in it).
bool KitFilePath(const std::string& directory, const std::string& name, const std::string& what,
                 std::string& path, std::string& error);

// Fills the models, the component, the corner and the analog ends of
// `plan` from the kit of options.ibsFile.
PlanStatus PlanKit(const Options& options, LinkPlan& plan, std::string& error);

}  // namespace amisim
