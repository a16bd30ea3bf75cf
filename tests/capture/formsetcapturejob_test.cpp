#include "capture/formsetcapturejob.h"

#include "capture/capscreen.h"
#include "capture/capturefile.h"
#include "capture/spinarrows.h"
#include "common/errors.h"
#include "testpicture.h"

#include <QDir>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace curvana {
namespace {

class FormSetCaptureJobTest : public ::testing::Test {
protected:
    FormSetCaptureJobTest() {
        EXPECT_TRUE(QDir(Folder.path()).mkdir("a"));
        EXPECT_TRUE(QDir(Folder.path()).mkdir("b"));
        Job.OutputDirectory = Folder.path().toStdString() + "/";
        Dialog.SetErrorReporter(
            [this](QWidget*, const QString& message) { Errors.push_back(message.toStdString()); });
        Dialog.OpenCaptureJob(Job);
    }

    QString Preview() const { return Dialog.EditFileName->text(); }

    // Replaces an edit's text as typing would, key by key.
    static void Type(QLineEdit* edit, const QString& text) {
        edit->setFocus();
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, text);
    }

    static void Enter(QLineEdit* edit) { QTest::keyClick(edit, Qt::Key_Return); }

    void ChooseFolder(const QString& folder) {
        Dialog.DirectoryListBox1->setCurrentIndex(Dialog.FolderModel->index(folder));
    }

    QTemporaryDir Folder;
    TCapScreen Job;
    std::vector<std::string> Errors;
    TFormSetCaptureJob Dialog;
};

TEST_F(FormSetCaptureJobTest, OpensWithTheJobsValuesAndTheTreesFormOfItsFolder) {
    EXPECT_EQ(Dialog.windowTitle(), "Set Batch Capture Job");
    EXPECT_EQ(Dialog.EditFileNamePrefix->text(), "Outputpic");
    EXPECT_EQ(Dialog.EditCurrentIndex->text(), "1");
    EXPECT_EQ(Dialog.EditDigital->text(), "2");
    EXPECT_EQ(Dialog.RadioGroup1ItemIndex(), 0);
    EXPECT_EQ(Preview(), "Outputpic01.bmp");
    EXPECT_TRUE(Dialog.EditFileName->isReadOnly());
    EXPECT_TRUE(Dialog.MemoOutputDirectory->isReadOnly());
    // The tree reported the folder: no trailing separator any more.
    EXPECT_EQ(Dialog.TreeFolder(), Folder.path());
    EXPECT_EQ(Job.OutputDirectory, Folder.path().toStdString());
    EXPECT_EQ(Dialog.MemoOutputDirectory->toPlainText(), Folder.path());
    EXPECT_TRUE(Errors.empty());
}

TEST_F(FormSetCaptureJobTest, PrefixIsTakenAtEveryKeystroke) {
    Type(Dialog.EditFileNamePrefix, "sl");
    EXPECT_EQ(Job.FileNamePrefix, "sl");
    EXPECT_EQ(Preview(), "sl01.bmp");
    Type(Dialog.EditFileNamePrefix, "");
    EXPECT_EQ(Job.FileNamePrefix, "");
    EXPECT_EQ(Preview(), "01.bmp");
}

TEST_F(FormSetCaptureJobTest, NumbersAreTakenOnEnterOnly) {
    Type(Dialog.EditCurrentIndex, "42");
    EXPECT_EQ(Job.CurrentIndex, 1);
    EXPECT_EQ(Preview(), "Outputpic01.bmp");
    Enter(Dialog.EditCurrentIndex);
    EXPECT_EQ(Job.CurrentIndex, 42);
    EXPECT_EQ(Preview(), "Outputpic42.bmp");

    // The spin range binds only the arrows: -5 is taken, and its sign counts as a digit.
    Type(Dialog.EditCurrentIndex, "-5");
    Enter(Dialog.EditCurrentIndex);
    Type(Dialog.EditDigital, "3");
    Enter(Dialog.EditDigital);
    EXPECT_EQ(Job.CurrentIndex, -5);
    EXPECT_EQ(Job.Digital, 3);
    EXPECT_EQ(Preview(), "Outputpic0-5.bmp");
    // Enter does not close the dialog.
    EXPECT_TRUE(Dialog.isVisible());
    EXPECT_TRUE(Errors.empty());
}

