#include "tools/ami-sim/JsonWriter.h"

#include "tools/JsonQuote.h"

#include <cmath>
#include <cstdio>

namespace amisim {

std::string JsonWriter::Quote(const std::string& s) { return JsonQuote(s, false); }

void JsonWriter::Start(const std::string& key)
{
    if (!first_.empty()) {
        if (!first_.back()) text_ += ',';
        first_.back() = false;
        text_ += '\n' + std::string(2 * first_.size(), ' ');
        text_ += Quote(key) + ": ";
    }
}

JsonWriter& JsonWriter::BeginObject(const std::string& key)
{
    Start(key);
    text_ += '{';
    first_.push_back(true);
    return *this;
}

JsonWriter& JsonWriter::EndObject()
{
    if (first_.empty()) return *this;
    const bool empty = first_.back();
    first_.pop_back();
    if (!empty) text_ += '\n' + std::string(2 * first_.size(), ' ');
    text_ += '}';
    if (first_.empty()) text_ += '\n';
    return *this;
}

JsonWriter& JsonWriter::Field(const std::string& key, const std::string& value)
{
    Start(key);
    text_ += Quote(value);
    return *this;
}

JsonWriter& JsonWriter::Field(const std::string& key, const char* value)
{
    return Field(key, std::string(value ? value : ""));
}

JsonWriter& JsonWriter::Field(const std::string& key, double value)
{
    Start(key);
    if (!std::isfinite(value)) {
        text_ += "null";
    } else {
        char buf[32];
        std::snprintf(buf, sizeof buf, "%.10g", value);
        text_ += buf;
    }
    return *this;
}

JsonWriter& JsonWriter::Field(const std::string& key, long long value)
{
    Start(key);
    text_ += std::to_string(value);
    return *this;
}

JsonWriter& JsonWriter::Field(const std::string& key, bool value)
{
    Start(key);
    text_ += value ? "true" : "false";
    return *this;
}

JsonWriter& JsonWriter::Null(const std::string& key)
{
    Start(key);
    text_ += "null";
    return *this;
}

}  // namespace amisim
