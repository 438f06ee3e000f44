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

struct AmiFileContents {
    std::string parameters;
    std::vector<AmiReservedValue> reserved;
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

// The parameter string alone.
bool AmiDefaultParameters(const std::string& amiText, std::string& parameters, std::string& error);
bool ReadAmiDefaultParameters(const std::string& path, std::string& parameters, std::string& error);

}  // namespace amisim
