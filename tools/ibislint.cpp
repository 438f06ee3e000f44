// ibislint: checks IBIS-family files (.ibs, .pkg, .ebd, .ami) and prints
// the checker's messages and a summary for each file.
//
// Exit status: 0 when every file passed, 1 when any failed, 2 on a usage
// error.

#include <cstdio>
#include <cstring>

#include "IbisParser/check.h"
#include "IbisParser/cmn.h"
#include "IbisParser/parse.h"

namespace {

const char kUsage[] =
    "usage: ibislint [options] FILE...\n"
    "\n"
    "Checks each FILE by its extension: .ibs (component), .pkg (package),\n"
    ".ebd (board description) or .ami (AMI parameter file). A FILE with\n"
    "another extension is checked as an .ibs file. For each file the\n"
    "messages and a summary are printed on standard output.\n"
    "\n"
    "options:\n"
    "  --long-lines          allow lines longer than 80 (IBIS 2.x/3.x) or\n"
    "                        120 (IBIS 4.x/5.x) characters\n"
    "  --silent              do not print the \"Checking ...\" banner\n"
    "  --no-file-name-check  do not check the [File Name] value's characters\n"
    "                        or compare it with the file's name\n"
    "  --accept-v1           check IBIS 1.x files (by the IBIS 2.1 rules)\n"
    "  --force-v5            check every file by the IBIS 5.0 rules,\n"
    "                        whatever its [IBIS Ver]\n"
    "  --no-char-check       keep control, NUL and non-ASCII characters\n"
    "                        without reporting them\n"
    "  --help                print this text and exit\n"
    "  --                    end of options\n"
    "\n"
    "exit status: 0 every file passed, 1 a file failed, 2 usage error\n";

struct Option {
  const char* name;
  int (*set)(int);
};

const Option kOptions[] = {
    {"--long-lines", PARSE_AllowLongLines},
    {"--silent", PARSE_SetSilent},
    {"--no-file-name-check", PARSE_SetNoFileNameCheck},
    {"--accept-v1", PARSE_SetAcceptVersion1},
    {"--force-v5", PARSE_SetForceVersion5},
    {"--no-char-check", CMN_SetNoCharCheck},
};

}  // namespace

int main(int argc, char** argv) {
  int first = argc;
  for (int i = 1; i < argc; ++i) {
    const char* arg = argv[i];
    if (std::strcmp(arg, "--") == 0) {
      first = i + 1;
      break;
    }
    if (arg[0] != '-' || arg[1] == '\0') {
      first = i;
      break;
    }
    if (std::strcmp(arg, "--help") == 0 || std::strcmp(arg, "-h") == 0) {
      std::fputs(kUsage, stdout);
      return 0;
    }
    bool known = false;
    for (const Option& o : kOptions) {
      if (std::strcmp(arg, o.name) == 0) {
        o.set(1);
        known = true;
      }
    }
    if (!known) {
      std::fprintf(stderr, "ibislint: unknown option '%s'\n%s", arg, kUsage);
      return 2;
    }
  }
  if (first >= argc) {
    std::fputs("ibislint: no file given\n", stderr);
    std::fputs(kUsage, stderr);
    return 2;
  }
  int failed = 0;
  for (int i = first; i < argc; ++i) {
    if (!CHECK_File(argv[i])) failed = 1;
    std::fflush(stdout);
  }
  return failed;
}
