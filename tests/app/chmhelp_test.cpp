#include "show/chmhelp.h"

#include "tests/app/slidetestfiles.h"

#include <QApplication>
#include <QDir>
#include <QTextBrowser>
#include <QWidget>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

namespace curvana {
namespace {

using testing::TTempDir;
using testing::WriteFile;

const QString Collection = QStringLiteral(CURVANA_HELP_COLLECTION);
const QString PageBase = QStringLiteral("qthelp://org.orvane.curvana.slideshow/doc/");

QTextBrowser* BrowserOf(QWidget* window) {
    return window ? window->findChild<QTextBrowser*>() : nullptr;
}

TEST(CHMHelp, OpensTheAskedPageInAWindowOfTheOwner) {
    QWidget owner;
    QWidget* window = TCHMHelp().ShowHelp(&owner, Collection, false, QStringLiteral("about.htm"));
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->parentWidget(), &owner);
    EXPECT_TRUE(window->isVisible());
    QTextBrowser* browser = BrowserOf(window);
    ASSERT_NE(browser, nullptr);
    EXPECT_EQ(browser->source(), QUrl(PageBase + QStringLiteral("about.htm")));
    EXPECT_TRUE(browser->toPlainText().contains(QStringLiteral("About Curvana Slide Show")));

    // Another call for the same owner and file reuses the window at the new page.
    QWidget* again = TCHMHelp().ShowHelp(&owner, Collection, false, QString());
    EXPECT_EQ(again, window);
    EXPECT_EQ(browser->source(), QUrl(PageBase + QStringLiteral("index.htm")));
}

TEST(CHMHelp, EmptyOrUnknownTopicShowsTheDefaultPage) {
    for (const QString& topic : {QString(), QStringLiteral("no-such-page.htm")}) {
        QWidget owner;
        QTextBrowser* browser = BrowserOf(TCHMHelp().ShowHelp(&owner, Collection, false, topic));
        ASSERT_NE(browser, nullptr) << topic.toStdString();
        EXPECT_EQ(browser->source(), QUrl(PageBase + QStringLiteral("index.htm")));
        EXPECT_FALSE(browser->toPlainText().trimmed().isEmpty());
    }
}

TEST(CHMHelp, MissingOrBrokenFileShowsNothing) {
    TTempDir dir;
    const std::string junk = dir / "CVShowHelp.qhc";
    WriteFile(junk, "not a help collection");
    const QString files[] = {QString::fromStdString(dir / "missing.qhc"),
                             QString::fromStdString(junk), QString::fromStdString(dir.Path)};
    for (const QString& file : files) {
        QWidget owner;
        const int before = QApplication::topLevelWidgets().size();
        EXPECT_EQ(TCHMHelp().ShowHelp(&owner, file, false, QStringLiteral("about.htm")), nullptr)
            << file.toStdString();
        EXPECT_TRUE(owner.findChildren<QWidget*>().isEmpty());
        EXPECT_EQ(QApplication::topLevelWidgets().size(), before);
    }
    // Relative to the program, where no help lies in this test's folder.
    QWidget owner;
    EXPECT_EQ(TCHMHelp().ShowHelp(&owner, QStringLiteral("NoSuchHelp.qhc"), true, {}), nullptr);
}

TEST(CHMHelp, FileIsLookedForBesideTheProgramThenInItsDataFolder) {
    TTempDir root;
    std::filesystem::create_directories(root.Path / "bin");
    std::filesystem::create_directories(root.Path / "share/curvana");
    const QString bin = QString::fromStdString(root / "bin");
    const QString installed = QString::fromStdString(root / "share/curvana/CVShowHelp.qhc");
    const QString beside = bin + QStringLiteral("/CVShowHelp.qhc");

    EXPECT_EQ(TCHMHelp::HelpFilePath(bin, QStringLiteral("CVShowHelp.qhc")), beside);
    WriteFile(installed.toStdString(), "x");
    EXPECT_EQ(TCHMHelp::HelpFilePath(bin, QStringLiteral("CVShowHelp.qhc")), installed);
    WriteFile(beside.toStdString(), "x");
    EXPECT_EQ(TCHMHelp::HelpFilePath(bin, QStringLiteral("CVShowHelp.qhc")), beside);
}

// Run by the install test against the tree `cmake --install` made (CURVANA_INSTALLED_PREFIX):
// the lookup from the installed program's folder finds the installed collection, and the
// collection finds its documentation from where it was installed.
TEST(CHMHelp, InstalledCollectionOpens) {
    const QString prefix = qEnvironmentVariable("CURVANA_INSTALLED_PREFIX");
    if (prefix.isEmpty())
        GTEST_SKIP() << "only run by Packaging.InstalledHelp";
    const QString path =
        TCHMHelp::HelpFilePath(prefix + QStringLiteral("/bin"), QStringLiteral("CVShowHelp.qhc"));
    EXPECT_EQ(path, prefix + QStringLiteral("/share/curvana/CVShowHelp.qhc"));
    QWidget owner;
    QTextBrowser* browser =
        BrowserOf(TCHMHelp().ShowHelp(&owner, path, false, QStringLiteral("about.htm")));
    ASSERT_NE(browser, nullptr);
    EXPECT_TRUE(browser->toPlainText().contains(QStringLiteral("About Curvana Slide Show")));
}

} // namespace
} // namespace curvana
