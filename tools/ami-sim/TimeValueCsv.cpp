#include "tools/ami-sim/TimeValueCsv.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <fstream>

#include <sys/stat.h>

namespace amisim {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v'; }
bool IsSeparator(char c) { return c == ',' || c == ';' || IsBlank(c); }

// Splits at separators; a run of blanks around one comma or semicolon is a
// single separator, but two commas in a row leave an empty field.
std::vector<std::string> SplitFields(const std::string& line)
{
    std::vector<std::string> fields;
    std::size_t i = 0;
    const std::size_t n = line.size();
    while (i < n && IsBlank(line[i])) ++i;
    if (i == n) return fields;
    while (true) {
        std::size_t start = i;
        while (i < n && !IsSeparator(line[i])) ++i;
        fields.push_back(line.substr(start, i - start));
        while (i < n && IsBlank(line[i])) ++i;
        if (i == n) break;
        if (line[i] == ',' || line[i] == ';') {
            ++i;
            while (i < n && IsBlank(line[i])) ++i;
            if (i == n) {
                fields.emplace_back();  // trailing separator: an empty field
                break;
            }
        }
    }
    return fields;
}

bool ParseNumber(const std::string& text, double& out)
{
    if (text.empty()) return false;
    const char* begin = text.c_str();
    char* end = nullptr;
    errno = 0;
    const double v = std::strtod(begin, &end);
    if (end != begin + text.size()) return false;
    if (errno == ERANGE && std::fabs(v) > 1.0) return false;  // overflow
    out = v;
    return true;
}

}  // namespace

bool ParseTimeValueCsv(std::istream& in, const std::string& name, TimeValueTable& table,
                       std::string& error)
{
    TimeValueTable result;
    std::string line;
    long lineNo = 0;
    bool sawContent = false;
    auto fail = [&](const std::string& why) {
        error = name + ":" + std::to_string(lineNo) + ": " + why;
        return false;
    };

    while (std::getline(in, line)) {
        ++lineNo;
        if (lineNo == 1 && line.size() >= 3 && line.compare(0, 3, "\xEF\xBB\xBF") == 0)
            line.erase(0, 3);
        const std::vector<std::string> fields = SplitFields(line);
        if (fields.empty()) continue;
        if (!fields[0].empty() && fields[0][0] == '#') continue;

        double t = 0.0, v = 0.0;
        const bool firstIsNumber = ParseNumber(fields[0], t);
        if (!sawContent && !firstIsNumber) {
            sawContent = true;  // the header line
            continue;
        }
        sawContent = true;
        if (fields.size() != 2)
            return fail("expected two columns (time, value), found " +
                        std::to_string(fields.size()));
        if (!firstIsNumber) return fail("time '" + fields[0] + "' is not a number");
        if (!ParseNumber(fields[1], v)) return fail("value '" + fields[1] + "' is not a number");
        if (!std::isfinite(t) || !std::isfinite(v)) return fail("numbers must be finite");
        if (!result.time.empty() && !(t > result.time.back()))
            return fail("time " + fields[0] + " does not increase");
        result.time.push_back(t);
        result.value.push_back(v);
    }
    if (in.bad()) {
        error = name + ": read error";
        return false;
    }
    if (result.time.size() < 2) {
        error = name + ": needs at least two data rows (time, value), found " +
                std::to_string(result.time.size());
        return false;
    }
    table = std::move(result);
    return true;
}

bool ReadTimeValueCsv(const std::string& path, TimeValueTable& table, std::string& error)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
        error = path + ": is a directory";
        return false;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = path + ": cannot open";
        return false;
    }
    return ParseTimeValueCsv(in, path, table, error);
}

}  // namespace amisim
