// TimeValueCsv: reads a two-column table (time in seconds, value) such as a
// channel's impulse or step response exported from a field solver or a
// circuit simulator.
//
// Accepted: fields separated by a comma, a semicolon, a tab or blanks; blank
// lines and lines starting with '#' anywhere; one header line (a first row
// whose first field is not a number); Windows line ends and a UTF-8 byte
// order mark. Every data row has exactly two finite numbers, times strictly
// increase, and there are at least two rows. Anything else is refused with
// the file name and line number.
#pragma once

#include <istream>
#include <string>
#include <vector>

namespace amisim {

struct TimeValueTable {
    std::vector<double> time;
    std::vector<double> value;
};

// Both return true and fill `table`, or return false with a one-line reason
// in `error` and leave `table` as it was.
bool ReadTimeValueCsv(const std::string& path, TimeValueTable& table, std::string& error);
bool ParseTimeValueCsv(std::istream& in, const std::string& name, TimeValueTable& table,
                       std::string& error);

}  // namespace amisim
