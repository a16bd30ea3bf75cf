#pragma once

#include <string>
#include <vector>

namespace curvana::test {

struct TRun {
    int ExitCode = -1;
    std::string Out;
    std::string Err;
};

// Runs the built program with the arguments, in this process's environment without the
// variables named in `removed` and with the `added` entries ("NAME=VALUE"), and returns its
// exit code and what it printed.
TRun RunCurvana(const std::vector<std::string>& arguments, const std::vector<std::string>& removed,
                const std::vector<std::string>& added);

} // namespace curvana::test
