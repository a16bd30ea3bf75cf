#include <QApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

namespace {

// Widgets need an application object; the offscreen platform needs no display. The settings
// store points into a folder of the run, so no test touches the user's own choices.
class TQtWidgetsEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        FHome = std::make_unique<QTemporaryDir>();
        ASSERT_TRUE(FHome->isValid());
        qputenv("XDG_CONFIG_HOME", FHome->filePath(QStringLiteral("config")).toUtf8());
        static int argc = 1;
        static char name[] = "curvana_widget_tests";
        static char* argv[] = {name, nullptr};
        FApp = std::make_unique<QApplication>(argc, argv);
    }
    void TearDown() override {
        FApp.reset();
        FHome.reset();
    }

private:
    std::unique_ptr<QTemporaryDir> FHome;
    std::unique_ptr<QApplication> FApp;
};

const auto* const GEnvironment = ::testing::AddGlobalTestEnvironment(new TQtWidgetsEnvironment);

} // namespace