TEST_F(FormSetCaptureJobTest, TextThatIsNoIntegerShowsTheErrorAndKeepsTheValue) {
    struct TBadCase {
        QLineEdit* Edit;
        TSpinArrows* Arrows;
        bool ByArrow;
        const char* Text;
    };
    const TBadCase cases[] = {
        {Dialog.EditCurrentIndex, Dialog.UpDown1, false, "12a"},
        {Dialog.EditCurrentIndex, Dialog.UpDown1, true, "x"},
        {Dialog.EditDigital, Dialog.UpDown2, false, ""},
        {Dialog.EditDigital, Dialog.UpDown2, true, "99999999999"},
    };
    for (const TBadCase& c : cases) {
        SCOPED_TRACE(c.Text);
        Errors.clear();
        Type(c.Edit, c.Text);
        if (c.ByArrow)
            QTest::mouseClick(c.Arrows->UpButton, Qt::LeftButton);
        else
            Enter(c.Edit);
        ASSERT_EQ(Errors.size(), 1u);
        EXPECT_EQ(Errors[0], "'" + std::string(c.Text) + "' is not a valid integer value");
        EXPECT_EQ(c.Edit->text(), c.Text);
        EXPECT_EQ(Job.CurrentIndex, 1);
        EXPECT_EQ(Job.Digital, 2);
        EXPECT_TRUE(Dialog.isVisible());
    }
}

TEST_F(FormSetCaptureJobTest, SpinArrowsStepWithinTheirRangeAndTakeTheNumber) {
    struct TSpinCase {
        bool Index; // false: the digits
        const char* Text;
        bool Up;
        const char* After;
    };
    const TSpinCase cases[] = {
        {true, "5", true, "6"},         {true, "5", false, "4"}, {true, "999", true, "1000"},
        {true, "9999", true, "9999"},   {true, "0", false, "0"}, {true, "-5", true, "0"},
        {true, "20000", false, "9999"}, {false, "2", true, "3"}, {false, "100", true, "100"},
        {false, "1", false, "1"},       {false, "0", true, "1"},
    };
    for (const TSpinCase& c : cases) {
        SCOPED_TRACE(std::string(c.Text) + (c.Up ? " up" : " down"));
        QLineEdit* edit = c.Index ? Dialog.EditCurrentIndex : Dialog.EditDigital;
        TSpinArrows* arrows = c.Index ? Dialog.UpDown1 : Dialog.UpDown2;
        Type(edit, c.Text);
        QTest::mouseClick(c.Up ? arrows->UpButton : arrows->DownButton, Qt::LeftButton);
        EXPECT_EQ(edit->text(), c.After);
        EXPECT_EQ(c.Index ? Job.CurrentIndex : Job.Digital, std::stoi(c.After));
    }
    EXPECT_EQ(Preview(), QString::fromStdString(Job.CurrentFileName()) + ".bmp");
    EXPECT_TRUE(Errors.empty());
}

TEST_F(FormSetCaptureJobTest, FormatChangesTheExtensionNotTheNumber) {
    Job.CurrentIndex = 7;
    QTest::mouseClick(Dialog.RadioGroup1Items[1], Qt::LeftButton);
    EXPECT_EQ(Job.PictureFormat, 1);
    EXPECT_EQ(Job.CurrentIndex, 7);
    EXPECT_EQ(Preview(), "Outputpic07.emf");
    QTest::mouseClick(Dialog.RadioGroup1Items[0], Qt::LeftButton);
    EXPECT_EQ(Job.PictureFormat, 0);
    EXPECT_EQ(Preview(), "Outputpic07.bmp");
}

