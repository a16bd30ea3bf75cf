#include "app/checkcommand.h"
#include "app/evalcommand.h"
#include "app/exportcommand.h"
#include "app/form1.h"
#include "app/tempslidefolder.h"
#include "app/version.h"
#include "common/decimalseparator.h"
#include "show/formslideshow.h"
#include "show/livereload.h"
#include "show/screenlabel.h"

#include <QApplication>
#include <QGuiApplication>
#include <QIcon>
#include <QPointer>
#include <QScreen>

#include <cstdio>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <unistd.h>
#include <vector>

namespace {

void PrintUsage() {
    std::printf("Usage:\n"
                "  curvana [--screen N|NAME] [FILE]\n"
                "  curvana --eval EXPR [NAME=VALUE ...] [--explain]\n"
                "  curvana --check FILE...\n"
                "  curvana --export OUTDIR [--size WxH] [--scale F] [--smooth] [--format "
                "png|svg|pdf] FILE\n"
                "  curvana --help\n"
                "  curvana --version\n"
                "\n"
                "Without arguments the launcher opens; with a document or slide show FILE the\n"
                "show starts at once and the program ends when it closes. --screen chooses the\n"
                "screen of the show by its number (from 1) or name; without it the show opens\n"
                "on the screen of the launcher or of the mouse pointer.\n");
}

// The screen named by number (from 1) or by name, or none.
QScreen* FindScreen(const QString& choice) {
    const QList<QScreen*> screens = QGuiApplication::screens();
    bool isNumber = false;
    const int number = choice.toInt(&isNumber);
    if (isNumber && number >= 1 && number <= screens.size())
        return screens[number - 1];
    for (QScreen* screen : screens)
        if (screen->name() == choice)
            return screen;
    return nullptr;
}

// The launcher, and with a path the show of that file. Returns when the launcher closes.
int RunLauncher(int argc, char** argv, std::optional<std::string> path,
                const std::optional<std::string>& screenChoice) {
    QApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("curvana"));
    // Ties the windows to the desktop entry and its icon.
    app.setDesktopFileName(QStringLiteral("curvana"));
    app.setWindowIcon(QIcon(QStringLiteral(":/curvana/curvana.svg")));
    curvana::RemoveStaleTempSlideFolders();

    // Empty again when the screen goes away (a projector unplugged while the launcher is up).
    QPointer<QScreen> screen;
    if (screenChoice) {
        screen = FindScreen(QString::fromLocal8Bit(*screenChoice));
        if (screen == nullptr) {
            std::fprintf(stderr, "curvana: no screen '%s'; the screens are:\n",
                         screenChoice->c_str());
            const QList<QScreen*> screens = QGuiApplication::screens();
            for (qsizetype i = 0; i < screens.size(); ++i)
                std::fprintf(stderr, "  %s\n",
                             curvana::ScreenLabel(i + 1, *screens[i]).toLocal8Bit().constData());
            return 2;
        }
    }

    curvana::TForm1* launcher = nullptr;
    // The chosen screen, else the launcher's while it is up, else the pointer's.
    const auto place = [&screen, &launcher](curvana::TFormSlideShow& window) {
        if (screen != nullptr)
            window.SetShowScreen(screen);
        else if (launcher != nullptr && launcher->isVisible())
            window.SetShowScreen(launcher->screen());
    };
    curvana::TLauncherHooks hooks;
    hooks.ShowDocument = [place](const std::string& file) {
        curvana::TFormSlideShow window(nullptr);
        place(window);
        window.ShowDocument(file);
    };
    hooks.ShowSlides = [place](int startIndex, const std::vector<std::string>& slides,
                               const curvana::TSlideShowSource& source) {
        curvana::TFormSlideShow window(nullptr);
        place(window);
        window.LiveReload->SetSource(source);
        window.ShowSlides(startIndex, slides);
    };
    curvana::TForm1 form(std::move(path), std::move(hooks));
    launcher = &form;
    form.show();
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
    // The path's bytes as given: a name in another encoding still reaches its file.
    std::optional<std::string> screenChoice;
    int first = 1;
    if (command == "--screen") {
        if (argc < 3) {
            PrintUsage();
            return 2;
        }
        screenChoice = argv[2];
        first = 3;
    } else if (command.starts_with("--")) {
        PrintUsage();
        return 2;
    }
    std::optional<std::string> path;
    if (argc > first)
        path = std::string(argv[first]);
    // No argument, or a path: the window program.
    return RunLauncher(argc, argv, std::move(path), screenChoice);
}
