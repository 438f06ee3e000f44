// Corner: the process corner a run takes from a kit: the typical column of
// the .ibs file's tables and triples, or the minimum (slow) or maximum
// (fast) one, and the matching value of an .ami Corner parameter.
#pragma once

namespace amisim {

enum class Corner { Typical, Min, Max };

inline const char* CornerName(Corner c) {
    return c == Corner::Min ? "min" : c == Corner::Max ? "max" : "typ";
}

}  // namespace amisim