TEST_F(FormSetCaptureJobTest, TimerRewritesTheNumberEditsOnce) {
    Type(Dialog.EditCurrentIndex, "55");
    Type(Dialog.EditDigital, "9");
    EXPECT_TRUE(QTest::qWaitFor([this] { return !Dialog.Timer1->isActive(); }, 3000));
    EXPECT_EQ(Dialog.EditCurrentIndex->text(), "1");
    EXPECT_EQ(Dialog.EditDigital->text(), "2");
    // It does not run again.
    Type(Dialog.EditCurrentIndex, "56");
    QTest::qWait(250);
    EXPECT_EQ(Dialog.EditCurrentIndex->text(), "56");
}

TEST_F(FormSetCaptureJobTest, EveryFolderChangeUpdatesTheJobAndTheMemo) {
    const QString a = Folder.filePath("a");
    ChooseFolder(a);
    EXPECT_EQ(Job.OutputDirectory, a.toStdString());
    EXPECT_EQ(Dialog.MemoOutputDirectory->toPlainText(), a);
    ChooseFolder(QDir::rootPath());
    EXPECT_EQ(Job.OutputDirectory, "/");
}

TEST_F(FormSetCaptureJobTest, FolderDeletedWhileOpenStaysTheTargetAndCaptureReportsIt) {
    const QString a = Folder.filePath("a");
    ChooseFolder(a);
    // The tree must have listed the folder's neighbours to notice one vanish.
    const QModelIndex parent = Dialog.FolderModel->index(Folder.path());
    ASSERT_TRUE(QTest::qWaitFor([&] { return Dialog.FolderModel->rowCount(parent) == 2; }, 5000));
    ASSERT_TRUE(QDir(a).removeRecursively());
    ASSERT_TRUE(QTest::qWaitFor([&] { return Dialog.FolderModel->rowCount(parent) == 1; }, 5000));
    QCoreApplication::processEvents();
    // The tree moved its highlight away from the removed row; that is not the presenter's
    // choice of another folder, and the highlight is dropped.
    EXPECT_TRUE(Dialog.TreeFolder().isEmpty()) << Dialog.TreeFolder().toStdString();
    EXPECT_EQ(Job.OutputDirectory, a.toStdString());
    EXPECT_EQ(Dialog.MemoOutputDirectory->toPlainText(), a);
    EXPECT_THROW(CapturePicture(Job, TestPicture()), ECurvanaError);
    EXPECT_EQ(Job.CurrentIndex, 1);
    // A real choice afterwards is taken.
    ChooseFolder(Folder.filePath("b"));
    EXPECT_EQ(Job.OutputDirectory, Folder.filePath("b").toStdString());
}

TEST_F(FormSetCaptureJobTest, CloseButtonClosesWithEverythingAlreadyInTheJob) {
    Type(Dialog.EditFileNamePrefix, "x");
    Type(Dialog.EditCurrentIndex, "8"); // no Enter: not taken
    QTest::mouseClick(Dialog.Button4, Qt::LeftButton);
    EXPECT_FALSE(Dialog.isVisible());
    EXPECT_EQ(Job.FileNamePrefix, "x");
    EXPECT_EQ(Job.CurrentIndex, 1);
}

TEST(FormSetCaptureJobModalTest, ShowCaptureJobReturnsWhenClosed) {
    TCapScreen job;
    job.CurrentIndex = 4;
    TFormSetCaptureJob dialog;
    QString seen;
    QTimer::singleShot(50, &dialog, [&] {
        seen = dialog.EditFileName->text();
        dialog.Button4->click();
    });
    dialog.ShowCaptureJob(job);
    EXPECT_EQ(seen, "Outputpic04.bmp");
}

} // namespace
} // namespace curvana
