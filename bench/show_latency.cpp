// Response times of the slide window on a 1920 x 1080 offscreen screen:
//   curvana_show_latency [--reps N] [--startup-runs M] [SLIDESHOW]
//       key press (Right, keypad +, Page Down) to finished picture, per slide, N repetitions;
//       then M fresh processes of this program in --startup mode.
//   curvana_show_latency --startup [SLIDESHOW]
//       one start: main() to the first slide on screen, as the program's entry opens a show.
// "Finished" is the end of the event whose handling painted the view and flushed the window.
#include "app/slideshowfile.h"
#include "app/tempslidefolder.h"
#include "common/decimalseparator.h"
#include "show/controlpanel.h"
#include "show/coordinateimage.h"
#include "show/formslideshow.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <exception>
#include <map>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using namespace curvana;
using TClock = std::chrono::steady_clock;

constexpr int ScreenWidth = 1920;
constexpr int ScreenHeight = 1080;

// CPU time of this thread in milliseconds: the work itself, without what other processes on a
// busy machine take from it.
double ThreadCpuMs() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) * 1e3 + static_cast<double>(ts.tv_nsec) / 1e6;
}

// CPU time of the whole process since it started, loading and linking included.
double ProcessCpuMs() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) * 1e3 + static_cast<double>(ts.tv_nsec) / 1e6;
}

double Ms(TClock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

// CLOCK_MONOTONIC in nanoseconds: the same clock in every process, so a parent can compare
// the moment it started a child with the moment the child reached main().
long long MonotonicNs() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<long long>(ts.tv_sec) * 1000000000LL + ts.tv_nsec;
}

// Removes the screen configuration when the process that wrote it ends.
struct TScreenConfigFile {
    std::string Path;
    ~TScreenConfigFile() {
        if (!Path.empty())
            unlink(Path.c_str());
    }
} ScreenConfigFile;

// The offscreen platform's screen is 800 x 600 unless a configuration names another. The file
// is new and private (mkstemps), so no other user's file or link is written through.
void UseFullHdOffscreenScreen() {
    const char* current = std::getenv("QT_QPA_PLATFORM");
    if (current != nullptr && std::strcmp(current, "offscreen") != 0)
        return; // a configuration of the caller's own (or the parent's) stays
    const char* tmp = std::getenv("TMPDIR");
    std::string path = std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") +
                       "/curvana-show-latency-XXXXXX.json";
    const int fd = mkstemps(path.data(), 5);
    if (fd < 0)
        return; // the default screen; the size check stops the run
    ScreenConfigFile.Path = path;
    const std::string config =
        "{\"synchronousWindowSystemEvents\": false, \"windowFrameMargins\": false, "
        "\"screens\": [{\"name\": \"bench\", \"x\": 0, \"y\": 0, \"width\": 1920, "
        "\"height\": 1080, \"logicalDpi\": 96, \"logicalBaseDpi\": 96, \"dpr\": 1}]}\n";
    const bool written =
        write(fd, config.data(), config.size()) == static_cast<ssize_t>(config.size());
    close(fd);
    if (written)
        setenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + path).c_str(), 1);
}

// Watches the events that finish a picture. Every event passes through notify; the outermost
// call that painted the view (directly or through its children) is where the window's picture
// is complete and flushed.
class TLatencyApp : public QApplication {
public:
    using QApplication::QApplication;

    TFormSlideShow* Window = nullptr;

    // Armed before a key: the next finished picture and the next firing of the load timer. With
    // afterTimer, only a painting after the timer fired counts (the deferred load's picture).
    void Arm(bool afterTimer) {
        FAfterTimer = afterTimer;
        FViewPainted = false;
        Finished = false;
        TimerFired = false;
    }
    bool Finished = false;
    TClock::time_point FinishedAt;
    bool TimerFired = false;
    TClock::time_point TimerFiredAt;
    double TimerFiredCpu = 0;
    // The end of the deferred load (the timer's handler).
    TClock::time_point TimerDoneAt;

    bool notify(QObject* receiver, QEvent* event) override {
        if (Window != nullptr) {
            if (receiver == Window->Timer1 && event->type() == QEvent::Timer && !TimerFired) {
                TimerFired = true;
                TimerFiredAt = TClock::now();
                TimerFiredCpu = ThreadCpuMs();
            }
            if (receiver == Window->Coordinate1 && event->type() == QEvent::Paint &&
                (!FAfterTimer || TimerFired))
                FViewPainted = true;
        }
        ++FDepth;
        const bool result = QApplication::notify(receiver, event);
        --FDepth;
        if (Window != nullptr && receiver == Window->Timer1 && event->type() == QEvent::Timer)
            TimerDoneAt = TClock::now();
        if (FDepth == 0 && FViewPainted && !Finished) {
            Finished = true;
            FinishedAt = TClock::now();
        }
        return result;
    }

