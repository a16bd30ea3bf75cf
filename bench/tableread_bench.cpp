// Reading a document with one table of a million points (about 60 MB), side by side with the
// least a reader can do: pugixml parsing the same file and strtod converting every coordinate.
// Each side runs in a child process of its own, in turn, so that the peak memory of each can be
// read from the system (ru_maxrss); the program prints the medians of the runs.
//
//   curvana_tableread_bench [POINTS] [RUNS] [commented]
//
// "commented" puts a comment at the head of the point list: the list is then no longer in the
// plain form the program writes and is read through the tree.
#include "common/decimalseparator.h"
#include "docfile/documentloader.h"

#include <pugixml.hpp>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

using namespace curvana;

void WriteTable(const std::string& path, long points, bool commented) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) {
        std::perror(path.c_str());
        std::exit(1);
    }
    std::fputs("<CurvanaDocument>\n  <Memory>\n    <TableObj>\n      <Name>t</Name>\n"
               "      <ShowEnabled>1</ShowEnabled>\n      <TableElemObjList>\n",
               f);
    if (commented) {
        std::fputs("        <!-- measured -->\n", f);
    }
    for (long p = 0; p < points; ++p) {
        std::fprintf(f, "        <TableElemObj><x>%.6f</x><y>%.9g</y></TableElemObj>\n",
                     static_cast<double>(p) * 1e-5 - 5,
                     static_cast<double>(p % 977) * 0.0123456789);
    }
    std::fputs("      </TableElemObjList>\n    </TableObj>\n  </Memory>\n</CurvanaDocument>\n", f);
    std::fclose(f);
}

// Returns the number of points read, or -1.
long ReadOurs(const std::string& path) {
    TDecimalSeparatorScope dot('.');
    TCoordinate view;
    auto list = std::make_unique<TMemory>();
    std::vector<TAddLabelData> labels;
    view.GraphList = list.get();
    LoadDocumentFile(path, {view, list, labels});
    return list->Count() == 1 ? 1 : -1;
}

long ReadBaseline(const std::string& path) {
    pugi::xml_document document;
    if (!document.load_file(path.c_str())) {
        return -1;
    }
    double sum = 0;
    long count = 0;
    for (pugi::xml_node point : document.document_element()
                                    .child("Memory")
                                    .child("TableObj")
                                    .child("TableElemObjList")
                                    .children("TableElemObj")) {
        sum += std::strtod(point.child("x").child_value(), nullptr);
        sum += std::strtod(point.child("y").child_value(), nullptr);
        ++count;
    }
    return sum == 0.5 ? -1 : count; // keeps the conversions
}

struct TRun {
    double Milliseconds;
    double PeakMegabytes;
};

TRun InChild(long (*read)(const std::string&), const std::string& path) {
    int channel[2];
    if (::pipe(channel) != 0) {
        std::exit(1);
    }
    const pid_t child = ::fork();
    if (child == 0) {
        const auto start = std::chrono::steady_clock::now();
        const long result = read(path);
        const double ms =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count();
        const double sent = result < 0 ? -1 : ms;
        [[maybe_unused]] const auto written = ::write(channel[1], &sent, sizeof sent);
        ::_exit(0);
    }
    double ms = -1;
    [[maybe_unused]] const auto got = ::read(channel[0], &ms, sizeof ms);
    ::close(channel[0]);
    ::close(channel[1]);
    int status = 0;
    rusage usage{};
    ::wait4(child, &status, 0, &usage);
    if (ms < 0) {
        std::fprintf(stderr, "reading failed\n");
        std::exit(1);
    }
    return {ms, static_cast<double>(usage.ru_maxrss) / 1024.0};
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    const long points = argc > 1 ? std::atol(argv[1]) : 1000000;
    const int runs = argc > 2 ? std::atoi(argv[2]) : 5;
    const bool commented = argc > 3 && std::string(argv[3]) == "commented";
    const std::string path = (std::filesystem::temp_directory_path() /
                              ("curvana-tableread-" + std::to_string(::getpid()) + ".xml"))
                                 .string();
    WriteTable(path, points, commented);
    const double fileMegabytes =
        static_cast<double>(std::filesystem::file_size(path)) / (1024.0 * 1024.0);
    std::vector<double> oursMs, baseMs, oursPeak, basePeak, ratios;
    for (int r = 0; r < runs; ++r) {
        const TRun ours = InChild(ReadOurs, path);
        const TRun base = InChild(ReadBaseline, path);
        oursMs.push_back(ours.Milliseconds);
        baseMs.push_back(base.Milliseconds);
        oursPeak.push_back(ours.PeakMegabytes);
        basePeak.push_back(base.PeakMegabytes);
        ratios.push_back(ours.Milliseconds / base.Milliseconds);
    }
    std::filesystem::remove(path);
    std::printf("file: %ld points%s, %.1f MB\n", points, commented ? " (commented list)" : "",
                fileMegabytes);
    std::printf("ours:     %7.1f ms, peak %6.1f MB (%.2f x file)\n", Median(oursMs),
                Median(oursPeak), Median(oursPeak) / fileMegabytes);
    std::printf("baseline: %7.1f ms, peak %6.1f MB (%.2f x file)\n", Median(baseMs),
                Median(basePeak), Median(basePeak) / fileMegabytes);
    std::printf("time ours/baseline: median %.2f, range %.2f to %.2f over %d runs\n",
                Median(ratios), *std::min_element(ratios.begin(), ratios.end()),
                *std::max_element(ratios.begin(), ratios.end()), runs);
    return 0;
}
