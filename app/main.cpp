#include "app/checkcommand.h"
#include "app/evalcommand.h"
#include "app/exportcommand.h"
#include "app/version.h"
#include "common/decimalseparator.h"

#include <cstdio>
#include <iostream>
#include <string>
#include <string_view>
#include <unistd.h>
#include <vector>

namespace {

void PrintUsage() {
    std::printf("Usage:\n"
                "  curvana --eval EXPR [NAME=VALUE ...] [--explain]\n"
                "  curvana --check FILE...\n"
                "  curvana --export OUTDIR [--size WxH] [--format png|svg|pdf] FILE\n"
                "  curvana --help\n"
                "  curvana --version\n");
}

} // namespace

int main(int argc, char** argv) {
    curvana::InitDecimalSeparatorFromLocale();
    const std::string_view command = argc > 1 ? argv[1] : "";
    if (command == "--version") {
        std::printf("%s %s\n", curvana::ProgramName, curvana::ProgramVersion);
        return 0;
    }
    if (command == "--help") {
        PrintUsage();
        std::printf("\n%s", curvana::EvalCommandHelp());
        std::printf("\n%s", curvana::CheckCommandHelp());
        std::printf("\n%s", curvana::ExportCommandHelp());
        return 0;
    }
    if (command == "--eval") {
        return curvana::RunEvalCommand(std::vector<std::string>(argv + 2, argv + argc), std::cout,
                                       std::cerr);
    }
    if (command == "--check") {
        return curvana::RunCheckCommand(std::vector<std::string>(argv + 2, argv + argc), std::cout,
                                        std::cerr);
    }
    if (command == "--export") {
        return curvana::RunExportCommand(std::vector<std::string>(argv + 2, argv + argc), std::cout,
                                         std::cerr, isatty(STDERR_FILENO) == 1);
    }
    PrintUsage();
    return 2;
}
