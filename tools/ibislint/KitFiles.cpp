// KitFiles: expanding ibislint's arguments into the files to check.
#include "tools/ibislint/KitFiles.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace ibislint {

namespace {

std::string LowerExtension(const std::string& path) {
    std::string ext = fs::path(path).extension().string();
    for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return ext;
}

bool IsAmi(const std::string& path) {
    return LowerExtension(path) == ".ami";
}

// The kit files below `dir`, sorted, .ami files last.
void AddDirectory(const std::string& dir, std::vector<std::string>* out,
                  std::vector<std::string>* problems) {
    std::vector<std::string> found;
    std::error_code ec;
    fs::recursive_directory_iterator it(dir, fs::directory_options::skip_permission_denied, ec);
    if (ec) {
        if (problems) problems->push_back(dir + ": " + ec.message());
        return;
    }
    for (const fs::recursive_directory_iterator end; it != end; it.increment(ec)) {
        if (ec) {
            if (problems) problems->push_back(dir + ": " + ec.message());
            break;
        }
        std::error_code fileEc;
        if (it->is_regular_file(fileEc) && IsKitFile(it->path().string()))
            found.push_back(it->path().string());
    }
    std::sort(found.begin(), found.end(), [](const std::string& a, const std::string& b) {
        bool amiA = IsAmi(a), amiB = IsAmi(b);
        return amiA != amiB ? amiB : a < b;
    });
    out->insert(out->end(), found.begin(), found.end());
}

}  // namespace

bool IsKitFile(const std::string& path) {
    std::string ext = LowerExtension(path);
    return ext == ".ibs" || ext == ".pkg" || ext == ".ebd" || ext == ".ami";
}

std::vector<std::string> ExpandArguments(const std::vector<std::string>& args,
                                         std::vector<std::string>* problems, bool* fromDirectory) {
    std::vector<std::string> out;
    if (fromDirectory) *fromDirectory = false;
    for (const std::string& arg : args) {
        std::error_code ec;
        if (fs::is_directory(arg, ec)) {
            if (fromDirectory) *fromDirectory = true;
            AddDirectory(arg, &out, problems);
        } else {
            out.push_back(arg);
        }
    }
    return out;
}

std::string CheckedFiles::Key(const std::string& path) {
    std::error_code ec;
    fs::path canonical = fs::weakly_canonical(path, ec);
    return ec ? fs::absolute(path, ec).lexically_normal().string() : canonical.string();
}

bool CheckedFiles::Add(const std::string& path) {
    return keys_.insert(Key(path)).second;
}

bool CheckedFiles::Contains(const std::string& path) const {
    return keys_.count(Key(path)) > 0;
}

}  // namespace ibislint
