// ibislint: checks IBIS-family files (.ibs, .pkg, .ebd, .ami), or every such
// file of a kit directory, and prints the checker's messages and a verdict
// for each file in the chosen format.
//
// Exit status: 0 when every file passed, 1 when any failed (or a directory
// could not be read), 2 on a usage error.

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "IbisParser/amichk.h"
#include "IbisParser/amiver.h"
#include "IbisParser/check.h"
#include "IbisParser/circuit.h"
#include "IbisParser/cmn.h"
#include "IbisParser/msg.h"
#include "IbisParser/parse.h"
#include "IbisParser/ver.h"
#include "tools/ibislint/KitFiles.h"
#include "tools/ibislint/LintReport.h"

namespace {

// Messages of one code shown per file before the rest are only counted: a
// systematic fault (a file read by the wrong version's rules, say) is
// recognisable from a screenful, and thousands of identical lines bury the
// other findings.
const int kDefaultRepeatLimit = 20;

const char kUsage[] =
    "usage: ibislint [options] FILE|DIR...\n"
    "\n"
    "Checks each FILE by its extension: .ibs (component), .pkg (package),\n"
    ".ebd (board description) or .ami (AMI parameter file). A FILE with\n"
    "another extension is checked as an .ibs file. A DIR stands for every\n"
    ".ibs, .pkg, .ebd and .ami file below it, .ami files last; each file is\n"
    "checked once, and an .ami file already checked through the\n"
    "[Algorithmic Model] of an .ibs file is not checked again. With more\n"
    "than one file, or a DIR, the run ends with a line counting the files\n"
    "passed and failed.\n"
    "\n"
    "An .ibs, .pkg or .ebd file is checked by the rules of the IBIS version\n"
    "its [IBIS Ver] declares (2.0 to 7.2); a later version by the 7.2 rules.\n"
    "\n"
    "options:\n"
    "  --format FORMAT       text (default): the messages and a summary per\n"
    "                        file; gnu: one 'FILE:LINE: error: TEXT [E1234]'\n"
    "                        line per message and a verdict line per file;\n"
    "                        json: one document with each file's verdict,\n"
    "                        counts and messages (tools/ibislint.schema.json)\n"
    "  --all-messages        print every message; by default only the first\n"
    "                        20 of each code per file are printed and one\n"
    "                        line says how many more there were (the counts\n"
    "                        always include them)\n"
    "  --repeat-limit N      print the first N messages of each code per\n"
    "                        file (0: all)\n"
    "  --long-lines          allow lines longer than 80 (IBIS 2.x/3.x) or\n"
    "                        120 (IBIS 4.0 and later) characters\n"
    "  --silent              do not print the \"Checking ...\" banner\n"
    "  --no-file-name-check  do not check the [File Name] value's characters\n"
    "                        or compare it with the file's name\n"
    "  --accept-v1           check IBIS 1.x files (by the IBIS 2.1 rules)\n"
    "  --force-v5            check every file by the IBIS 5.0 rules,\n"
    "                        whatever its [IBIS Ver] (5.1, 6.x, 7.x ...)\n"
    "  --no-char-check       keep control, NUL and non-ASCII characters\n"
    "                        without reporting them\n"
    "  --analog-check        also check that the analog nodes of circuit\n"
    "                        calls have drivers and receivers\n"
    "  --help                print this text and exit\n"
    "  --                    end of options\n"
    "\n"
    "exit status: 0 every file passed, 1 a file failed, 2 usage error\n";

struct Switch {
    const char* name;
    int (*set)(int);
};

const Switch kSwitches[] = {
    {"--long-lines", PARSE_AllowLongLines},
    {"--silent", PARSE_SetSilent},
    {"--no-file-name-check", PARSE_SetNoFileNameCheck},
    {"--accept-v1", PARSE_SetAcceptVersion1},
    {"--force-v5", PARSE_SetForceVersion5},
    {"--no-char-check", CMN_SetNoCharCheck},
    {"--analog-check", CIRCUIT_SetAnalogCheck},
};

struct Options {
    ibislint::Format format = ibislint::Format::Text;
    int repeatLimit = kDefaultRepeatLimit;
    std::vector<std::string> paths;
};

int UsageError(const char* what, const char* arg) {
    std::fprintf(stderr, "ibislint: %s '%s'\n%s", what, arg, kUsage);
    return 2;
}

bool ParseCount(const char* text, int* value) {
    char* end = nullptr;
    long n = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || n < 0 || n > 1000000) return false;
    *value = static_cast<int>(n);
    return true;
}