    // Runs the event loop until the armed picture is finished. Gives up after a few seconds,
    // which no answer to a key comes near.
    bool WaitForPicture() {
        // Sleeps until the next event (the time-limited overload would poll instead, and
        // its spinning would count as CPU time of the answer).
        bool expired = false;
        QTimer watchdog;
        watchdog.setSingleShot(true);
        QObject::connect(&watchdog, &QTimer::timeout, [&expired] { expired = true; });
        watchdog.start(5000);
        while (!Finished && !expired)
            processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
        return Finished;
    }

private:
    int FDepth = 0;
    bool FAfterTimer = false;
    bool FViewPainted = false;
};

struct TStats {
    double Median = 0;
    double Worst = 0;
};

TStats Summarise(std::vector<double> values) {
    TStats stats;
    if (values.empty())
        return stats;
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    stats.Median = n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
    stats.Worst = values.back();
    return stats;
}

[[noreturn]] void Fail(const std::string& message) {
    std::fprintf(stderr, "curvana_show_latency: %s\n", message.c_str());
    std::exit(1);
}

void InstallErrorReporter(TFormSlideShow& window) {
    // A message box would stop the run; an error means the figures are not worth having.
    window.SetErrorReporter([](QWidget*, const QString& message) {
        Fail("the window reported: " + message.toStdString());
    });
}

// One start as the program opens a slide show given to it: application, split, window, first
// load. Prints the phases in milliseconds from main() and CLOCK_MONOTONIC at main().
int RunStartup(int argc, char** argv, const std::string& slideShow, long long mainNs,
               TClock::time_point mainAt) {
    UseFullHdOffscreenScreen();
    InitDecimalSeparatorFromLocale();
    TLatencyApp app(argc, argv);
    app.setApplicationName(QStringLiteral("curvana"));
    app.setDesktopFileName(QStringLiteral("curvana"));
    RemoveStaleTempSlideFolders();
    const TClock::time_point appAt = TClock::now();

    const TFileKindResult kind = ReadFileKind(slideShow);
    if (kind.Kind != TFileKind::SlideShow)
        Fail(slideShow + " is not a slide show");
    const TSlideShowSplit split = SplitSlideShowToTempFolder(slideShow);
    const TClock::time_point splitAt = TClock::now();

    TFormSlideShow window(nullptr);
    InstallErrorReporter(window);
    app.Window = &window;
    app.Arm(true);
    const TClock::time_point windowAt = TClock::now();

    window.BeginShowSlides(0, split.Slides);
    const TClock::time_point shownAt = TClock::now();
    if (!app.WaitForPicture())
        Fail("the first slide never appeared");
    if (window.width() != ScreenWidth || window.height() != ScreenHeight)
        Fail("the window is not 1920 x 1080");

    std::printf("startup main_ns=%lld app=%.2f split=%.2f window=%.2f show=%.2f timer=%.2f "
                "first=%.2f cpu=%.2f\n",
                mainNs, Ms(appAt - mainAt), Ms(splitAt - mainAt), Ms(windowAt - mainAt),
                Ms(shownAt - mainAt), Ms(app.TimerFiredAt - mainAt), Ms(app.FinishedAt - mainAt),
                ProcessCpuMs());
    window.close();
    return 0;
}

