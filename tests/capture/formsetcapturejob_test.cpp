#include "capture/formsetcapturejob.h"

#include "capture/capscreen.h"
#include "capture/capturefile.h"
#include "capture/spinarrows.h"
#include "common/errors.h"
#include "testpicture.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileSystemModel>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
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

TEST_F(FormSetCaptureJobTest, PrefixNoFileNameCanStartWithIsRefusedWhileTyping) {
    Type(Dialog.EditFileNamePrefix, "talk");
    EXPECT_TRUE(Dialog.LabelPrefixProblem->isHidden());
    struct TRefusedCase {
        QString Typed;
        bool ByKey; // else pasted
        const char* Reason;
    };
    const TRefusedCase cases[] = {
        {"/", true, "cannot hold \"/\""},
        {"a/b", false, "cannot hold \"/\""},
        {QString(QChar(0)), false, "null character"},
        {QString(247, 'x'), true, "longer than 255 bytes"}, // the last x of the 247 is refused
    };
    for (const TRefusedCase& c : cases) {
        SCOPED_TRACE(c.Reason);
        Type(Dialog.EditFileNamePrefix, "talk");
        if (c.ByKey)
            QTest::keyClicks(Dialog.EditFileNamePrefix, c.Typed);
        else
            Dialog.EditFileNamePrefix->insert(c.Typed);
        const std::string kept = Job.FileNamePrefix;
        EXPECT_LE(kept.size(), 250u);
        EXPECT_EQ(kept.substr(0, 4), "talk");
        EXPECT_EQ(Dialog.EditFileNamePrefix->text().toStdString(), kept);
        EXPECT_EQ(Preview().toStdString(), kept + "01.bmp");
        EXPECT_TRUE(Dialog.LabelPrefixProblem->isVisibleTo(&Dialog));
        EXPECT_TRUE(Dialog.LabelPrefixProblem->text().contains(c.Reason))
            << Dialog.LabelPrefixProblem->text().toStdString();
    }
    // The next change that is a good prefix takes the message away.
    Type(Dialog.EditFileNamePrefix, "ok");
    EXPECT_EQ(Job.FileNamePrefix, "ok");
    EXPECT_TRUE(Dialog.LabelPrefixProblem->isHidden());
    EXPECT_TRUE(Errors.empty());
}

TEST_F(FormSetCaptureJobTest, PreviewNamesTheFirstFreeFileOfTheSeries) {
    for (const char* name : {"Outputpic01.bmp", "Outputpic02.bmp"}) {
        QFile taken(QDir(QString::fromStdString(Job.OutputDirectory)).filePath(name));
        ASSERT_TRUE(taken.open(QIODevice::WriteOnly));
    }
    QTest::mouseClick(Dialog.RadioGroup1Items[1], Qt::LeftButton);
    EXPECT_EQ(Preview(), "Outputpic01.emf");
    QTest::mouseClick(Dialog.RadioGroup1Items[0], Qt::LeftButton);
    EXPECT_EQ(Preview(), "Outputpic03.bmp");
    // The start number itself is the presenter's.
    EXPECT_EQ(Job.CurrentIndex, 1);
    EXPECT_EQ(Dialog.EditCurrentIndex->text(), "1");
    ChooseFolder(Folder.filePath("a"));
    EXPECT_EQ(Preview(), "Outputpic01.bmp");
}

struct TTypedCase {
    const char* Name;
    bool Index; // false: the digits
    const char* Text;
    bool ByClose;       // else by moving the focus to the other field
    std::int32_t Taken; // the job's value afterwards
    bool Error;
};

