// AmiParameterFile: what a simulator takes from an .ami parameter file,
// read with the kit's own parameter reader (amiparam):
//
// - the parameter string for AMI_Init: the root name with every
//   Model_Specific parameter whose Usage is In or InOut, at its default,
//   nested as in the file. For "(corvin_rx1 ... (Model_Specific (eq (Usage
//   In) (Type Integer) (Format Range 1 0 2) (Default 1) ...)))" that is
//   "(corvin_rx1 (eq 1))". The default is the Default leaf's value; without
//   one, the value of a Value format, the typical value of a Range or
//   Corner, or the first entry of a List. Values of Type String are passed
//   in double quotes.
// - the declaration of every Model_Specific parameter (its place in the
//   tree, Usage, Type, Format and Default), for checking the values a user
//   sets and for building the string with them (AmiParameterCheck);
// - the numeric Reserved_Parameters (the jitter and noise a model declares,
//   such as Tx_Rj or Rx_Noise): their Type, Format word and numbers, or
//   their Default.
//
// '|' starts a comment that runs to the end of the line (outside double
// quotes). A file the reader refuses is refused with its line.
#pragma once

#include <string>
#include <vector>

namespace amisim {

struct AmiReservedValue {
    std::string name;             // "Tx_Rj"
    std::string type;             // "Float", "UI", ... ("" when not given)
    std::string format;           // "Value", "Range", "Corner", "Gaussian", ... or "Default"
    std::vector<double> numbers;  // after the format word, or the Default's value
};

// One Model_Specific parameter as the file declares it.
struct AmiDeclaredParameter {
    std::vector<std::string> path;          // below Model_Specific: {"eq"}, {"group", "x"}
    std::string usage;                      // "In", "Out", "InOut", "Info" ("" when not given)
    std::string type;                       // "Integer", "Float", "UI", "Tap", "String", "Boolean"
    std::string format;                     // "Value", "Range", "List", ... ("" when not given)
    std::vector<std::string> formatValues;  // after the format word
    std::string defaultValue;               // the Default leaf's value
    bool hasDefault = false;
    int line = 0;  // where the parameter's name stands in the file

    std::string Name() const;  // the path joined by dots: "group.x"
    bool Settable() const { return usage == "In" || usage == "InOut"; }
};

struct AmiFileContents {
    std::string root;        // the model's name, the root list's
    std::string parameters;  // AMI_parameters_in at the defaults
    std::vector<AmiReservedValue> reserved;
    std::vector<AmiDeclaredParameter> declared;  // in file order
    // The value a simulator takes: the Value, the typical value of a Range
    // or Corner, or the Default; false when `name` has none of these.
    bool Reserved(const std::string& name, double& value, bool& inUnitIntervals) const;
    const AmiReservedValue* Find(const std::string& name) const;
};

// Both return true with the contents, or false with a reason ("name:line:
// reason" for the file).
bool ParseAmiFile(const std::string& amiText, const std::string& name, AmiFileContents& contents,
                  std::string& error);
bool ReadAmiFile(const std::string& path, AmiFileContents& contents, std::string& error);

// Why a parameter text did not parse, from AMIPARAM_ParseWhere's code and
// place: "a list is not closed before the end of the file".
std::string DescribeParseFailure(const std::string& text, int code, long where);

// The parameter string alone.
bool AmiDefaultParameters(const std::string& amiText, std::string& parameters, std::string& error);
bool ReadAmiDefaultParameters(const std::string& path, std::string& parameters, std::string& error);

}  // namespace amisim
