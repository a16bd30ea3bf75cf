#include "app/checkcommand.h"
#include "app/evalcommand.h"
#include "app/exportcommand.h"
#include "app/form1.h"
#include "app/tempslidefolder.h"
#include "app/version.h"
#include "common/decimalseparator.h"
#include "show/formslideshow.h"

#include <QApplication>
#include <QIcon>

#include <cstdio>
#include <iostream>
#include <string>
#include <string_view>
#include <unistd.h>
#include <vector>

namespace {

void PrintUsage() {
    std::printf("Usage:\n"
                "  curvana [FILE]\n"
                "  curvana --eval EXPR [NAME=VALUE ...] [--explain]\n"
                "  curvana --check FILE...\n"
                "  curvana --export OUTDIR [--size WxH] [--format png|svg|pdf] FILE\n"
                "  curvana --help\n"
                "  curvana --version\n"
                "\n"
                "Without arguments the launcher opens; with a document or slide show FILE the\n"
                "show starts at once and the program ends when it closes.\n");
}

// The launcher, and with a path the show of that file. Returns when the launcher closes.
int RunLauncher(int argc, char** argv) {
    QApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("curvana"));
    // Ties the windows to the desktop entry and its icon.
    app.setDesktopFileName(QStringLiteral("curvana"));
    app.setWindowIcon(QIcon(QStringLiteral(":/curvana/curvana.svg")));
    curvana::RemoveStaleTempSlideFolders();

    curvana::TLauncherHooks hooks;
    hooks.ShowDocument = [](const std::string& path) {
        curvana::TFormSlideShow window(nullptr);
        window.ShowDocument(path);
    };
    hooks.ShowSlides = [](int startIndex, const std::vector<std::string>& slides) {
        curvana::TFormSlideShow window(nullptr);
        window.ShowSlides(startIndex, slides);
    };
    const QString path = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    curvana::TForm1 launcher(path, std::move(hooks));
    launcher.show();
    return app.exec();
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
    if (command.starts_with("--")) {
        PrintUsage();
        return 2;
    }
    // No argument, or a path: the window program.
    return RunLauncher(argc, argv);
}
