#include <QGuiApplication>
#include <gtest/gtest.h>
#include <memory>

namespace {

// Fonts and painters need an application object; the offscreen platform needs no display.
class TQtEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "curvana_platform_tests";
        static char* argv[] = {name, nullptr};
        FApp = std::make_unique<QGuiApplication>(argc, argv);
    }
    void TearDown() override { FApp.reset(); }

private:
    std::unique_ptr<QGuiApplication> FApp;
};

const auto* const GEnvironment = ::testing::AddGlobalTestEnvironment(new TQtEnvironment);

} // namespace