// Runs this program in --startup mode `runs` times and prints the phases, plus the time from
// starting the process to its main() (loading, linking, static initialisation).
void RunStartups(const std::string& self, const std::string& slideShow, int runs) {
    std::map<std::string, std::vector<double>> phases;
    const char* order[] = {"exec_to_main", "app",   "split",         "window",      "show",
                           "timer",        "first", "exec_to_first", "cpu_to_first"};
    for (int run = 0; run < runs; ++run) {
        const std::string command = "'" + self + "' --startup '" + slideShow + "'";
        const long long startNs = MonotonicNs();
        FILE* pipe = popen(command.c_str(), "r");
        if (pipe == nullptr)
            Fail("cannot start " + self);
        char line[512] = {};
        const bool read = std::fgets(line, sizeof line, pipe) != nullptr;
        if (pclose(pipe) != 0 || !read)
            Fail("a startup run failed");
        long long mainNs = 0;
        double app = 0, split = 0, window = 0, show = 0, timer = 0, first = 0, cpu = 0;
        if (std::sscanf(line,
                        "startup main_ns=%lld app=%lf split=%lf window=%lf show=%lf timer=%lf "
                        "first=%lf cpu=%lf",
                        &mainNs, &app, &split, &window, &show, &timer, &first, &cpu) != 8)
            Fail(std::string("unexpected startup line: ") + line);
        // popen starts a shell first; its share is in exec_to_main (about a millisecond).
        const double toMain = static_cast<double>(mainNs - startNs) / 1e6;
        phases["exec_to_main"].push_back(toMain);
        phases["app"].push_back(app);
        phases["split"].push_back(split);
        phases["window"].push_back(window);
        phases["show"].push_back(show);
        phases["timer"].push_back(timer);
        phases["first"].push_back(first);
        phases["exec_to_first"].push_back(toMain + first);
        phases["cpu_to_first"].push_back(cpu);
    }
    std::printf("\nStart to first slide, %d fresh processes (ms; phases are cumulative from "
                "main() unless named exec_*)\n",
                runs);
    std::printf("%-16s %9s %9s\n", "phase", "median", "worst");
    for (const char* name : order) {
        const TStats stats = Summarise(phases[name]);
        std::printf("%-16s %9.2f %9.2f\n", name, stats.Median, stats.Worst);
    }
}

struct TKeyCase {
    const char* Name;
    int Key;
    Qt::KeyboardModifiers Modifiers;
    const char* Text;
    // The key that undoes it between repetitions (not timed).
    int UndoKey;
    bool Deferred;
};

void SendKey(TFormSlideShow& window, int key, Qt::KeyboardModifiers modifiers, const char* text) {
    QKeyEvent event(QEvent::KeyPress, key, modifiers, QString::fromLatin1(text));
    QCoreApplication::sendEvent(&window, &event);
}

// Presses the undo key and waits for its picture, untimed.
void Undo(TLatencyApp& app, TFormSlideShow& window, const TKeyCase& key) {
    app.Arm(key.Deferred);
    SendKey(window, key.UndoKey, key.Modifiers, "");
    if (!app.WaitForPicture())
        Fail(std::string("no picture after undoing ") + key.Name);
}

