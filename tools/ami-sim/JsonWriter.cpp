#include "tools/ami-sim/JsonWriter.h"

#include "tools/JsonQuote.h"

#include <cmath>
#include <cstdio>

namespace amisim {

std::string JsonWriter::Quote(const std::string& s) {
    return JsonQuote(s, false);
}

void JsonWriter::Start(const std::string& key) {
    if (!open_.empty()) {
        if (!open_.back().first) text_ += ',';
        open_.back().first = false;
        text_ += '\n' + std::string(2 * open_.size(), ' ');
        if (!open_.back().array) text_ += Quote(key) + ": ";
    }
}

JsonWriter& JsonWriter::BeginObject(const std::string& key) {
    Start(key);
    text_ += '{';
    open_.push_back(Frame{true, false});
    return *this;
}

JsonWriter& JsonWriter::BeginArray(const std::string& key) {
    Start(key);
    text_ += '[';
    open_.push_back(Frame{true, true});
    return *this;
}

JsonWriter& JsonWriter::End(char close) {
    if (open_.empty()) return *this;
    const bool empty = open_.back().first;
    open_.pop_back();
    if (!empty) text_ += '\n' + std::string(2 * open_.size(), ' ');
    text_ += close;
    if (open_.empty()) text_ += '\n';
    return *this;
}

JsonWriter& JsonWriter::EndObject() {
    return End('}');
}
JsonWriter& JsonWriter::EndArray() {
    return End(']');
}

JsonWriter& JsonWriter::Field(const std::string& key, const std::string& value) {
    Start(key);
    text_ += Quote(value);
    return *this;
}

JsonWriter& JsonWriter::Field(const std::string& key, const char* value) {
    return Field(key, std::string(value ? value : ""));
}

JsonWriter& JsonWriter::Field(const std::string& key, double value) {
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

JsonWriter& JsonWriter::Field(const std::string& key, long long value) {
    Start(key);
    text_ += std::to_string(value);
    return *this;
}

JsonWriter& JsonWriter::Field(const std::string& key, bool value) {
    Start(key);
    text_ += value ? "true" : "false";
    return *this;
}

JsonWriter& JsonWriter::Null(const std::string& key) {
    Start(key);
    text_ += "null";
    return *this;
}

}  // namespace amisim
