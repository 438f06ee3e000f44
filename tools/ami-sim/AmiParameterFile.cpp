#include "tools/ami-sim/AmiParameterFile.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "amiparam/amiparam.h"

namespace amisim {

namespace {

// The tree is released with its owner, whatever path the reading takes.
struct Tree {
    AmiParamTree* tree = nullptr;
    ~Tree() { AMIPARAM_FreeTree(&tree); }
};

// '|' comments blanked (outside double quotes), so that the reader's
// offsets still point into the file's lines.
std::string WithoutComments(std::string text) {
    bool quoted = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '"') quoted = !quoted;
        if (quoted || text[i] != '|') continue;
        for (; i < text.size() && text[i] != '\n'; ++i) text[i] = ' ';
    }
    return text;
}

long LineAt(const std::string& text, long offset) {
    long line = 1;
    for (long i = 0; i < offset && i < static_cast<long>(text.size()); ++i)
        if (text[static_cast<std::size_t>(i)] == '\n') ++line;
    return line;
}

}  // namespace

std::string DescribeParseFailure(const std::string& text, int code, long where) {
    std::size_t quotes = 0;
    for (char c : text) quotes += c == '"';
    switch (code) {
        case AMIPARAM_NO_LIST:
            return "the file does not start with '('";
        case AMIPARAM_UNBALANCED:
            if (quotes % 2 != 0) return "a string is not closed before the end of the file";
            if (where >= 0 && where < static_cast<long>(text.size()) &&
                text[static_cast<std::size_t>(where)] == ')')
                return "a ')' closes no list";
            return "a list is not closed before the end of the file";
        case AMIPARAM_SECOND_ROOT:
            return "text after the closing parenthesis of the root list";
        case AMIPARAM_DEPTH:
            return "a list holds neither values nor other lists";
        case AMIPARAM_SYNTAX:
            return "a name or value is malformed";
        case AMIPARAM_NO_MEMORY:
            return "out of memory reading the file";
        default:
            return "the file cannot be read as a parameter tree";
    }
}

namespace {

const char* NameOf(const AmiNode* node) {
    return node && node->name ? node->name : "";
}

bool IsBranch(const AmiEntry& e) {
    return e.kind == AMIPARAM_BRANCH && e.node != nullptr;
}

// The child entry of a branch with the given name, or null.
const AmiEntry* Child(const AmiNode* branch, const std::string& name) {
    for (int i = 0; i < branch->count; ++i)
        if (name == NameOf(branch->items.children[i].node)) return &branch->items.children[i];
    return nullptr;
}

// The values of a leaf child, or null when there is none.
const AmiNode* Leaf(const AmiNode* branch, const std::string& name) {
    const AmiEntry* e = Child(branch, name);
    return e && e->kind == AMIPARAM_LEAF && e->node ? e->node : nullptr;
}

std::string Value(const AmiNode* leaf, int i) {
    return leaf && i < leaf->count && leaf->items.values[i].text ? leaf->items.values[i].text : "";
}

bool Number(const std::string& text, double& out) {
    if (text.empty()) return false;
    char* end = nullptr;
    errno = 0;
    const double v = std::strtod(text.c_str(), &end);
    if (*end != '\0' || errno == ERANGE || !std::isfinite(v)) return false;
    out = v;
    return true;
}

// The default value of one parameter, or "" when it has none.
std::string DefaultOf(const AmiNode* parameter) {
    std::string v;
    if (const AmiNode* d = Leaf(parameter, "Default")) v = Value(d, 0);
    if (v.empty()) {
        const AmiNode* f = Leaf(parameter, "Format");
        const std::string kind = Value(f, 0);
        if (kind == "Value" || kind == "Range" || kind == "Corner" || kind == "List")
            v = Value(f, 1);
    }
    if (!v.empty() && Value(Leaf(parameter, "Type"), 0) == "String") v = "\"" + v + "\"";
    return v;
}

AmiDeclaredParameter Declaration(const AmiNode* parameter, std::vector<std::string> path,
                                 const std::string& text) {
    AmiDeclaredParameter d;
    d.path = std::move(path);
    d.usage = Value(Leaf(parameter, "Usage"), 0);
    d.type = Value(Leaf(parameter, "Type"), 0);
    if (const AmiNode* f = Leaf(parameter, "Format")) {
        d.format = Value(f, 0);
        for (int k = 1; k < f->count; ++k) d.formatValues.push_back(Value(f, k));
    }
    if (const AmiNode* v = Leaf(parameter, "Default")) {
        d.defaultValue = Value(v, 0);
        d.hasDefault = true;
    }
    d.line = static_cast<int>(LineAt(text, parameter->offset));
    return d;
}

// Appends "(name value)" for each input parameter under `branch`, and
// "(group ...)" for each group that holds one; declares every parameter
// (a branch with a Usage leaf) on the way.
void Collect(const AmiNode* branch, const std::vector<std::string>& path, const std::string& text,
             std::string& out, std::vector<AmiDeclaredParameter>& declared, int depth) {
    if (depth > 64) return;  // the reader bounds nesting; this bounds the walk
    for (int i = 0; i < branch->count; ++i) {
        const AmiEntry& e = branch->items.children[i];
        if (!IsBranch(e)) continue;
        const std::string name = NameOf(e.node);
        std::vector<std::string> inner = path;
        inner.push_back(name);
        if (const AmiNode* usage = Leaf(e.node, "Usage")) {
            declared.push_back(Declaration(e.node, inner, text));
            const std::string u = Value(usage, 0);
            if (u != "In" && u != "InOut") continue;
            const std::string value = DefaultOf(e.node);
            if (!value.empty()) out += " (" + name + " " + value + ")";
            continue;
        }
        std::string body;
        Collect(e.node, inner, text, body, declared, depth + 1);
        if (!body.empty()) out += " (" + name + body + ")";
    }
}

void CollectReserved(const AmiNode* reserved, std::vector<AmiReservedValue>& out) {
    for (int i = 0; i < reserved->count; ++i) {
        const AmiEntry& e = reserved->items.children[i];
        if (!IsBranch(e)) continue;
        AmiReservedValue r;
        r.name = NameOf(e.node);
        r.type = Value(Leaf(e.node, "Type"), 0);
        if (const AmiNode* f = Leaf(e.node, "Format")) {
            r.format = Value(f, 0);
            for (int k = 1; k < f->count; ++k) {
                double v = 0.0;
                if (Number(Value(f, k), v)) r.numbers.push_back(v);
            }
        }
        double d = 0.0;
        if (r.numbers.empty() && Number(Value(Leaf(e.node, "Default"), 0), d)) {
            r.format = "Default";
            r.numbers.push_back(d);
        }
        if (!r.numbers.empty()) out.push_back(std::move(r));
    }
}

}  // namespace