TEST_F(FormSetCaptureJobTest, TypedNumbersAreTakenWhenTheFieldIsLeftOrTheDialogClosed) {
    const TTypedCase cases[] = {
        {"start number, focus moves on", true, "42", false, 42, false},
        {"digits, focus moves on", false, "4", false, 4, false},
        {"start number, closed", true, "8", true, 8, false},
        {"digits, closed", false, "3", true, 3, false},
        {"not a number, focus moves on", true, "12a", false, 1, true},
        {"not a number, closed", false, "", true, 2, true},
    };
    for (const TTypedCase& c : cases) {
        SCOPED_TRACE(c.Name);
        Job.CurrentIndex = 1;
        Job.Digital = 2;
        Errors.clear();
        Dialog.OpenCaptureJob(Job);
        Dialog.Timer1Timer();
        // Focus moves only within the active window.
        Dialog.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&Dialog));
        QLineEdit* edit = c.Index ? Dialog.EditCurrentIndex : Dialog.EditDigital;
        QLineEdit* other = c.Index ? Dialog.EditDigital : Dialog.EditCurrentIndex;
        Type(edit, c.Text);
        if (c.ByClose)
            QTest::mouseClick(Dialog.Button4, Qt::LeftButton);
        else
            other->setFocus(Qt::TabFocusReason);
        EXPECT_EQ(c.Index ? Job.CurrentIndex : Job.Digital, c.Taken);
        if (c.Error) {
            ASSERT_EQ(Errors.size(), 1u);
            EXPECT_EQ(Errors[0], "'" + std::string(c.Text) + "' is not a valid integer value");
            // A number that is not one keeps the dialog open, as Enter does.
            EXPECT_TRUE(Dialog.isVisible());
        } else {
            EXPECT_TRUE(Errors.empty());
            EXPECT_EQ(Preview(), QString::fromStdString(Job.CurrentFileName()) + ".bmp");
            EXPECT_EQ(Dialog.isVisible(), !c.ByClose);
        }
        // A box or a menu taking the focus is no leaving of the field.
        Errors.clear();
        QFocusEvent away(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
        QCoreApplication::sendEvent(edit, &away);
        EXPECT_TRUE(Errors.empty());
    }
}

TEST_F(FormSetCaptureJobTest, CloseButtonClosesWithEverythingInTheJob) {
    Type(Dialog.EditFileNamePrefix, "x");
    Type(Dialog.EditCurrentIndex, "8");
    QTest::mouseClick(Dialog.Button4, Qt::LeftButton);
    EXPECT_FALSE(Dialog.isVisible());
    EXPECT_EQ(Job.FileNamePrefix, "x");
    EXPECT_EQ(Job.CurrentIndex, 8);
}

// Holds an arrow down for about a second over a field that holds no number.
struct THeldCase {
    bool Index;
    bool Up;
    const char* Text;
};

TEST_F(FormSetCaptureJobTest, HeldArrowGivesOneErrorAndStopsStepping) {
    const THeldCase cases[] = {{true, true, "x"}, {false, false, ""}};
    // The one rewrite of the fields must not put numbers back in while the arrow is held.
    ASSERT_TRUE(QTest::qWaitFor([this] { return !Dialog.Timer1->isActive(); }, 3000));
    for (const THeldCase& c : cases) {
        SCOPED_TRACE(c.Index ? "start number" : "digits");
        Errors.clear();
        QLineEdit* edit = c.Index ? Dialog.EditCurrentIndex : Dialog.EditDigital;
        TSpinArrows* arrows = c.Index ? Dialog.UpDown1 : Dialog.UpDown2;
        QToolButton* arrow = c.Up ? arrows->UpButton : arrows->DownButton;
        Type(edit, c.Text);
        QTest::mousePress(arrow, Qt::LeftButton);
        QTest::qWait(1000);
        EXPECT_FALSE(arrow->isDown());
        QTest::mouseRelease(arrow, Qt::LeftButton);
        QTest::qWait(300);
        EXPECT_EQ(Errors.size(), 1u);
        // The next press steps again.
        Type(edit, "5");
        QTest::mouseClick(arrow, Qt::LeftButton);
        EXPECT_EQ(edit->text(), c.Up ? "6" : "4");
        EXPECT_EQ(Errors.size(), 1u);
    }
}

TEST(FormSetCaptureJobBoxTest, HeldArrowShowsOneErrorBoxAndNoneBehindIt) {
    TCapScreen job;
    TFormSetCaptureJob dialog;
    dialog.OpenCaptureJob(job);
    dialog.Timer1Timer();
    dialog.EditCurrentIndex->setText("x");
    // The real box: it takes the release of the arrow. Each box is closed after a moment.
    int boxes = 0;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            ++boxes;
            box->done(QMessageBox::Ok);
        }
    });
    closer.start(150);
    QTest::mousePress(dialog.UpDown1->UpButton, Qt::LeftButton);
    QTest::qWait(1000);
    QTest::mouseRelease(dialog.UpDown1->UpButton, Qt::LeftButton);
    QTest::qWait(500);
    EXPECT_EQ(boxes, 1);
    EXPECT_EQ(job.CurrentIndex, 1);
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
