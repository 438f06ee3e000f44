// JsonQuote: a text as a JSON string literal, shared by the tools that write
// JSON (ibislint's report, ami-sim's summary).
#pragma once

#include <cstdio>
#include <string>

// Control characters are always escaped. With `asciiOnly`, every byte from
// 0x7f up is escaped by value too: a text taken from a checked file may hold
// any byte, and JSON wants valid UTF-8.
inline std::string JsonQuote(const std::string& s, bool asciiOnly)
{
    std::string out = "\"";
    for (unsigned char c : s) {
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (c < 0x20 || (asciiOnly && c >= 0x7f)) {
                char esc[8];
                std::snprintf(esc, sizeof esc, "\\u%04x", c);
                out += esc;
            } else {
                out += static_cast<char>(c);
            }
        }
    }
    return out + "\"";
}
