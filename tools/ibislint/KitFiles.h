// KitFiles: the files one ibislint run checks, each once.
//
// A directory argument stands for every .ibs, .pkg, .ebd and .ami file below
// it (extension case ignored, hidden entries included, symbolic links to
// directories not followed), in path order with the .ami files last: an
// .ibs file's [Algorithmic Model] reaches its parameter files, and the
// checker checks those on the way, so a parameter file the kit's .ibs files
// already reached is not checked a second time on its own.
#pragma once

#include <set>
#include <string>
#include <vector>

namespace ibislint {

// Whether a path names an IBIS-family file by its extension.
bool IsKitFile(const std::string& path);

// The files of the arguments in checking order: a file argument as given,
// a directory's kit files as above. A missing path stays in the list (its
// check reports it); a directory that cannot be read adds its text to
// `problems`. `fromDirectory` (when given) tells whether a directory was
// among the arguments.
std::vector<std::string> ExpandArguments(const std::vector<std::string>& args,
                                         std::vector<std::string>* problems, bool* fromDirectory);

// The set of files checked so far, by their canonical path.
class CheckedFiles {
public:
    // Records the path; false when it was recorded before.
    bool Add(const std::string& path);
    bool Contains(const std::string& path) const;

private:
    static std::string Key(const std::string& path);
    std::set<std::string> keys_;
};

}  // namespace ibislint
