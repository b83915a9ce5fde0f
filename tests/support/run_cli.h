#pragma once
// Runs pixmorph-cli in-process and captures what it printed.

#include "cli/cli.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace pixmorph::testing {

struct CliResult {
    int status;
    std::string out, err;
};

inline CliResult runCli(std::vector<std::string> args) {
    args.insert(args.begin(), "pixmorph-cli");
    std::vector<char*> argv;
    for (std::string& arg : args)
        argv.push_back(arg.data());
    ::testing::internal::CaptureStdout();
    ::testing::internal::CaptureStderr();
    const int status = cli::run(static_cast<int>(argv.size()), argv.data());
    std::string out = ::testing::internal::GetCapturedStdout();
    return {status, out, ::testing::internal::GetCapturedStderr()};
}

} // namespace pixmorph::testing