// The value of an option given as "--opt VALUE" or "--opt=VALUE"; null when
// `arg` is not that option. Moves `i` past a separate value.
const char* OptionValue(const char* name, int argc, char** argv, int* i, bool* missing) {
    size_t n = std::strlen(name);
    const char* arg = argv[*i];
    if (std::strncmp(arg, name, n) != 0) return nullptr;
    if (arg[n] == '=') return arg + n + 1;
    if (arg[n] != '\0') return nullptr;
    if (*i + 1 >= argc) {
        *missing = true;
        return nullptr;
    }
    return argv[++*i];
}

// Returns -1 to go on, else the exit status.
int ParseOptions(int argc, char** argv, Options* o) {
    int i = 1;
    for (; i < argc; ++i) {
        const char* arg = argv[i];
        bool missing = false;
        if (std::strcmp(arg, "--") == 0) {
            ++i;
            break;
        }
        if (arg[0] != '-' || arg[1] == '\0') break;
        if (std::strcmp(arg, "--help") == 0 || std::strcmp(arg, "-h") == 0) {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (const char* v = OptionValue("--format", argc, argv, &i, &missing)) {
            if (!ibislint::ParseFormat(v, &o->format)) return UsageError("unknown format", v);
            continue;
        }
        if (const char* v = OptionValue("--repeat-limit", argc, argv, &i, &missing)) {
            if (!ParseCount(v, &o->repeatLimit)) return UsageError("bad repeat limit", v);
            continue;
        }
        if (missing) return UsageError("option needs a value", arg);
        if (std::strcmp(arg, "--all-messages") == 0) {
            o->repeatLimit = 0;
            continue;
        }
        bool known = false;
        for (const Switch& s : kSwitches) {
            if (std::strcmp(arg, s.name) == 0) {
                s.set(1);
                known = true;
            }
        }
        if (!known) return UsageError("unknown option", arg);
    }
    for (; i < argc; ++i) o->paths.push_back(argv[i]);
    if (o->paths.empty()) {
        std::fputs("ibislint: no file given\n", stderr);
        std::fputs(kUsage, stderr);
        return 2;
    }
    return -1;
}

const char* TypeName(const std::string& path) {
    switch (CHECK_FileType(path.c_str())) {
        case CMN_FILE_PKG:
            return "pkg";
        case CMN_FILE_EBD:
            return "ebd";
        case CMN_FILE_AMI:
            return "ami";
        default:
            return "ibs";
    }
}

// Parameter files checked through an .ibs file, so that a kit run skips them.
ibislint::CheckedFiles g_checked;

void NoteReached(const char* path) {
    g_checked.Add(path);
}

}  // namespace

int main(int argc, char** argv) {
    Options o;
    int status = ParseOptions(argc, argv, &o);
    if (status >= 0) return status;

    std::vector<std::string> problems;
    bool fromDirectory = false;
    std::vector<std::string> files = ibislint::ExpandArguments(o.paths, &problems, &fromDirectory);
    for (const std::string& p : problems) std::fprintf(stderr, "ibislint: %s\n", p.c_str());
    if (files.empty()) {
        std::fputs("ibislint: no .ibs, .pkg, .ebd or .ami file found\n", stderr);
        return 1;
    }

    if (o.format != ibislint::Format::Text) PARSE_SetSilent(1);
    MSG_SetRepeatLimit(o.repeatLimit);
    AMICHK_SetReached(NoteReached);
    ibislint::Report report(o.format, stdout);
    for (const std::string& file : files) {
        if (!g_checked.Add(file)) continue;
        report.BeginFile(file, TypeName(file));
        bool passed = CHECK_File(file.c_str()) != 0;
        VerDecision version;
        AmichkVersion ami;
        if (CHECK_LastVersion(&version)) {
            report.SetVersion(version.declared, version.rules);
        } else if (CHECK_LastAmiVersion(&ami)) {
            report.SetVersion(ami.value, AMIVER_Name(ami.level));
        }
        report.EndFile(passed);
        std::fflush(stdout);
    }
    AMICHK_SetReached(nullptr);
    int failed = report.Finish(fromDirectory || files.size() > 1);
    return failed > 0 || !problems.empty() ? 1 : 0;
}
