#include "tools/ami-sim/Touchstone.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>

namespace amisim {

namespace {

// Far beyond any interconnect model; bounds the matrix a file can ask for.
constexpr int kMaxPorts = 64;

enum class Format { RI, MA, DB };
enum class Matrix { Full, Upper, Lower };

std::string UpperCase(std::string s) {
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

std::string Trim(const std::string& s) {
    const char* ws = " \t\r\n\f\v";
    const std::size_t a = s.find_first_not_of(ws);
    if (a == std::string::npos) return std::string();
    return s.substr(a, s.find_last_not_of(ws) - a + 1);
}

std::vector<std::string> Words(const std::string& s) {
    std::vector<std::string> words;
    std::size_t i = 0;
    while (i < s.size()) {
        while (i < s.size() && std::isspace(static_cast<unsigned char>(s[i]))) ++i;
        const std::size_t start = i;
        while (i < s.size() && !std::isspace(static_cast<unsigned char>(s[i]))) ++i;
        if (i > start) words.push_back(s.substr(start, i - start));
    }
    return words;
}

// The whole word must be a finite number.
bool ToNumber(const std::string& word, double& out) {
    if (word.empty()) return false;
    char* end = nullptr;
    errno = 0;
    const double v = std::strtod(word.c_str(), &end);
    if (end != word.c_str() + word.size() || errno == ERANGE || !std::isfinite(v)) return false;
    out = v;
    return true;
}

std::string Quote(const std::string& s) {
    return "'" + (s.size() > 40 ? s.substr(0, 37) + "..." : s) + "'";
}

class Reader {
public:
    Reader(const std::string& name, int portsFromName, NetworkData& out, std::string& error)
        : name_(name), ports_(portsFromName), out_(out), error_(error) {}

    bool Line(std::string text, long line);
    bool Finish();
    int Version() const { return version_; }
    long FailLine() const { return failLine_; }
    const std::string& FailReason() const { return failReason_; }

private:
    bool Fail(long line, const std::string& why) {
        failLine_ = line;
        failReason_ = why;
        error_ = name_ + ":" + std::to_string(line) + ": " + why;
        return false;
    }
    bool Keyword(const std::string& text, long line);
    bool KeywordValue(const std::string& key, const std::string& arg, long line);
    bool OptionLine(const std::string& text, long line);
    bool References(const std::vector<std::string>& words, long line);
    bool Data(const std::string& text, long line);
    bool NoiseStart(const std::string& text, const std::string& word, double f, long line);
    bool NoiseLine(const std::string& text, long line);
    bool StorePoint(long line);
    std::size_t ValuesPerPoint() const {
        const std::size_t n = static_cast<std::size_t>(ports_);
        return 1 + 2 * (matrix_ == Matrix::Full ? n * n : n * (n + 1) / 2);
    }

    std::string name_;
    int ports_;
    NetworkData& out_;
    std::string& error_;

    int version_ = 1;
    bool anyLine_ = false;  // a non-comment line was seen
    bool optionSeen_ = false;
    bool inData_ = false;  // version 2.0: after [Network Data]
    bool inInformation_ = false;
    bool finished_ = false;  // noise data or [End] reached
    bool noise_ = false;     // version 1.x: in the noise parameters
    bool ended_ = false;     // version 2.0: [End] reached
    bool orderGiven_ = false;
    bool order21First_ = true;  // 2-port values N11 N21 N12 N22
    Matrix matrix_ = Matrix::Full;
    Format format_ = Format::MA;
    double unit_ = 1e9;
    double optionReference_ = 50.0;
    long expectedFrequencies_ = -1;
    std::vector<double> references_;
    std::size_t referencesWanted_ = 0;  // [Reference] values still to come
    std::vector<double> pending_;       // values of the frequency being read
    long pointLine_ = 0;
    long failLine_ = 0;  // 0: the failure concerns the whole file
    std::string failReason_;
};

bool Reader::Line(std::string text, long line) {
    const std::size_t bang = text.find('!');
    if (bang != std::string::npos) text.erase(bang);
    text = Trim(text);
    if (text.empty() || ended_) return true;  // nothing after [End] counts
    if (inInformation_) {
        if (UpperCase(text).compare(0, 17, "[END INFORMATION]") == 0) inInformation_ = false;
        return true;
    }
    const bool first = !anyLine_;
    anyLine_ = true;
    if (text[0] == '[') {
        if (first && UpperCase(text).compare(0, 9, "[VERSION]") == 0) {
            const std::string v = Trim(text.substr(9));
            if (v.compare(0, 1, "2") != 0)
                return Fail(line, "version " + Quote(v) + " is not supported (1.x or 2.0)");
            version_ = 2;
            return true;
        }
        return Keyword(text, line);
    }
    if (noise_) return NoiseLine(text, line);
    if (finished_) return true;
    if (referencesWanted_ > 0) return References(Words(text), line);
    if (text[0] == '#') return optionSeen_ ? true : OptionLine(text, line);
    return Data(text, line);
}

bool Reader::Keyword(const std::string& text, long line) {
    const std::size_t close = text.find(']');
    if (close == std::string::npos) return Fail(line, "keyword without ']': " + Quote(text));
    if (referencesWanted_ > 0) return Fail(line, "[Reference] has fewer values than ports");
    if (version_ != 2)
        return Fail(line, "keyword " + Quote(text.substr(0, close + 1)) +
                              " in a version 1 file ([Version] 2.0 must come first)");
    // Words of a keyword are compared without regard to case or spacing.
    std::string key;
    for (const std::string& w : Words(UpperCase(text.substr(1, close - 1))))
        key += (key.empty() ? "" : " ") + w;
    return KeywordValue(key, Trim(text.substr(close + 1)), line);
}

bool Reader::KeywordValue(const std::string& key, const std::string& arg, long line) {
    auto count = [&](const char* keyword, long low, long high, long& field) {
        double v = 0.0;
        if (!ToNumber(arg, v) || v != std::floor(v) || v < low || v > high)
            return Fail(line, std::string(keyword) + " expects a whole number from " +
                                  std::to_string(low) + " to " + std::to_string(high) + ", not " +
                                  Quote(arg));
        field = static_cast<long>(v);
        return true;
    };
    // The layout of the data cannot change once they have begun.
    const bool dataBegun = !out_.frequency.empty() || !pending_.empty() || finished_;
    if (dataBegun && (key == "NUMBER OF PORTS" || key == "TWO-PORT DATA ORDER" ||
                      key == "MATRIX FORMAT" || key == "REFERENCE" || key == "NETWORK DATA"))
        return Fail(line, "[" + key + "] after the network data began");
    if (key == "NUMBER OF PORTS") {
        long n = 0;
        if (!count("[Number of Ports]", 1, kMaxPorts, n)) return false;
        ports_ = static_cast<int>(n);
        return true;
    }
    if (key == "NUMBER OF FREQUENCIES")
        return count("[Number of Frequencies]", 1, 100000000L, expectedFrequencies_);
    if (key == "NUMBER OF NOISE FREQUENCIES") {
        long ignored = 0;
        return count("[Number of Noise Frequencies]", 0, 100000000L, ignored);
    }
    if (key == "TWO-PORT DATA ORDER") {
        const std::string v = UpperCase(arg);
        if (v != "12_21" && v != "21_12")
            return Fail(line, "[Two-Port Data Order] expects 12_21 or 21_12, not " + Quote(arg));
        orderGiven_ = true;
        order21First_ = v == "21_12";
        return true;
    }
    if (key == "MATRIX FORMAT") {
        const std::string v = UpperCase(arg);
        if (v == "FULL")
            matrix_ = Matrix::Full;
        else if (v == "UPPER")
            matrix_ = Matrix::Upper;
        else if (v == "LOWER")
            matrix_ = Matrix::Lower;
        else
            return Fail(line, "[Matrix Format] expects Full, Upper or Lower, not " + Quote(arg));
        return true;
    }
    if (key == "REFERENCE") {
        if (ports_ <= 0) return Fail(line, "[Reference] before [Number of Ports]");
        references_.clear();
        referencesWanted_ = static_cast<std::size_t>(ports_);
        return References(Words(arg), line);
    }
    if (key == "NETWORK DATA") {
        if (!optionSeen_) return Fail(line, "[Network Data] before the option line");
        if (ports_ <= 0) return Fail(line, "[Network Data] before [Number of Ports]");
        if (ports_ == 2 && !orderGiven_)
            return Fail(line, "a 2-port file needs [Two-Port Data Order] before its data");
        inData_ = true;
        return true;
    }
    if (key == "NOISE DATA" || key == "END") {
        if (!pending_.empty())
            return Fail(pointLine_, "the values of the last frequency are incomplete");
        finished_ = true;
        ended_ = key == "END";
        return true;
    }
    if (key == "BEGIN INFORMATION") {
        inInformation_ = true;
        return true;
    }
    if (key == "MIXED-MODE ORDER") return Fail(line, "mixed-mode data are not supported");
    if (key == "VERSION") return Fail(line, "[Version] must be the first keyword");
    return Fail(line, "unknown keyword [" + key + "]");
}

bool Reader::References(const std::vector<std::string>& words, long line) {
    for (const std::string& w : words) {
        double z = 0.0;
        if (referencesWanted_ == 0) return Fail(line, "more [Reference] values than ports");
        if (!ToNumber(w, z) || !(z > 0.0))
            return Fail(line, "reference impedance " + Quote(w) + " is not a positive number");
        references_.push_back(z);
        --referencesWanted_;
    }
    return true;
}

bool Reader::OptionLine(const std::string& text, long line) {
    optionSeen_ = true;
    const std::vector<std::string> words = Words(UpperCase(text.substr(1)));
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& w = words[i];
        if (w == "HZ")
            unit_ = 1.0;
        else if (w == "KHZ")
            unit_ = 1e3;
        else if (w == "MHZ")
            unit_ = 1e6;
        else if (w == "GHZ")
            unit_ = 1e9;
        else if (w == "RI")
            format_ = Format::RI;
        else if (w == "MA")
            format_ = Format::MA;
        else if (w == "DB")
            format_ = Format::DB;
        else if (w == "S")
            continue;
        else if (w == "Y" || w == "Z" || w == "H" || w == "G")
            return Fail(line, w + "-parameters are not supported; the channel needs S-parameters");
        else if (w == "R") {
            if (i + 1 >= words.size() || !ToNumber(words[i + 1], optionReference_) ||
                !(optionReference_ > 0.0))
                return Fail(line, "R in the option line needs a positive reference impedance");
            ++i;
        } else {
            return Fail(line, "unknown option " + Quote(w) + " in the option line");
        }
    }
    return true;
}

bool Reader::Data(const std::string& text, long line) {
    if (version_ == 2 && !inData_) return Fail(line, "data before [Network Data]: " + Quote(text));
    if (version_ == 1 && !optionSeen_) return Fail(line, "data before the option line");
    if (ports_ <= 0)
        return Fail(line,
                    "the port count is unknown: name the file .sNp (N ports) or use "
                    "[Version] 2.0 with [Number of Ports]");
    const std::size_t need = ValuesPerPoint();
    const char* p = text.c_str();
    bool lineStart = true;  // no value of this line read yet
    while (*p != '\0') {
        while (*p == ' ' || *p == '\t') ++p;
        if (*p == '\0') break;
        const char* wordEnd = p;
        while (*wordEnd != '\0' && *wordEnd != ' ' && *wordEnd != '\t') ++wordEnd;
        char* end = nullptr;
        errno = 0;
        const double v = std::strtod(p, &end);
        if (end != wordEnd || errno == ERANGE || !std::isfinite(v))
            return Fail(line, Quote(std::string(p, wordEnd)) + " is not a number");
        if (pending_.empty()) {
            if (!lineStart)
                return Fail(line, "more values on this line than one frequency takes (" +
                                      std::to_string(need) + " numbers)");
            const double f = v * unit_;
            const std::string word(p, wordEnd);
            if (f < 0.0) return Fail(line, "frequency " + Quote(word) + " is negative");
            if (!out_.frequency.empty() && f <= out_.frequency.back())
                return NoiseStart(text, word, f, line);
            pointLine_ = line;
        }
        pending_.push_back(v);
        lineStart = false;
        if (pending_.size() == need && !StorePoint(line)) return false;
        p = wordEnd;
    }
    return true;
}

// In a version 1.x 2-port file a frequency that does not increase starts
// the noise parameters, five numbers a line (frequency, minimum noise
// figure, the magnitude and angle of the optimum source reflection, the
// effective noise resistance). Anything else that goes back is an error: a
// frequency repeated where two sweep segments join would otherwise silently
// end the network data there.
bool Reader::NoiseStart(const std::string& text, const std::string& word, double f, long line) {
    const std::size_t values = Words(text).size();
    const bool repeated = f == out_.frequency.back();
    const std::string why = "frequency " + Quote(word) +
                            (repeated ? " repeats the previous one" : " does not increase");
    if (version_ != 1 || ports_ != 2) return Fail(line, why);
    if (values != 5)
        return Fail(line, why +
                              " (noise parameters would start here, with 5 values on the line, "
                              "not " +
                              std::to_string(values) + ")");
    noise_ = true;
    return NoiseLine(text, line);
}

bool Reader::NoiseLine(const std::string& text, long line) {
    const std::vector<std::string> words = Words(text);
    if (words.size() != 5)
        return Fail(line,
                    "noise parameters take 5 values a line, not " + std::to_string(words.size()));
    for (const std::string& w : words) {
        double v = 0.0;
        if (!ToNumber(w, v)) return Fail(line, Quote(w) + " is not a number");
    }
    return true;
}

bool Reader::StorePoint(long line) {
    const std::size_t n = static_cast<std::size_t>(ports_);
    const std::size_t base = out_.s.size();
    out_.frequency.push_back(pending_[0] * unit_);
    out_.s.resize(base + n * n);
    std::size_t v = 1;
    auto next = [&]() {
        const double a = pending_[v], b = pending_[v + 1];
        v += 2;
        switch (format_) {
            case Format::RI:
                return std::complex<double>(a, b);
            case Format::MA:
                return std::polar(a, b * M_PI / 180.0);
            case Format::DB:
                break;
        }
        return std::polar(std::pow(10.0, a / 20.0), b * M_PI / 180.0);
    };
    auto at = [&](std::size_t i, std::size_t j) -> std::complex<double>& {
        return out_.s[base + i * n + j];
    };
    if (n == 2 && matrix_ == Matrix::Full) {
        at(0, 0) = next();
        std::complex<double>& first = order21First_ ? at(1, 0) : at(0, 1);
        first = next();
        std::complex<double>& second = order21First_ ? at(0, 1) : at(1, 0);
        second = next();
        at(1, 1) = next();
    } else {
        for (std::size_t i = 0; i < n; ++i) {
            const std::size_t from = matrix_ == Matrix::Upper ? i : 0;
            const std::size_t to = matrix_ == Matrix::Lower ? i + 1 : n;
            for (std::size_t j = from; j < to; ++j) {
                at(i, j) = next();
                if (matrix_ != Matrix::Full) at(j, i) = at(i, j);
            }
        }
    }
    pending_.clear();
    // Finite text can still overflow: 1e300 GHz, or 7000 dB.
    if (!std::isfinite(out_.frequency.back()))
        return Fail(pointLine_, "the frequency is out of range");
    for (std::size_t i = base; i < out_.s.size(); ++i)
        if (!std::isfinite(out_.s[i].real()) || !std::isfinite(out_.s[i].imag()))
            return Fail(line, "a network parameter is out of range");
    return true;
}

bool Reader::Finish() {
    if (!pending_.empty())
        return Fail(pointLine_, "the values of this frequency are incomplete: " +
                                    std::to_string(pending_.size()) + " of " +
                                    std::to_string(ValuesPerPoint()) + " numbers");
    if (referencesWanted_ > 0) {
        error_ = name_ + ": [Reference] has fewer values than ports";
        return false;
    }
    if (out_.frequency.empty()) {
        error_ = name_ + ": no network data";
        return false;
    }
    if (expectedFrequencies_ >= 0 &&
        static_cast<std::size_t>(expectedFrequencies_) != out_.frequency.size()) {
        error_ = name_ + ": [Number of Frequencies] is " + std::to_string(expectedFrequencies_) +
                 " but the file holds " + std::to_string(out_.frequency.size());
        return false;
    }
    out_.ports = ports_;
    out_.version = version_;
    out_.reference = references_.empty()
                         ? std::vector<double>(static_cast<std::size_t>(ports_), optionReference_)
                         : references_;
    return true;
}

// The values of each data line of a version 1.x file: comments, option
// lines and blank lines left out; an empty list for a line that holds
// anything but numbers.
std::vector<std::vector<double>> DataLines(const std::vector<std::string>& lines) {
    std::vector<std::vector<double>> data;
    for (std::string text : lines) {
        const std::size_t bang = text.find('!');
        if (bang != std::string::npos) text.erase(bang);
        text = Trim(text);
        if (text.empty() || text[0] == '#' || text[0] == '[') continue;
        std::vector<double> values;
        for (const std::string& w : Words(text)) {
            double v = 0.0;
            if (!ToNumber(w, v)) {
                values.clear();
                break;
            }
            values.push_back(v);
        }
        data.push_back(std::move(values));
    }
    return data;
}

// Whether the data lines read as an n-port file: each frequency's
// 1 + 2 n^2 numbers start on a line of their own, the frequencies increase,
// and there are at least two of them.
bool FitsPorts(const std::vector<std::vector<double>>& data, int n) {
    const std::size_t need = 1 + 2 * static_cast<std::size_t>(n) * static_cast<std::size_t>(n);
    std::size_t have = 0, points = 0;
    double last = 0.0;
    for (const std::vector<double>& values : data) {
        if (values.empty() || have + values.size() > need) return false;
        if (have == 0) {
            if (points > 0 && !(values[0] > last)) return false;
            last = values[0];
            ++points;
        }
        have = (have + values.size()) % need;
    }
    return have == 0 && points >= 2;
}

}  // namespace

// The port count other than `named` whose layout the data lines of a
// version 1.x file fit, or 0 when none does.
int DataPortCount(const std::vector<std::string>& lines, int named) {
    if (named <= 0) return 0;
    const std::vector<std::vector<double>> data = DataLines(lines);
    for (int n = 1; n <= kMaxPorts; ++n)
        if (n != named && FitsPorts(data, n)) return n;
    return 0;
}

int PortsFromFileName(const std::string& path) {
    const std::size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || path.find('/', dot) != std::string::npos) return 0;
    const std::string ext = UpperCase(path.substr(dot + 1));
    if (ext.size() < 3 || ext.front() != 'S' || ext.back() != 'P') return 0;
    const std::string digits = ext.substr(1, ext.size() - 2);
    if (digits.size() > 3 ||
        !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return 0;
    const int n = std::atoi(digits.c_str());
    return n >= 1 && n <= kMaxPorts ? n : 0;
}

bool ParseTouchstone(std::istream& in, const std::string& name, int portsFromName,
                     NetworkData& data, std::string& error) {
    std::vector<std::string> lines;
    std::string text;
    while (std::getline(in, text)) {
        if (lines.empty() && text.compare(0, 3, "\xEF\xBB\xBF") == 0) text.erase(0, 3);
        lines.push_back(std::move(text));
    }
    if (in.bad()) {
        error = name + ": read error";
        return false;
    }
    NetworkData result;
    Reader reader(name, portsFromName, result, error);
    bool ok = true;
    for (std::size_t i = 0; ok && i < lines.size(); ++i)
        ok = reader.Line(lines[i], static_cast<long>(i + 1));
    ok = ok && reader.Finish();
    if (!ok) {
        // A file named for one port count whose data fit another says so
        // rather than why the numbers ran out of step.
        const int fit = reader.Version() == 1 ? DataPortCount(lines, portsFromName) : 0;
        if (fit > 0)
            error = name + (reader.FailLine() > 0 ? ":" + std::to_string(reader.FailLine()) : "") +
                    ": the data fit a " + std::to_string(fit) + "-port file (" +
                    std::to_string(1 + 2 * fit * fit) + " numbers per frequency), not the " +
                    std::to_string(portsFromName) + " ports its name says (" +
                    (reader.FailLine() > 0 ? reader.FailReason() : error.substr(name.size() + 2)) +
                    ")";
        return false;
    }
    data = std::move(result);
    return true;
}

bool ReadTouchstone(const std::string& path, NetworkData& data, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot open " + path;
        return false;
    }
    return ParseTouchstone(in, path, PortsFromFileName(path), data, error);
}

}  // namespace amisim
