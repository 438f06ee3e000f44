// AmiParameterCheck: the values a user gives a model's parameters, checked
// against what its .ami file declares before any library is loaded, and
// the parameter string for AMI_Init built from them.
//
// A value must be of the parameter's Type (Integer: a whole number written
// as one; Float, UI, Tap: a number; Boolean: True or False; String:
// anything) and allowed by its Format:
//   Value v               exactly v
//   Range typ min max     min <= x <= max
//   List v1 v2 ...        one of the values
//   Increment typ min max delta
//                         min, min + delta, ... up to max
//   Steps typ min max n   min + k (max - min) / n, k = 0 .. n
//   Corner typ slow fast  one of the three
// Only parameters of Usage In or InOut can be set. Numbers are compared
// with a relative tolerance of 1e-9, so 0.1 + 0.2 counts as 0.3.
//
// Names: a parameter is named by its leaf name ("eq") or its dotted path
// below Model_Specific ("group.x"), either optionally after the model's
// name ("corvin_rx1.eq").
#pragma once

#include <map>
#include <string>
#include <vector>

#include "tools/ami-sim/AmiParameterFile.h"
#include "tools/ami-sim/Corner.h"

namespace amisim {

// "" when `value` is acceptable, else why not, in the user's words:
// "eq takes a whole number (Integer), not '1.7'".
std::string CheckParameterValue(const AmiDeclaredParameter& parameter, const std::string& value);

// The declared parameter `name` names, or null.
const AmiDeclaredParameter* FindParameter(const AmiFileContents& ami, const std::string& name);

// "eq (Integer, Range 0 to 2, default 1)", for messages and listings.
std::string DescribeParameter(const AmiDeclaredParameter& parameter);
// Every settable parameter of the model, described, separated by "; ".
std::string ListParameters(const AmiFileContents& ami);

// The string for AMI_Init: the root name with every settable parameter at
// the value `values` gives it (keyed by AmiDeclaredParameter::Name()), else
// at its default (a Corner parameter's slow or fast value at those
// corners), nested as in the file.
std::string BuildParameterString(const AmiFileContents& ami,
                                 const std::map<std::string, std::string>& values,
                                 Corner corner = Corner::Typical);

// Checks a parameter string the user wrote (the command line's --tx-params
// or --rx-params) against the declarations: it must parse, its root must be
// the model's name, and each of its leaves must be a settable parameter
// with an acceptable value. False with the reason in `error`.
bool CheckParameterString(const AmiFileContents& ami, const std::string& text, std::string& error);

}  // namespace amisim
