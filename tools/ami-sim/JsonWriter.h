// JsonWriter: writes one JSON document with two-space indentation. Keys and
// values are added in order; numbers that are not finite become null, since
// JSON has no spelling for them.
#pragma once

#include <string>
#include <vector>

namespace amisim {

class JsonWriter {
public:
    // Inside an array the key is ignored: members are written as elements.
    JsonWriter& BeginObject(const std::string& key = std::string());
    JsonWriter& EndObject();
    JsonWriter& BeginArray(const std::string& key = std::string());
    JsonWriter& EndArray();
    JsonWriter& Field(const std::string& key, const std::string& value);
    JsonWriter& Field(const std::string& key, const char* value);
    JsonWriter& Field(const std::string& key, double value);
    JsonWriter& Field(const std::string& key, long long value);
    JsonWriter& Field(const std::string& key, bool value);
    JsonWriter& Null(const std::string& key);

    const std::string& Text() const { return text_; }

    static std::string Quote(const std::string& s);

private:
    void Start(const std::string& key);

    std::string text_;
    struct Frame {
        bool first = true;  // no member written yet
        bool array = false;
    };
    JsonWriter& End(char close);
    std::vector<Frame> open_;
};

}  // namespace amisim