int RunKeys(int argc, char** argv, const std::string& slideShow, int reps) {
    UseFullHdOffscreenScreen();
    InitDecimalSeparatorFromLocale();
    TLatencyApp app(argc, argv);
    const TSlideShowSplit split = SplitSlideShowToTempFolder(slideShow);
    const int slides = static_cast<int>(split.Slides.size());
    if (slides < 2)
        Fail("the show needs at least two slides");

    TFormSlideShow window(nullptr);
    InstallErrorReporter(window);
    app.Window = &window;
    app.Arm(true);
    window.BeginShowSlides(0, split.Slides);
    if (!app.WaitForPicture())
        Fail("the first slide never appeared");
    if (window.width() != ScreenWidth || window.height() != ScreenHeight ||
        window.Coordinate1->width() != ScreenWidth || window.Coordinate1->height() != ScreenHeight)
        Fail("the window or its view is not 1920 x 1080");

    const TKeyCase keys[] = {
        {"Right", Qt::Key_Right, Qt::NoModifier, "", Qt::Key_Left, false},
        {"keypad +", Qt::Key_Plus, Qt::KeypadModifier, "+", Qt::Key_Minus, false},
        {"Page Down", Qt::Key_PageDown, Qt::NoModifier, "", Qt::Key_PageUp, true},
    };

    std::printf("Key press to finished picture, 1920 x 1080, %d repetitions (ms)\n", reps);
    // total: key to flushed picture; work: total without the deferred load's timer wait;
    // timer: that wait; cpu: this thread's CPU time over total, waitcpu the part of it spent
    // during the wait; paint: from the end of the handler that redrew the view to the flush.
    std::printf("%-6s %-10s %9s %9s %9s %9s %9s %9s %9s %9s %9s %9s\n", "slide", "key", "total",
                "worst", "work", "worst", "timer", "worst", "cpu", "worst", "waitcpu", "paint");
    std::vector<double> allWork[3], allCpu[3];
    for (int slide = 0; slide < slides; ++slide) {
        for (int k = 0; k < 3; ++k) {
            const TKeyCase& key = keys[k];
            // Page Down is measured as the move from the slide before onto this one.
            if (key.Deferred && slide == 0)
                continue;
            std::vector<double> total, work, wait, cpu, paint, waitCpu;
            for (int rep = 0; rep < reps; ++rep) {
                if (key.Deferred && window.SlideIndex != slide - 1) {
                    Undo(app, window, key); // back onto the slide before
                }
                const TPoint before = window.View().WorldToScreen(1, 1);
                app.Arm(key.Deferred);
                const double cpuBefore = ThreadCpuMs();
                const TClock::time_point pressed = TClock::now();
                SendKey(window, key.Key, key.Modifiers, key.Text);
                const TClock::time_point handled = TClock::now();
                const double handledCpu = ThreadCpuMs();
                if (!app.WaitForPicture())
                    Fail(std::string("no picture after ") + key.Name);
                const TClock::duration all = app.FinishedAt - pressed;
                cpu.push_back(ThreadCpuMs() - cpuBefore);
                // Work done while the load timer runs (events the key posted) overlaps the wait.
                waitCpu.push_back(key.Deferred ? app.TimerFiredCpu - handledCpu : 0.0);
                // From the end of the handler that redrew the view to the flushed window.
                paint.push_back(Ms(app.FinishedAt - (key.Deferred ? app.TimerDoneAt : handled)));
                const TClock::duration timerWait =
                    key.Deferred ? app.TimerFiredAt - handled : TClock::duration::zero();
                total.push_back(Ms(all));
                wait.push_back(Ms(timerWait));
                work.push_back(Ms(all - timerWait));
                // The key did what it should, or the figure means nothing.
                if (key.Deferred) {
                    if (window.SlideIndex != slide ||
                        window.CurrentPath != split.Slides[static_cast<std::size_t>(slide)])
                        Fail("Page Down did not reach the next slide");
                } else {
                    const TPoint after = window.View().WorldToScreen(1, 1);
                    if (after.X == before.X && after.Y == before.Y)
                        Fail(std::string(key.Name) + " did not change the view");
                    Undo(app, window, key);
                }
            }
            const TStats t = Summarise(total), w = Summarise(work), d = Summarise(wait),
                         c = Summarise(cpu), p = Summarise(paint), wc = Summarise(waitCpu);
            allWork[k].insert(allWork[k].end(), work.begin(), work.end());
            allCpu[k].insert(allCpu[k].end(), cpu.begin(), cpu.end());
            std::printf("%-6d %-10s %9.2f %9.2f %9.2f %9.2f %9.2f %9.2f %9.2f %9.2f %9.2f %9.2f\n",
                        slide + 1, key.Name, t.Median, t.Worst, w.Median, w.Worst, d.Median,
                        d.Worst, c.Median, c.Worst, wc.Median, p.Median);
            std::fflush(stdout);
        }
        // On to the next slide for the view keys (Page Down leaves it there already).
        if (slide + 1 < slides && window.SlideIndex != slide + 1) {
            app.Arm(true);
            SendKey(window, Qt::Key_PageDown, Qt::NoModifier, "");
            if (!app.WaitForPicture())
                Fail("no picture after moving on");
        }
    }
    for (int k = 0; k < 3; ++k) {
        const TStats w = Summarise(allWork[k]), c = Summarise(allCpu[k]);
        std::printf("%-6s %-10s %9s %9s %9.2f %9.2f %9s %9s %9.2f %9.2f\n", "all", keys[k].Name, "",
                    "", w.Median, w.Worst, "", "", c.Median, c.Worst);
    }
    window.close();
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const long long mainNs = MonotonicNs();
    const TClock::time_point mainAt = TClock::now();
    std::string slideShow = std::string(CURVANA_SOURCE_DIR) + "/examples/demo.sld";
    bool startup = false;
    int reps = 20;
    int startupRuns = 10;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--startup")
            startup = true;
        else if (arg == "--reps" && i + 1 < argc)
            reps = std::max(1, std::atoi(argv[++i]));
        else if (arg == "--startup-runs" && i + 1 < argc)
            startupRuns = std::max(0, std::atoi(argv[++i]));
        else if (arg.starts_with("--"))
            Fail("unknown option " + arg);
        else
            slideShow = arg;
    }
    // Qt sees only the program name: the options above are ours.
    int qtArgc = 1;
    int result = 0;
    try {
        if (startup)
            return RunStartup(qtArgc, argv, slideShow, mainNs, mainAt);
        result = RunKeys(qtArgc, argv, slideShow, reps);
    } catch (const std::exception& e) {
        Fail(e.what());
    }
    if (result == 0 && startupRuns > 0) {
        char self[4096] = {};
        const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
        if (n <= 0)
            Fail("cannot find this program");
        RunStartups(std::string(self, static_cast<std::size_t>(n)), slideShow, startupRuns);
    }
    return result;
}
