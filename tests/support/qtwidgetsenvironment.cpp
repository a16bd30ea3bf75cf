#include <QApplication>
#include <gtest/gtest.h>
#include <memory>

namespace {

// Widgets need an application object; the offscreen platform needs no display.
class TQtWidgetsEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "curvana_widget_tests";
        static char* argv[] = {name, nullptr};
        FApp = std::make_unique<QApplication>(argc, argv);
    }
    void TearDown() override { FApp.reset(); }

private:
    std::unique_ptr<QApplication> FApp;
};

const auto* const GEnvironment = ::testing::AddGlobalTestEnvironment(new TQtWidgetsEnvironment);

} // namespace
