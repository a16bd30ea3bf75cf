#include "capture/capscreen.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace curvana {
namespace {

struct TNameCase {
    const char* Prefix;
    std::int32_t Index;
    std::int32_t Digital;
    const char* Expected;
};

TEST(CapScreenTest, CurrentFileNamePadsTheNumberToTheDigits) {
    const TNameCase cases[] = {
        {"Outputpic", 1, 2, "Outputpic01"},
        {"Outputpic", 7, 2, "Outputpic07"},
        {"Outputpic", 99, 2, "Outputpic99"},
        {"Outputpic", 100, 2, "Outputpic100"},
        {"Outputpic", 123, 2, "Outputpic123"}, // never truncated
        {"p", 5, 0, "p5"},
        {"p", 5, 1, "p5"},
        {"p", 5, -3, "p5"},
        {"p", 0, 4, "p0000"},
        {"p", -5, 3, "p0-5"}, // the minus sign counts as a digit, zeros go before it
        {"p", -5, 2, "p-5"},
        {"p", INT_MIN, 2, "p-2147483648"},
        {"", 1, 2, "01"},
    };
    for (const TNameCase& c : cases) {
        TCapScreen job;
        job.FileNamePrefix = c.Prefix;
        job.CurrentIndex = c.Index;
        job.Digital = c.Digital;
        EXPECT_EQ(job.CurrentFileName(), c.Expected)
            << c.Prefix << " " << c.Index << " " << c.Digital;
    }
}

TEST(CapScreenTest, HugeDigitCountIsCutAtTheLimit) {
    TCapScreen job;
    job.FileNamePrefix = "";
    job.Digital = INT_MAX;
    const std::string name = job.CurrentFileName();
    EXPECT_EQ(name.size(), static_cast<std::size_t>(MaxCaptureDigits));
    EXPECT_EQ(name.back(), '1');
}

TEST(CapScreenTest, DefaultsAndPathPerFormat) {
    TCapScreen job;
    EXPECT_EQ(job.CurrentFileName(), "Outputpic01");
    job.OutputDirectory = "/pictures/";
    // The folder's own trailing separator doubles; the file system reads it as one.
    EXPECT_EQ(job.CurrentPath(), "/pictures//Outputpic01.bmp");
    job.PictureFormat = 1;
    job.CurrentIndex = 3;
    EXPECT_EQ(job.CurrentPath(), "/pictures//Outputpic03.emf");
}

} // namespace
} // namespace curvana
