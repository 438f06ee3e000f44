#include "tools/ami-sim/AmiParameterCheck.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "amiparam/amiparam.h"

namespace amisim {

namespace {

bool ToNumber(const std::string& text, double& out) {
    const int type = AMIPARAM_ValueType(text.c_str());
    if (type != AMIPARAM_INTEGER && type != AMIPARAM_REAL) return false;
    errno = 0;
    const double v = std::strtod(text.c_str(), nullptr);
    if (errno == ERANGE || !std::isfinite(v)) return false;
    out = v;
    return true;
}

bool Same(double a, double b) {
    return std::fabs(a - b) <= 1e-9 * std::max(std::fabs(a), std::fabs(b)) + 1e-300;
}

std::string Num(double v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.10g", v);
    return buf;
}

std::string Quoted(const std::string& s) {
    return "'" + (s.size() > 40 ? s.substr(0, 37) + "..." : s) + "'";
}

bool IsNumericType(const std::string& type) {
    return type == "Integer" || type == "Float" || type == "UI" || type == "Tap";
}

// Type: "" or why not.
std::string CheckType(const AmiDeclaredParameter& p, const std::string& value) {
    const std::string name = p.Name();
    const int kind = AMIPARAM_ValueType(value.c_str());
    double v = 0.0;
    if (p.type == "Integer" && kind != AMIPARAM_INTEGER)
        return name + " takes a whole number (Integer), not " + Quoted(value);
    if (IsNumericType(p.type) && !ToNumber(value, v))
        return name + " takes a number (" + p.type + "), not " + Quoted(value);
    if (p.type == "Boolean" && kind != AMIPARAM_BOOLEAN)
        return name + " takes True or False (Boolean), not " + Quoted(value);
    return "";
}

// The numbers of the format's values; false when one is not a number.
bool FormatNumbers(const AmiDeclaredParameter& p, std::vector<double>& n) {
    n.clear();
    for (const std::string& s : p.formatValues) {
        double v = 0.0;
        if (!ToNumber(s, v)) return false;
        n.push_back(v);
    }
    return true;
}

bool InList(const AmiDeclaredParameter& p, const std::string& value) {
    double v = 0.0;
    const bool numeric = ToNumber(value, v);
    for (const std::string& s : p.formatValues) {
        double w = 0.0;
        if (s == value || (numeric && ToNumber(s, w) && Same(v, w))) return true;
    }
    return false;
}

std::string Join(const std::vector<std::string>& values, const char* last) {
    std::string s;
    for (std::size_t i = 0; i < values.size(); ++i)
        s += (i == 0 ? "" : i + 1 == values.size() ? last : ", ") + values[i];
    return s;
}

bool Within(double x, double low, double high) {
    return (x >= low || Same(x, low)) && (x <= high || Same(x, high));
}

// On the grid from `low` by `step`, within [low, high].
bool OnGrid(double x, double low, double high, double step) {
    if (!Within(x, low, high)) return false;
    if (!(step > 0.0)) return Same(x, low);
    const double k = std::round((x - low) / step);
    return std::fabs(x - (low + k * step)) <= 1e-9 * std::max(step, std::fabs(x));
}

// Format: "" or why not. A format whose own values are not numbers (a
// fault the checker reports) accepts what the type accepts.
std::string CheckFormat(const AmiDeclaredParameter& p, const std::string& value) {
    const std::string name = p.Name();
    if (p.format == "List") {
        if (InList(p, value)) return "";
        return name + " takes " + Join(p.formatValues, " or ") + " (List), not " + Quoted(value);
    }
    std::vector<double> n;
    double x = 0.0;
    if (!FormatNumbers(p, n) || !ToNumber(value, x)) return "";
    if (p.format == "Value" && n.size() >= 1 && !Same(x, n[0]))
        return name + " is fixed at " + Num(n[0]) + " (Value), not " + Quoted(value);
    if (p.format == "Range" && n.size() >= 3 && !Within(x, n[1], n[2]))
        return name + " takes " + Num(n[1]) + " to " + Num(n[2]) + " (Range), not " + Quoted(value);
    if (p.format == "Increment" && n.size() >= 4 && !OnGrid(x, n[1], n[2], n[3]))
        return name + " takes " + Num(n[1]) + " to " + Num(n[2]) + " in steps of " + Num(n[3]) +
               " (Increment), not " + Quoted(value);
    if (p.format == "Steps" && n.size() >= 4 && n[3] >= 1.0 &&
        !OnGrid(x, n[1], n[2], (n[2] - n[1]) / std::round(n[3])))
        return name + " takes " + Num(n[1]) + " to " + Num(n[2]) + " in " + Num(std::round(n[3])) +
               " equal steps (Steps), not " + Quoted(value);
    if (p.format == "Corner" && n.size() >= 3 && !Same(x, n[0]) && !Same(x, n[1]) && !Same(x, n[2]))
        return name + " takes its typical, slow or fast value " + Num(n[0]) + ", " + Num(n[1]) +
               " or " + Num(n[2]) + " (Corner), not " + Quoted(value);
    return "";
}

// The value a parameter takes when the user gives none.
std::string DefaultValue(const AmiDeclaredParameter& p, Corner corner) {
    const std::vector<std::string>& f = p.formatValues;
    if (p.format == "Corner" && f.size() >= 3 && corner != Corner::Typical)
        return f[corner == Corner::Min ? 1 : 2];
    if (p.hasDefault && !p.defaultValue.empty()) return p.defaultValue;
    if ((p.format == "Value" || p.format == "Range" || p.format == "Corner" ||
         p.format == "List") &&
        !f.empty())
        return f[0];
    return "";
}

std::string Rendered(const AmiDeclaredParameter& p, const std::string& value) {
    return p.type == "String" ? "\"" + value + "\"" : value;
}

// A node of the string being built: a group holds its children in the
// order the file declares them.
struct Group {
    std::string name;
    std::string value;  // a parameter's; empty for a group
    std::vector<Group> children;
    Group& Child(const std::string& n) {
        for (Group& g : children)
            if (g.name == n && g.value.empty()) return g;
        children.push_back(Group{n, "", {}});
        return children.back();
    }
    std::string Text() const {
        std::string s = "(" + name;
        if (!value.empty()) return s + " " + value + ")";
        for (const Group& g : children) s += " " + g.Text();
        return s + ")";
    }
};

// ---- the user's string -----------------------------------------------

struct Tree {
    AmiParamTree* tree = nullptr;
    ~Tree() { AMIPARAM_FreeTree(&tree); }
};

const char* NameOf(const AmiNode* node) {
    return node && node->name ? node->name : "";
}

// Walks the user's tree below the root; false with `error` at the first
// leaf that names no settable parameter or has a value it does not take.
bool CheckBranch(const AmiFileContents& ami, const AmiNode* branch, const std::string& path,
                 std::string& error, int depth) {
    if (depth > 64) return true;
    for (int i = 0; i < branch->count; ++i) {
        const AmiEntry& e = branch->items.children[i];
        if (e.node == nullptr) continue;
        const std::string name = path.empty() ? NameOf(e.node) : path + "." + NameOf(e.node);
        if (e.kind == AMIPARAM_BRANCH) {
            if (!CheckBranch(ami, e.node, name, error, depth + 1)) return false;
            continue;
        }
        const AmiDeclaredParameter* p = nullptr;
        for (const AmiDeclaredParameter& d : ami.declared)
            if (d.Name() == name) p = &d;
        if (p == nullptr) {
            error = ami.root + " has no parameter " + Quoted(name) +
                    "; its parameters: " + ListParameters(ami);
            return false;
        }
        if (!p->Settable()) {
            error = name + " is not an input of " + ami.root + " (Usage " + p->usage +
                    "); it cannot be set";
            return false;
        }
        if (e.node->count != 1) {
            error = name + " takes one value, not " + std::to_string(e.node->count);
            return false;
        }
        const char* text = e.node->items.values[0].text;
        const std::string why = CheckParameterValue(*p, text ? text : "");
        if (!why.empty()) {
            error = why;
            return false;
        }
    }
    return true;
}

}  // namespace

std::string CheckParameterValue(const AmiDeclaredParameter& p, const std::string& value) {
    if (!p.Settable())
        return p.Name() + " is not an input of the model (Usage " +
               (p.usage.empty() ? std::string("not given") : p.usage) + "); it cannot be set";
    if (value.empty()) return p.Name() + " needs a value";
    const std::string why = CheckType(p, value);
    return why.empty() ? CheckFormat(p, value) : why;
}

const AmiDeclaredParameter* FindParameter(const AmiFileContents& ami, const std::string& name) {
    std::string n = name;
    const std::string prefix = ami.root + ".";
    if (!ami.root.empty() && n.compare(0, prefix.size(), prefix) == 0) n.erase(0, prefix.size());
    for (const AmiDeclaredParameter& p : ami.declared)
        if (p.Name() == n) return &p;
    // A leaf name alone, when only one parameter has it.
    const AmiDeclaredParameter* found = nullptr;
    for (const AmiDeclaredParameter& p : ami.declared) {
        if (p.path.back() != n) continue;
        if (found != nullptr) return nullptr;
        found = &p;
    }
    return found;
}

std::string DescribeParameter(const AmiDeclaredParameter& p) {
    std::string s = p.Name() + " (" + (p.type.empty() ? std::string("no Type") : p.type);
    const std::vector<std::string>& f = p.formatValues;
    if (p.format == "Range" && f.size() >= 3) s += ", Range " + f[1] + " to " + f[2];
    if (p.format == "Value" && !f.empty()) s += ", Value " + f[0];
    if (p.format == "List") s += ", List " + Join(f, ", ");
    if ((p.format == "Increment" || p.format == "Steps") && f.size() >= 4)
        s += ", " + p.format + " " + f[1] + " to " + f[2] +
             (p.format == "Steps" ? " in " : " by ") + f[3];
    if (p.format == "Corner" && f.size() >= 3)
        s += ", Corner " + f[0] + " (slow " + f[1] + ", fast " + f[2] + ")";
    const std::string d = DefaultValue(p, Corner::Typical);
    if (!d.empty()) s += ", default " + d;
    return s + ")";
}

std::string ListParameters(const AmiFileContents& ami) {
    std::string s;
    for (const AmiDeclaredParameter& p : ami.declared)
        if (p.Settable()) s += (s.empty() ? "" : "; ") + DescribeParameter(p);
    return s.empty() ? "none that can be set" : s;
}

std::string BuildParameterString(const AmiFileContents& ami,
                                 const std::map<std::string, std::string>& values, Corner corner) {
    Group root{ami.root, "", {}};
    for (const AmiDeclaredParameter& p : ami.declared) {
        if (!p.Settable()) continue;
        const auto given = values.find(p.Name());
        const std::string value = given != values.end() ? given->second : DefaultValue(p, corner);
        if (value.empty()) continue;
        Group* g = &root;
        for (std::size_t k = 0; k + 1 < p.path.size(); ++k) g = &g->Child(p.path[k]);
        g->children.push_back(Group{p.path.back(), Rendered(p, value), {}});
    }
    return root.Text();
}

namespace {

// "(name)": the string of a model given no parameters, which the reader
// refuses as a list without values.
bool BareName(const std::string& text, const std::string& root) {
    const std::size_t a = text.find_first_not_of(" \t\r\n");
    const std::size_t b = text.find_last_not_of(" \t\r\n");
    if (a == std::string::npos || text[a] != '(' || text[b] != ')') return false;
    const std::string inner = text.substr(a + 1, b - a - 1);
    const std::size_t c = inner.find_first_not_of(" \t\r\n");
    const std::size_t d = inner.find_last_not_of(" \t\r\n");
    return c != std::string::npos && inner.substr(c, d - c + 1) == root;
}

}  // namespace

bool CheckParameterString(const AmiFileContents& ami, const std::string& text, std::string& error) {
    if (BareName(text, ami.root)) return true;
    Tree t;
    long where = -1;
    const int code = AMIPARAM_ParseWhere(text.c_str(), &t.tree, &where);
    if (code != AMIPARAM_OK) {
        std::string why = DescribeParseFailure(text, code, where);
        const std::string file = "the file";
        if (why.size() >= file.size() && why.find(file) != std::string::npos)
            why.replace(why.find(file), file.size(), "the text");
        error = Quoted(text) + " cannot be read: " + why;
        return false;
    }
    const AmiNode* root = t.tree->entries[0].node;
    if (ami.root != NameOf(root)) {
        error = Quoted(text) + " is for a model named " + Quoted(NameOf(root)) +
                "; its .ami file " + "describes " + ami.root;
        return false;
    }
    return CheckBranch(ami, root, "", error, 1);
}

}  // namespace amisim
