#include "cli_run.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sstream>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace pixmorph::test {

namespace {

// Reads the pipe to its end. Pipes, since a file size limit would also cut the child's messages
// if they went to files; one after the other, since the messages are a few lines at most.
std::string drain(int pipe) {
    std::string text;
    char chunk[4096];
    for (ssize_t got; (got = ::read(pipe, chunk, sizeof chunk)) != 0;)
        if (got > 0)
            text.append(chunk, static_cast<std::size_t>(got));
        else if (errno != EINTR)
            break;
    ::close(pipe);
    return text;
}

} // namespace

std::string cliProgram() {
    return std::string(PIXMORPH_BINARY_DIR) + "/bin/pixmorph-cli";
}

CliRun runCli(const std::vector<std::string>& args, const CliRunOptions& options) {
    CliRun run;
    const std::string program = cliProgram();
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const auto& arg : args)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);

    int out[2], err[2];
    if (::pipe2(out, O_CLOEXEC) != 0 || ::pipe2(err, O_CLOEXEC) != 0)
        return run;
    std::fflush(nullptr);
    const pid_t child = ::fork();
    if (child == 0) {
        ::dup2(out[1], STDOUT_FILENO);
        ::dup2(err[1], STDERR_FILENO);
        if (options.asUnprivilegedUser && ::geteuid() == 0 &&
            (::setgid(65534) != 0 || ::setuid(65534) != 0))
            ::_exit(126);
        if (options.cpuSecondsLimit >= 0) {
            const rlimit limit{static_cast<rlim_t>(options.cpuSecondsLimit),
                               static_cast<rlim_t>(options.cpuSecondsLimit)};
            ::setrlimit(RLIMIT_CPU, &limit);
        }
        if (options.fileSizeLimit >= 0) {
            const rlimit limit{static_cast<rlim_t>(options.fileSizeLimit),
                               static_cast<rlim_t>(options.fileSizeLimit)};
            ::setrlimit(RLIMIT_FSIZE, &limit);
        }
        ::execv(program.c_str(), argv.data());
        ::_exit(127);
    }
    ::close(out[1]);
    ::close(err[1]);
    run.out = drain(out[0]);
    run.err = drain(err[0]);
    int status = 0;
    rusage usage{};
    while (::wait4(child, &status, 0, &usage) < 0 && errno == EINTR) {
    }
    if (WIFEXITED(status))
        run.exitCode = WEXITSTATUS(status);
    else if (WIFSIGNALED(status))
        run.signal = WTERMSIG(status);
    run.peakMemoryKb = usage.ru_maxrss;
    return run;
}

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

} // namespace pixmorph::test
