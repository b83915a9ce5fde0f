#pragma once
// Runs pixmorph-cli as a child process, as a user would. The child can be given a file size
// limit, a CPU time limit (a hang ends in SIGXCPU), a wall-clock limit (a wait ends in
// SIGALRM) or an unprivileged user (so a read-only folder stops it even when the tests run as
// root). That user may not reach the build (a clone in a folder only root can enter), so it
// runs a copy of the program placed where it can.
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace pixmorph::test {

struct CliRunOptions {
    long fileSizeLimit = -1, cpuSecondsLimit = -1, wallSecondsLimit = -1; // -1: unlimited
    bool asUnprivilegedUser = false;
};

struct CliRun {
    int exitCode = -1, signal = 0; // exitCode -1: ended by the signal
    std::string out, err;          // through pipes, as a file size limit cuts files
    long peakMemoryKb = 0;
};

inline std::string drain(int fd) {
    std::string text;
    char chunk[4096];
    for (ssize_t got; (got = ::read(fd, chunk, sizeof chunk)) != 0;)
        if (got > 0)
            text.append(chunk, static_cast<std::size_t>(got));
        else if (errno != EINTR)
            break;
    ::close(fd);
    return text;
}

inline std::string builtProgram() {
    return std::string(PIXMORPH_BINARY_DIR) + "/bin/pixmorph-cli";
}

// A copy of the program in a folder of /tmp that everyone may enter, made once and removed when
// the tests end; empty when it cannot be made. The program needs nothing of the build besides.
inline const std::string& programForEveryone() {
    static const struct Copy {
        std::string folder, program;
        Copy() {
            std::string pattern = "/tmp/pixmorph-cli-XXXXXX";
            std::error_code error;
            if (!::mkdtemp(pattern.data()) || ::chmod(pattern.c_str(), 0755) != 0)
                return;
            folder = pattern;
            if (std::filesystem::copy_file(builtProgram(), folder + "/pixmorph-cli", error) &&
                ::chmod((folder + "/pixmorph-cli").c_str(), 0755) == 0)
                program = folder + "/pixmorph-cli";
        }
        ~Copy() {
            std::error_code ignored;
            if (!folder.empty())
                std::filesystem::remove_all(folder, ignored);
        }
    } copy;
    return copy.program;
}

// Starts the program with the arguments in a child process whose setup (before the program
// replaces it) is given; its process number.
template <class Setup>
pid_t startCli(const std::string& program, const std::vector<std::string>& args, Setup setup) {
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const auto& arg : args)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    std::fflush(nullptr);
    const pid_t child = ::fork();
    if (child == 0) {
        setup();
        ::execv(program.c_str(), argv.data());
        ::_exit(127);
    }
    return child;
}

inline CliRun runCli(const std::vector<std::string>& args, const CliRunOptions& options = {}) {
    const bool dropsPrivileges = options.asUnprivilegedUser && ::geteuid() == 0;
    const std::string program = dropsPrivileges ? programForEveryone() : builtProgram();
    CliRun run;
    int out[2], err[2];
    if (::pipe2(out, O_CLOEXEC) != 0 || ::pipe2(err, O_CLOEXEC) != 0)
        return run;
    const pid_t child = startCli(program, args, [&] {
        ::dup2(out[1], STDOUT_FILENO);
        ::dup2(err[1], STDERR_FILENO);
        if (dropsPrivileges && (::setgid(65534) != 0 || ::setuid(65534) != 0))
            ::_exit(126);
        for (const auto& [resource, limit] : {std::pair{RLIMIT_CPU, options.cpuSecondsLimit},
                                              {RLIMIT_FSIZE, options.fileSizeLimit}})
            if (const rlimit both{rlim_t(limit), rlim_t(limit)}; limit >= 0)
                ::setrlimit(resource, &both);
        if (options.wallSecondsLimit >= 0)
            ::alarm(static_cast<unsigned>(options.wallSecondsLimit)); // kept across execv
    });
    ::close(out[1]);
    ::close(err[1]);
    run.out = drain(out[0]); // the larger one first: stderr holds a line for each failed input
    run.err = drain(err[0]);
    int status = 0;
    rusage usage{};
    while (::wait4(child, &status, 0, &usage) < 0 && errno == EINTR) {
    }
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
    run.peakMemoryKb = usage.ru_maxrss;
    return run;
}

} // namespace pixmorph::test
