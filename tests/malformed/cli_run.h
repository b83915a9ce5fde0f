#pragma once
// Runs pixmorph-cli as a child process, as a user would, and keeps what it said, its exit code
// and its peak memory. The child can be given a file size limit (a write cut short, a full
// disk), a CPU time limit (a hang ends in SIGXCPU) or an unprivileged user (so a read-only
// folder stops it even when the tests run as root).

#include <string>
#include <vector>

namespace pixmorph::test {

struct CliRunOptions {
    long fileSizeLimit = -1; // RLIMIT_FSIZE in bytes; -1 leaves it unlimited
    bool asUnprivilegedUser = false;
    long cpuSecondsLimit = -1; // RLIMIT_CPU: a run that would hang is killed (SIGXCPU) instead
};

struct CliRun {
    int exitCode = -1;     // -1 when the child did not exit normally
    int signal = 0;        // the signal that ended it, if any
    std::string out;       // stdout
    std::string err;       // stderr
    long peakMemoryKb = 0; // maximum resident set size
};

// The program under test, from the build folder of the tests.
std::string cliProgram();

CliRun runCli(const std::vector<std::string>& args, const CliRunOptions& options = {});

// The lines of a text, without their line ends.
std::vector<std::string> linesOf(const std::string& text);

} // namespace pixmorph::test
