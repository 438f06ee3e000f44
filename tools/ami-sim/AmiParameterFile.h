// AmiParameterFile: turns an .ami parameter file into the parameter string
// a simulator hands to AMI_Init: the root name with every Model_Specific
// parameter whose Usage is In or InOut, at its default, nested as in the
// file. For "(corvin_rx1 ... (Model_Specific (eq (Usage In) (Type Integer)
// (Format Range 1 0 2) (Default 1) ...)))" that is "(corvin_rx1 (eq 1))".
//
// The default is the Default leaf's value; without one, the value of a
// Value format, the typical value of a Range, or the first entry of a List.
// String values are passed in double quotes. '|' starts a comment that runs
// to the end of the line.
#pragma once

#include <string>

namespace amisim {

// Both return true with the parameter string, or false with a reason.
bool AmiDefaultParameters(const std::string& amiText, std::string& parameters,
                          std::string& error);
bool ReadAmiDefaultParameters(const std::string& path, std::string& parameters,
                              std::string& error);

}  // namespace amisim
