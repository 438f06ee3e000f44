// TreeDump: a compact text form of a parsed tree for assertions.
// A branch prints as name{children}, a leaf as name[value:type ...].
#pragma once

#include <string>

#include "amiparam/amiparam.h"

inline std::string DumpNode(const AmiEntry& e) {
    if (e.node == nullptr) return "<null>";
    std::string s = e.node->name ? e.node->name : "<noname>";
    if (e.kind == AMIPARAM_BRANCH) {
        s += "{";
        for (int i = 0; i < e.node->count; ++i) s += (i ? " " : "") + DumpNode(e.node->items.children[i]);
        return s + "}";
    }
    s += "[";
    for (int i = 0; i < e.node->count; ++i) {
        const AmiValue& v = e.node->items.values[i];
        s += (i ? " " : "") + std::string(v.text ? v.text : "<null>") + ":" + std::to_string(v.type);
    }
    return s + "]";
}

// Parses text; returns the dump on success, "#<code>" otherwise.
inline std::string ParseDump(const char* text) {
    AmiParamTree* tree = nullptr;
    int rc = AMIPARAM_Parse(text, &tree);
    if (rc != AMIPARAM_OK) return "#" + std::to_string(rc) + (tree ? "(tree set!)" : "");
    std::string s = DumpNode(tree->entries[0]);
    AMIPARAM_FreeTree(&tree);
    return s;
}
