#include "tools/ami-sim/AmiParameterFile.h"

#include <fstream>
#include <memory>
#include <sstream>
#include <vector>

namespace amisim {

namespace {

// Nesting deeper than this is refused rather than followed, so a hostile
// file cannot exhaust the stack.
constexpr int kMaxDepth = 64;

struct Item {
    bool isList = false;
    std::string text;  // a word or string
    bool quoted = false;
    std::vector<Item> items;  // a list: its name is items[0] when a word
};

class Reader {
public:
    explicit Reader(const std::string& text) : s_(text) {}

    bool ReadList(Item& out, int depth, std::string& error)
    {
        if (depth > kMaxDepth) {
            error = "lists nested more than " + std::to_string(kMaxDepth) + " deep";
            return false;
        }
        ++pos_;  // '('
        out.isList = true;
        while (true) {
            SkipBlanks();
            if (pos_ >= s_.size()) {
                error = "a list is not closed before the end of the file";
                return false;
            }
            const char c = s_[pos_];
            if (c == ')') {
                ++pos_;
                return true;
            }
            Item item;
            if (c == '(') {
                if (!ReadList(item, depth + 1, error)) return false;
            } else if (c == '"') {
                const std::size_t end = s_.find('"', pos_ + 1);
                if (end == std::string::npos) {
                    error = "a string is not closed before the end of the file";
                    return false;
                }
                item.text = s_.substr(pos_ + 1, end - pos_ - 1);
                item.quoted = true;
                pos_ = end + 1;
            } else {
                const std::size_t start = pos_;
                while (pos_ < s_.size() && !IsBlank(s_[pos_]) && s_[pos_] != '(' &&
                       s_[pos_] != ')' && s_[pos_] != '"' && s_[pos_] != '|')
                    ++pos_;
                item.text = s_.substr(start, pos_ - start);
            }
            out.items.push_back(std::move(item));
        }
    }

    bool ReadRoot(Item& root, std::string& error)
    {
        SkipBlanks();
        if (pos_ >= s_.size() || s_[pos_] != '(') {
            error = "the file does not start with '('";
            return false;
        }
        if (!ReadList(root, 1, error)) return false;
        SkipBlanks();
        if (pos_ < s_.size()) {
            error = "text after the closing parenthesis of the root list";
            return false;
        }
        return true;
    }

private:
    static bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
    void SkipBlanks()
    {
        while (pos_ < s_.size()) {
            if (IsBlank(s_[pos_])) {
                ++pos_;
            } else if (s_[pos_] == '|') {
                while (pos_ < s_.size() && s_[pos_] != '\n') ++pos_;
            } else {
                break;
            }
        }
    }

    const std::string& s_;
    std::size_t pos_ = 0;
};

std::string NameOf(const Item& list)
{
    return list.isList && !list.items.empty() && !list.items[0].isList ? list.items[0].text
                                                                       : std::string();
}

const Item* Child(const Item& list, const std::string& name)
{
    for (std::size_t i = 1; i < list.items.size(); ++i)
        if (NameOf(list.items[i]) == name) return &list.items[i];
    return nullptr;
}

std::string Render(const Item& value)
{
    return value.quoted ? "\"" + value.text + "\"" : value.text;
}

// The default value of one parameter, or "" when it has none.
std::string DefaultOf(const Item& parameter)
{
    if (const Item* d = Child(parameter, "Default"); d && d->items.size() >= 2)
        return Render(d->items[1]);
    if (const Item* f = Child(parameter, "Format"); f && f->items.size() >= 3) {
        const std::string kind = f->items[1].text;
        if (kind == "Value" || kind == "Range" || kind == "List") return Render(f->items[2]);
    }
    return std::string();
}

// Appends "(name value)" for each input parameter under `branch`, and
// "(group ...)" for each group that holds one.
void Collect(const Item& branch, std::string& out)
{
    for (std::size_t i = 1; i < branch.items.size(); ++i) {
        const Item& p = branch.items[i];
        const std::string name = NameOf(p);
        if (name.empty()) continue;
        if (const Item* usage = Child(p, "Usage")) {
            const std::string u = usage->items.size() >= 2 ? usage->items[1].text : "";
            if (u != "In" && u != "InOut") continue;
            const std::string value = DefaultOf(p);
            if (!value.empty()) out += " (" + name + " " + value + ")";
            continue;
        }
        std::string inner;
        Collect(p, inner);
        if (!inner.empty()) out += " (" + name + inner + ")";
    }
}

}  // namespace

bool AmiDefaultParameters(const std::string& amiText, std::string& parameters, std::string& error)
{
    Item root;
    Reader reader(amiText);
    if (!reader.ReadRoot(root, error)) return false;
    const std::string name = NameOf(root);
    if (name.empty()) {
        error = "the root list has no name";
        return false;
    }
    std::string body;
    if (const Item* specific = Child(root, "Model_Specific")) Collect(*specific, body);
    parameters = "(" + name + body + ")";
    return true;
}

bool ReadAmiDefaultParameters(const std::string& path, std::string& parameters,
                              std::string& error)
{
    std::ifstream f(path, std::ios::binary);
    if (!f) {
        error = path + ": cannot open";
        return false;
    }
    std::stringstream text;
    text << f.rdbuf();
    if (!AmiDefaultParameters(text.str(), parameters, error)) {
        error = path + ": " + error;
        return false;
    }
    return true;
}

}  // namespace amisim
