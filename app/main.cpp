#include "app/version.h"
#include "common/decimalseparator.h"

#include <cstdio>
#include <string_view>

namespace {

void PrintUsage() {
    std::printf("Usage:\n"
                "  curvana --eval EXPR [NAME=VALUE ...] [--explain]\n"
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
        return 0;
    }
    PrintUsage();
    return 2;
}
