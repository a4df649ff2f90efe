#include "usage.h"

#include "model/format.h"

namespace morvane::cli {

namespace {

constexpr const char* kSynopsis =
    R"(Usage: morvane-cli -n N [OPTION]... INPUT OUTPUT
       morvane-cli -n N [OPTION]... -d DIR [-r] INPUT...
       morvane-cli -n N [OPTION]... -i [--backup[=SUFFIX]] [-r] INPUT...
       morvane-cli -n N [OPTION]... (-d DIR | -i) --files-from=FILE [-0]
       morvane-cli --list [--json] INPUT...
)";

// The options, each in the group of the task it serves; the rows start with
// their names, which the man page's test reads.
std::string optionGroups() {
    return R"(
Adds a block of N collision volumes to each PRIM chunk of a ZRM model and
writes the rewritten model, or lists a model's chunks. An output name keeps
what it held until the whole new model takes it.

Rewriting one model:
  -n, --volumes=N         add N collision volumes ()" +
           zrm::VolumeRange() + R"() to each PRIM
                          chunk; every rewrite needs it
      --skip-rewritten    leave out, with a note, a model that already
                          carries a block of collision volumes (without it,
                          such a model gets a second block and a warning)

A batch into a folder:
  -d, --directory=DIR     write each model into DIR under its own file name;
                          when one model fails, the others are still done

In place:
  -i, --in-place          rewrite each model into its own name; a model that
                          already carries a block is left out, so running
                          the same command twice changes nothing
      --backup[=SUFFIX]   keep each model as it was under its name with
                          SUFFIX added (.bak when none is given)

Choosing the models:
  -r, --recursive         an INPUT that is a folder stands for every .zrm
                          file under it, in name order; with -d, DIR gets
                          the tree below that folder
      --files-from=FILE   read more models from FILE (- for standard input),
                          one a line, each name taken as written
  -0, --null              the names in FILE end with a NUL byte, not a line
                          break, as find -print0 writes them

What is printed:
  The trace of the pass goes to standard output; a one-line summary of each
  model, and every error, go to standard error.
  -q, --quiet             print no trace
      --json              print one JSON object a model on standard output
                          (JSON Lines) in place of the trace
      --dry-run           read and check everything as a rewrite would,
                          write nothing, and say what it would do

Listing:
      --list              list the chunks of each model as the rewrite meets
                          them, and write nothing
      --json              print the listing as JSON

  -h, --help              print this help and exit (/? too on Windows)
      --version           print the version and exit
)";
}

constexpr const char* kExitStatusAndExamples = R"(
Exit status: 0 when every model was written, listed or left out; 1 when any
model was refused or a file could not be read or written; 2 for a usage error.
A dry run exits as the real run would.

Examples:
  morvane-cli -n 3 model.zrm model-collide.zrm
  morvane-cli -n 3 -r -d out ships          # out/frigate/hull.zrm, ...
  morvane-cli -n 3 -r -i --backup ships     # keeps ships/frigate/hull.zrm.bak
  find ships -name '*.zrm' -print0 | morvane-cli -n 3 -i --files-from=- -0
  morvane-cli -n 3 -r -d out --dry-run --json ships
  morvane-cli --list model.zrm

'man morvane-cli' tells more.
)";

}  // namespace

std::string FullUsage() {
    return kSynopsis + optionGroups() + kExitStatusAndExamples;
}

std::string ShortUsage() {
    return std::string(kSynopsis) + "Run 'morvane-cli --help' for the options.\n";
}

bool IsWindowsHelpRequest(const std::string& word) {
#ifdef _WIN32
    return word == "/?";
#else
    static_cast<void>(word);
    return false;
#endif
}

}  // namespace morvane::cli