std::string AmiDeclaredParameter::Name() const {
    std::string name;
    for (const std::string& p : path) name += (name.empty() ? "" : ".") + p;
    return name;
}

const AmiReservedValue* AmiFileContents::Find(const std::string& name) const {
    for (const AmiReservedValue& r : reserved)
        if (r.name == name) return &r;
    return nullptr;
}

bool AmiFileContents::Reserved(const std::string& name, double& value, bool& inUi) const {
    const AmiReservedValue* r = Find(name);
    if (r == nullptr) return false;
    if (r->format != "Value" && r->format != "Range" && r->format != "Corner" &&
        r->format != "Default")
        return false;
    value = r->numbers[0];
    inUi = r->type == "UI";
    return true;
}

bool ParseAmiFile(const std::string& amiText, const std::string& name, AmiFileContents& contents,
                  std::string& error) {
    const std::string text = WithoutComments(amiText);
    Tree t;
    long where = -1;
    const int code = AMIPARAM_ParseWhere(text.c_str(), &t.tree, &where);
    const std::string prefix = name.empty() ? std::string() : name + ":";
    if (code != AMIPARAM_OK) {
        error = prefix + std::to_string(LineAt(text, where < 0 ? 0 : where)) + ": " +
                DescribeParseFailure(text, code, where);
        return false;
    }
    const AmiNode* root = t.tree->entries[0].node;
    if (*NameOf(root) == '\0') {
        error = (name.empty() ? std::string() : name + ": ") + "the root list has no name";
        return false;
    }
    AmiFileContents c;
    c.root = NameOf(root);
    std::string body;
    if (const AmiEntry* specific = Child(root, "Model_Specific"); specific && IsBranch(*specific))
        Collect(specific->node, {}, text, body, c.declared, 1);
    c.parameters = "(" + std::string(NameOf(root)) + body + ")";
    if (const AmiEntry* reserved = Child(root, "Reserved_Parameters");
        reserved && IsBranch(*reserved))
        CollectReserved(reserved->node, c.reserved);
    contents = std::move(c);
    return true;
}

bool ReadAmiFile(const std::string& path, AmiFileContents& contents, std::string& error) {
    std::ifstream f(path, std::ios::binary);
    if (!f) {
        error = path + ": cannot open";
        return false;
    }
    std::stringstream text;
    text << f.rdbuf();
    return ParseAmiFile(text.str(), path, contents, error);
}

bool AmiDefaultParameters(const std::string& amiText, std::string& parameters, std::string& error) {
    AmiFileContents c;
    if (!ParseAmiFile(amiText, std::string(), c, error)) return false;
    parameters = c.parameters;
    return true;
}

bool ReadAmiDefaultParameters(const std::string& path, std::string& parameters,
                              std::string& error) {
    AmiFileContents c;
    if (!ReadAmiFile(path, c, error)) return false;
    parameters = c.parameters;
    return true;
}

}  // namespace amisim
