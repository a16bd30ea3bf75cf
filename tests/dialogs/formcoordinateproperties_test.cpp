#include "dialogs/formcoordinateproperties.h"

#include "common/decimalseparator.h"
#include "dialogs/colorbox.h"
#include "dialogs/comboboxlinestyle.h"
#include "dialogs/comboboxlinewidth.h"
#include "dialogs/fontchoice.h"
#include "dialogs/radiogroup.h"
#include "dialogs/updown.h"
#include "view/coordinate.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QFontDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace curvana {
namespace {

// Every setting the dialog edits, copied out of a view so that views can be compared.
struct TSettings {
    TInterval XInterval, YInterval;
    TPlotParameter PlotParameter;
    TEnum8 AxesStyle;
    TFlag EqualScaleEnabled;
    TColor BackgroundColor;
    TEnum8 XAxesDirection, YAxesDirection;
    TGraphStyle XAxesGraphStyle, YAxesGraphStyle;
    TAxesArrow XArrow, YArrow;
    double XAxesTicksStep;
    std::int32_t XAxesTicksLength;
    double YAxesTicksStep;
    std::int32_t YAxesTicksLength;
    double XAxesLabelsStep;
    std::string XAxesLabelsString;
    double YAxesLabelsStep;
    std::string YAxesLabelsString;
    TEnum8 XAxesLabelSide, YAxesLabelSide;
    TFlag TitleTopEnabled, TitleBottomEnabled, TitleLeftEnabled, TitleRightEnabled;
    std::string TitleTop, TitleBottom, TitleLeft, TitleRight;
    TFont TitleTopFont, TitleBottomFont, TitleLeftFont, TitleRightFont;
    TFlag LegendEnabled, ShowSampleEnabled, TextColorAsGraphEnabled;
    TEnum8 LegendPosition;
    TFlag GridRadialEnabled;
    double GridRadialStep;
    TGraphStyle GridRadialGraphStyle;
    TFlag GridAngularEnabled;
    double GridAngularStep;
    TGraphStyle GridAngularGraphStyle;
    TFlag GridHorEnabled;
    double GridHorStep;
    TGraphStyle GridHorGraphStyle;
    TFlag GridVerEnabled;
    double GridVerStep;
    TGraphStyle GridVerGraphStyle;

    friend bool operator==(const TSettings&, const TSettings&) = default;
};

TSettings Settings(const TCoordinate& v) {
    return {v.XInterval,
            v.YInterval,
            v.PlotParameter,
            v.AxesStyle,
            v.EqualScaleEnabled,
            v.BackgroundColor,
            v.XAxesDirection,
            v.YAxesDirection,
            v.XAxesGraphStyle,
            v.YAxesGraphStyle,
            v.XArrow,
            v.YArrow,
            v.XAxesTicksStep,
            v.XAxesTicksLength,
            v.YAxesTicksStep,
            v.YAxesTicksLength,
            v.XAxesLabelsStep,
            v.XAxesLabelsString,
            v.YAxesLabelsStep,
            v.YAxesLabelsString,
            v.XAxesLabelSide,
            v.YAxesLabelSide,
            v.TitleTopEnabled,
            v.TitleBottomEnabled,
            v.TitleLeftEnabled,
            v.TitleRightEnabled,
            v.TitleTop,
            v.TitleBottom,
            v.TitleLeft,
            v.TitleRight,
            v.TitleTopFont,
            v.TitleBottomFont,
            v.TitleLeftFont,
            v.TitleRightFont,
            v.LegendEnabled,
            v.ShowSampleEnabled,
            v.TextColorAsGraphEnabled,
            v.LegendPosition,
            v.GridRadialEnabled,
            v.GridRadialStep,
            v.GridRadialGraphStyle,
            v.GridAngularEnabled,
            v.GridAngularStep,
            v.GridAngularGraphStyle,
            v.GridHorEnabled,
            v.GridHorStep,
            v.GridHorGraphStyle,
            v.GridVerEnabled,
            v.GridVerStep,
            v.GridVerGraphStyle};
}

// A view with a value other than the default in every setting, each one the dialog can show
// and read back exactly.
void SetUnusualSettings(TCoordinate& v) {
    v.XInterval = TInterval(1, -2.5, 0.25);
    v.YInterval = TInterval(1, 1e-5, 3e20);
    v.PlotParameter.Steps = 1234;
    v.PlotParameter.MaxGap = 56;
    v.AxesStyle = asBoxed;
    v.EqualScaleEnabled = 1;
    v.BackgroundColor = 0x123456;
    v.XAxesDirection = 1;
    v.YAxesDirection = 0;
    v.XAxesGraphStyle.LineStyle = 3;
    v.XAxesGraphStyle.LineWidth = 4;
    v.XAxesGraphStyle.LineColor = 0x0000FF;
    v.YAxesGraphStyle.LineStyle = 1;
    v.YAxesGraphStyle.LineWidth = 5;
    v.YAxesGraphStyle.LineColor = SystemColor(8);
    v.XArrow = TAxesArrow(0, " x ");
    v.YArrow = TAxesArrow(0, "\xe9\x80\x9f\xe5\xba\xa6"); // two Chinese characters
    v.XAxesTicksStep = 0.5;
    v.XAxesTicksLength = 7;
    v.YAxesTicksStep = 2;
    v.YAxesTicksLength = 25; // beyond the spin buttons' range, still shown and kept
    v.XAxesLabelsStep = 1.5;
    v.XAxesLabelsString = "cm";
    v.YAxesLabelsStep = 100;
    v.YAxesLabelsString = "%";
    v.XAxesLabelSide = 0;
    v.YAxesLabelSide = 0;
    v.TitleTopEnabled = 1;
    v.TitleTop = " Top title ";
    v.TitleBottomEnabled = 1;
    v.TitleBottom = "Bottom";
    v.TitleLeftEnabled = 1;
    v.TitleLeft = "Left";
    v.TitleRightEnabled = 1;
    v.TitleRight = "Right";
    v.TitleTopFont.Name = "DejaVu Serif";
    v.TitleTopFont.Height = -20;
    v.LegendEnabled = 1;
    v.ShowSampleEnabled = 0;
    v.TextColorAsGraphEnabled = 1;
    v.LegendPosition = 2;
    v.GridRadialEnabled = 1;
    v.GridRadialStep = 0.75;
    v.GridRadialGraphStyle.LineWidth = 2;
    v.GridAngularEnabled = 1;
    v.GridAngularStep = 1.5;
    v.GridAngularGraphStyle.LineStyle = 4;
    v.GridHorEnabled = 1;
    v.GridHorStep = 3;
    v.GridHorGraphStyle.LineColor = 0x00FF00;
    v.GridVerEnabled = 1;
    v.GridVerStep = 4;
    v.GridVerGraphStyle.LineWidth = 3;
}

enum class TLeave { Ok, Cancel, Escape, Stay };

// What happened during one EditCoordinate.
struct TOutcome {
    bool Result = false;
    bool Reached = false;
    // The dialog was still open after the presenter's part (OK refused).
    bool StillOpen = false;
    std::vector<QString> Warnings;
};

// Runs EditCoordinate with the presenter's part played once the modal dialog is up: `act`
// works the controls, then the dialog is left as `leave` says. A dialog that stays open is
// cancelled afterwards, so no test waits on it.
TOutcome Edit(TCoordinate& view, const std::function<void(TFormCoordinateProperties&)>& act,
              TLeave leave, TFormCoordinateProperties::TFontChooser chooser = {}) {
    TOutcome outcome;
    TFormCoordinateProperties form;
    form.SetWarningReporter(
        [&](QWidget*, const QString& message) { outcome.Warnings.push_back(message); });
    form.SetFontChooser(chooser ? chooser : [](QWidget*, const TFont&) -> std::optional<TFont> {
        ADD_FAILURE() << "no font dialog expected";
        return std::nullopt;
    });
    QTimer::singleShot(0, &form, [&] {
        if (QApplication::activeModalWidget() != &form) {
            form.reject();
            return;
        }
        outcome.Reached = true;
        if (act)
            act(form);
        switch (leave) {
        case TLeave::Ok:
            QTest::mouseClick(form.Button5, Qt::LeftButton);
            break;
        case TLeave::Cancel:
            QTest::mouseClick(form.Button6, Qt::LeftButton);
            break;
        case TLeave::Escape:
            QTest::keyClick(&form, Qt::Key_Escape);
            break;
        case TLeave::Stay:
            break;
        }
        outcome.StillOpen = form.isVisible();
        if (outcome.StillOpen)
            form.Button6Click();
    });
    outcome.Result = form.EditCoordinate(view);
    EXPECT_TRUE(outcome.Reached) << "the dialog was not shown modally";
    EXPECT_FALSE(form.isVisible());
    return outcome;
}

class FormCoordinateProperties : public ::testing::Test {
protected:
    TDecimalSeparatorScope Separator{'.'};
    TCoordinate View;
};

TEST_F(FormCoordinateProperties, TreeNodesShowTheirPageAsTheOnlyTab) {
    TFormCoordinateProperties form;
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Coordinate Properties"));
    EXPECT_EQ(form.Button5->text(), QStringLiteral("OK"));
    EXPECT_TRUE(form.Button5->isDefault());
    EXPECT_EQ(form.Button6->text(), QStringLiteral("Cancel"));
    EXPECT_EQ(form.PageControl1->count(), 9);

    const struct {
        const char* Text;
        int Parent;
        int Page;
    } nodes[] = {
        {"Plot Parameters", -1, 0},
        {"Axes Properties", -1, 1},
        {"View", 1, 1},
        {"Style", 1, 2},
        {"Ticks", 1, 3},
        {"Labels", 1, 4},
        {"Titles", 1, 5},
        {"Legend Properties", -1, 6},
        {"Grid Properties", -1, 7},
        {"Cartesian", 8, 7},
        {"Polar", 8, 8},
    };
    ASSERT_EQ(form.TreeView1->topLevelItemCount(), 4);
    for (int i = 0; i < TFormCoordinateProperties::NodeCount; ++i) {
        SCOPED_TRACE(nodes[i].Text);
        QTreeWidgetItem* node = form.Node(i);
        EXPECT_EQ(node->text(0).toStdString(), nodes[i].Text);
        EXPECT_EQ(node->parent(), nodes[i].Parent < 0 ? nullptr : form.Node(nodes[i].Parent));
        form.TreeView1->setCurrentItem(node);
        EXPECT_EQ(form.PageControl1->currentIndex(), nodes[i].Page);
        EXPECT_EQ(form.PageControl1->currentWidget(), form.TabSheets[nodes[i].Page]);
        EXPECT_EQ(form.PageControl1->tabText(nodes[i].Page).toStdString(), nodes[i].Text);
        for (int page = 0; page < TFormCoordinateProperties::PageCount; ++page)
            EXPECT_EQ(form.PageControl1->isTabVisible(page), page == nodes[i].Page) << page;
    }
    // No node selected: the first page.
    form.TreeView1->setCurrentItem(nullptr);
    form.TreeView1Click();
    EXPECT_EQ(form.PageControl1->currentIndex(), 0);
}

TEST_F(FormCoordinateProperties, ShowingSelectsTheFirstNodeAndExpandsTheParents) {
    Edit(
        View,
        [](TFormCoordinateProperties& form) {
            EXPECT_EQ(form.TreeView1->currentItem(), form.Node(0));
            EXPECT_TRUE(form.Node(1)->isExpanded());
            EXPECT_TRUE(form.Node(8)->isExpanded());
            EXPECT_EQ(form.PageControl1->currentIndex(), 0);
            EXPECT_EQ(form.PageControl1->tabText(0), QStringLiteral("Plot Parameters"));
            // The dialog fits the screen it opened on.
            const QRect screen = form.screen()->availableGeometry();
            EXPECT_LE(form.width(), std::min(616, screen.width()));
            EXPECT_LE(form.height(), std::min(397, screen.height()));
        },
        TLeave::Cancel);
}

TEST_F(FormCoordinateProperties, ShowingFillsEveryControlWithItsConversion) {
    SetUnusualSettings(View);
    View.XAxesGraphStyle.LineWidth = 7;   // no such item
    View.YAxesGraphStyle.LineWidth = 0;   // no such item
    View.AxesStyle = 2;                   // any nonzero value is boxed
    View.XAxesDirection = 3;              // any nonzero value is right to left
    View.YAxesDirection = 2;              // anything but 1 is top to bottom
    View.XAxesLabelSide = 2;              // anything but 0 is below
    View.LegendPosition = 7;              // anything above 1 is right
    View.GridHorGraphStyle.LineStyle = 5; // clear shows solid
    Edit(
        View,
        [](TFormCoordinateProperties& f) {
            EXPECT_EQ(f.Edit1->text(), QStringLiteral("-2.5"));
            EXPECT_EQ(f.Edit2->text(), QStringLiteral("0.25"));
            EXPECT_EQ(f.Edit3->text(), QStringLiteral("1E-5"));
            EXPECT_EQ(f.Edit4->text(), QStringLiteral("3E20"));
            EXPECT_EQ(f.Edit5->text(), QStringLiteral("1234"));
            EXPECT_EQ(f.Edit6->text(), QStringLiteral("56"));
            EXPECT_EQ(f.RadioGroup1->ItemIndex(), 1);
            EXPECT_EQ(f.ColorBox1->Selected(), 0x123456);
            EXPECT_TRUE(f.CheckBox1->isChecked());
            EXPECT_EQ(f.Edit7->text(), QStringLiteral(" x "));
            EXPECT_EQ(f.ComboBox1->currentText(), QStringLiteral("Right -> Left"));
            EXPECT_EQ(f.ComboboxLineStyle1->CD_CurrentPenStyle(), 3);
            EXPECT_EQ(f.ComboboxLineWidth1->currentIndex(), -1);
            EXPECT_EQ(f.ColorBox2->Selected(), 0x0000FF);
            EXPECT_FALSE(f.CheckBox2->isChecked());
            EXPECT_EQ(f.Edit8->text(), QString::fromUtf8("\xe9\x80\x9f\xe5\xba\xa6"));
            EXPECT_EQ(f.ComboBox2->currentText(), QStringLiteral("Top -> Bottom"));
            EXPECT_EQ(f.ComboboxLineStyle2->CD_CurrentPenStyle(), 1);
            EXPECT_EQ(f.ComboboxLineWidth2->currentIndex(), -1);
            EXPECT_EQ(f.ColorBox3->Selected(), SystemColor(8));
            EXPECT_EQ(f.Edit9->text(), QStringLiteral("0.5"));
            EXPECT_EQ(f.Edit11->text(), QStringLiteral("7"));
            EXPECT_EQ(f.Edit10->text(), QStringLiteral("2"));
            EXPECT_EQ(f.Edit12->text(), QStringLiteral("25"));
            EXPECT_EQ(f.Edit13->text(), QStringLiteral("1.5"));
            EXPECT_FALSE(f.CheckBox4->isChecked());
            EXPECT_EQ(f.Edit14->text(), QStringLiteral("cm"));
            EXPECT_EQ(f.Edit15->text(), QStringLiteral("100"));
            EXPECT_TRUE(f.CheckBox5->isChecked());
            EXPECT_EQ(f.Edit16->text(), QStringLiteral("%"));
            EXPECT_TRUE(f.CheckBox6->isChecked());
            EXPECT_EQ(f.Edit17->text(), QStringLiteral(" Top title "));
            EXPECT_EQ(f.Edit20->text(), QStringLiteral("Right"));
            EXPECT_TRUE(f.CheckBox10->isChecked());
            EXPECT_FALSE(f.CheckBox11->isChecked());
            EXPECT_TRUE(f.CheckBox12->isChecked());
            EXPECT_EQ(f.RadioGroup2->ItemIndex(), 2);
            EXPECT_TRUE(f.CheckBox13->isChecked());
            EXPECT_EQ(f.Edit21->text(), QStringLiteral("3"));
            EXPECT_EQ(f.ComboboxLineStyle3->CD_CurrentPenStyle(), 0);
            EXPECT_EQ(f.ColorBox4->Selected(), 0x00FF00);
            EXPECT_EQ(f.ComboboxLineWidth4->currentIndex(), 2);
            EXPECT_EQ(f.Edit23->text(), QStringLiteral("0.75"));
            EXPECT_EQ(f.ComboboxLineWidth5->currentIndex(), 1);
            EXPECT_EQ(f.Edit24->text(), QStringLiteral("1.5"));
            EXPECT_EQ(f.ComboboxLineStyle6->CD_CurrentPenStyle(), 4);
        },
        TLeave::Cancel);
}

TEST_F(FormCoordinateProperties, DefaultDirectionsAndSides) {
    Edit(
        View,
        [](TFormCoordinateProperties& f) {
            EXPECT_EQ(f.RadioGroup1->ItemIndex(), 0);
            EXPECT_EQ(f.ComboBox1->currentText(), QStringLiteral("Left -> Right"));
            EXPECT_EQ(f.ComboBox2->currentText(), QStringLiteral("Bottom -> Top"));
            EXPECT_FALSE(f.CheckBox4->isChecked());
            EXPECT_FALSE(f.CheckBox5->isChecked());
            EXPECT_EQ(f.RadioGroup2->ItemIndex(), 1);
            EXPECT_EQ(f.Edit24->text(), QStringLiteral("0.25"));
            EXPECT_EQ(f.ComboboxLineWidth1->currentIndex(), 0);
            EXPECT_EQ(f.ComboboxLineStyle3->CD_CurrentPenStyle(), 2);
        },
        TLeave::Cancel);
}

struct TRuleCase {
    int Rule;
    // Field texts set on top of a valid view, in order.
    std::vector<std::pair<QLineEdit * TFormCoordinateProperties::*, const char*>> Texts;
    const char* Message;
};

using F = TFormCoordinateProperties;

TEST_F(FormCoordinateProperties, EachRuleReportsItsMessageAndNothingIsApplied) {
    const std::vector<TRuleCase> cases = {
        {1, {{&F::Edit1, ""}}, "X最小值不能为空"},
        {2, {{&F::Edit1, "abc"}}, "X最小值必须是数字"},
        {3, {{&F::Edit2, " "}}, "X最大值不能为空"},
        {4, {{&F::Edit2, "1..2"}}, "X最大值必须是数字"},
        {5, {{&F::Edit1, "10"}}, "X最小值必须小于X最大值"},
        {5, {{&F::Edit1, "20"}, {&F::Edit2, "-20"}}, "X最小值必须小于X最大值"},
        {6, {{&F::Edit3, ""}}, "Y最小值不能为空"},
        {7, {{&F::Edit3, "y"}}, "Y最小值必须是数字"},
        {8, {{&F::Edit4, ""}}, "Y最大值不能为空"},
        {9, {{&F::Edit4, "1e400"}}, "Y最大值必须是数字"},
        {10, {{&F::Edit3, "3e20"}}, "Y最小值必须小于Y最大值"},
        {11, {{&F::Edit5, ""}}, "步长数不能为空"},
        {12, {{&F::Edit5, "12.5"}}, "步长数必须是整数"},
        {13, {{&F::Edit5, "0"}}, "步长数必须大于0"},
        {13, {{&F::Edit5, "-500"}}, "步长数必须大于0"},
        {14, {{&F::Edit6, ""}}, "最大gap不能为空"},
        {15, {{&F::Edit6, "1.5"}}, "最大gap必须是整数"},
        {16, {{&F::Edit6, "0"}}, "最大gap必须大于0"},
        {17, {{&F::Edit5, "500"}, {&F::Edit6, "500"}}, "最大gap必须小于步长数"},
        {18, {{&F::Edit9, ""}}, "X轴刻度步长值不能为空"},
        {19, {{&F::Edit9, "one"}}, "X轴刻度步长值必须是数字"},
        {20, {{&F::Edit9, "0"}}, "X轴刻度步长值必须大于0"},
        {21, {{&F::Edit10, ""}}, "Y轴刻度步长值不能为空"},
        {22, {{&F::Edit10, "1,5"}}, "Y轴刻度步长值必须是数字"},
        {23, {{&F::Edit10, "-1"}}, "Y轴刻度步长值必须大于0"},
        {24, {{&F::Edit13, ""}}, "X轴标签步长值不能为空"},
        {25, {{&F::Edit13, "2x"}}, "X轴标签步长值必须是数字"},
        {26, {{&F::Edit13, "0"}}, "X轴标签步长值必须大于0"},
        {27, {{&F::Edit15, "\t"}}, "Y轴标签步长值不能为空"},
        {28, {{&F::Edit15, "pi"}}, "Y轴标签步长值必须是数字"},
        {29, {{&F::Edit15, "-0.1"}}, "Y轴标签步长值必须大于0"},
        // The grids are off in a default view: their steps are checked all the same.
        {30, {{&F::Edit21, ""}}, "横向网格步长不能为空"},
        {31, {{&F::Edit21, "-"}}, "横向网格步长必须是数字"},
        {32, {{&F::Edit21, "0"}}, "横向网格步长必须大于0"},
        {33, {{&F::Edit22, ""}}, "纵向网格步长不能为空"},
        {34, {{&F::Edit22, "e"}}, "纵向网格步长必须是数字"},
        {35, {{&F::Edit22, "-2"}}, "纵向网格步长必须大于0"},
        {36, {{&F::Edit23, ""}}, "环形网格步长不能为空"},
        {37, {{&F::Edit23, "r"}}, "环形网格步长必须是数字"},
        {38, {{&F::Edit23, "0"}}, "环形网格步长必须大于0"},
        {39, {{&F::Edit24, ""}}, "角度网格步长不能为空"},
        {40, {{&F::Edit24, "a"}}, "角度网格步长必须是数字"},
        {41, {{&F::Edit24, "0"}}, "角度网格步长必须在0到2之间"},
        {42, {{&F::Edit24, "2"}}, "角度网格步长必须在0到2之间"},
        // Several failures: the first rule in order is reported, not the last.
        {2, {{&F::Edit24, "5"}, {&F::Edit9, ""}, {&F::Edit1, "x"}}, "X最小值必须是数字"},
        // An empty field fails its later rules too; the earliest is reported.
        {18, {{&F::Edit9, ""}, {&F::Edit21, "0"}}, "X轴刻度步长值不能为空"},
    };
    for (const TRuleCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "rule " << c.Rule);
        TCoordinate view;
        SetUnusualSettings(view);
        const TSettings before = Settings(view);
        const TOutcome outcome = Edit(
            view,
            [&](TFormCoordinateProperties& form) {
                for (const auto& [edit, text] : c.Texts)
                    (form.*edit)->setText(QString::fromUtf8(text));
            },
            TLeave::Ok);
        EXPECT_FALSE(outcome.Result);
        EXPECT_TRUE(outcome.StillOpen);
        ASSERT_EQ(outcome.Warnings.size(), 1u);
        EXPECT_EQ(outcome.Warnings[0].toStdString(), c.Message);
        EXPECT_TRUE(Settings(view) == before) << "something was applied";
    }
}

TEST_F(FormCoordinateProperties, TheDefaultReportIsAWarningBoxWithOneOkButton) {
    TFormCoordinateProperties form;
    form.Edit1->setText(QString());
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    // Texts, not the buttons: the box and its buttons are gone when the report returns.
    QStringList buttons;
    QTimer::singleShot(0, &form, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr)
            return;
        text = box->text();
        icon = box->icon();
        for (const QAbstractButton* button : box->buttons())
            buttons.push_back(button->text().remove(QLatin1Char('&')));
        box->accept();
    });
    form.Button5Click();
    EXPECT_EQ(text.toStdString(), "X最小值不能为空");
    EXPECT_EQ(icon, QMessageBox::Warning);
    ASSERT_EQ(buttons.size(), 1);
    EXPECT_EQ(buttons[0], QStringLiteral("OK"));
    EXPECT_FALSE(form.Result());
}

TEST_F(FormCoordinateProperties, CorrectedInputAppliesOnTheNextOk) {
    std::vector<QString> warnings;
    TOutcome outcome = Edit(
        View,
        [&](TFormCoordinateProperties& form) {
            form.Edit24->setText(QStringLiteral("2"));
            form.Button5Click();
            EXPECT_TRUE(form.isVisible());
            form.Edit24->setText(QStringLiteral("1.999"));
        },
        TLeave::Ok);
    EXPECT_TRUE(outcome.Result);
    EXPECT_EQ(outcome.Warnings.size(), 1u);
    EXPECT_EQ(View.GridAngularStep, 1.999);
}

TEST_F(FormCoordinateProperties, OkWritesEveryControlIntoTheView) {
    const TOutcome outcome = Edit(
        View,
        [](TFormCoordinateProperties& f) {
            f.Edit1->setText(QStringLiteral(" -3 "));
            f.Edit2->setText(QStringLiteral("7.5"));
            f.Edit3->setText(QStringLiteral("-1e2"));
            f.Edit4->setText(QStringLiteral("0"));
            f.Edit5->setText(QStringLiteral("900"));
            f.Edit6->setText(QStringLiteral("899"));
            f.RadioGroup1->SetItemIndex(1);
            f.ColorBox1->SetSelected(0x00FFFF);
            f.CheckBox1->setChecked(true);
            f.Edit7->setText(QStringLiteral("  time "));
            f.ComboBox1->setCurrentIndex(1);
            f.ComboboxLineStyle1->SetCD_CurrentPenStyle(2);
            f.ComboboxLineWidth1->setCurrentIndex(2);
            f.ColorBox2->SetSelected(0x800000);
            f.CheckBox2->setChecked(false);
            f.Edit8->setText(QStringLiteral("v"));
            f.ComboBox2->setCurrentIndex(1);
            f.ComboboxLineStyle2->SetCD_CurrentPenStyle(4);
            f.ComboboxLineWidth2->setCurrentIndex(-1);
            f.ColorBox3->SetSelected(0x654321);
            f.CheckBox3->setChecked(false);
            f.Edit9->setText(QStringLiteral("0.2"));
            f.Edit11->setText(QStringLiteral("abc"));
            f.Edit10->setText(QStringLiteral("5"));
            f.Edit12->setText(QStringLiteral("9"));
            f.Edit13->setText(QStringLiteral("2.5"));
            f.CheckBox4->setChecked(true);
            f.Edit14->setText(QStringLiteral("  s  "));
            f.Edit15->setText(QStringLiteral("10"));
            f.CheckBox5->setChecked(true);
            f.Edit16->setText(QString::fromUtf8("\t\xe7\xb1\xb3 "));
            f.CheckBox6->setChecked(true);
            f.Edit17->setText(QStringLiteral("  top  "));
            f.CheckBox7->setChecked(true);
            f.Edit18->setText(QStringLiteral("bottom"));
            f.CheckBox8->setChecked(true);
            f.Edit19->setText(QStringLiteral("left"));
            f.CheckBox9->setChecked(true);
            f.Edit20->setText(QStringLiteral("right"));
            f.CheckBox10->setChecked(true);
            f.CheckBox11->setChecked(false);
            f.CheckBox12->setChecked(true);
            f.RadioGroup2->SetItemIndex(0);
            f.CheckBox13->setChecked(true);
            f.Edit21->setText(QStringLiteral("0.5"));
            f.ComboboxLineStyle3->SetCD_CurrentPenStyle(1);
            f.ComboboxLineWidth3->setCurrentIndex(4);
            f.ColorBox4->SetSelected(0x0000FF);
            f.CheckBox14->setChecked(true);
            f.Edit22->setText(QStringLiteral("0.25"));
            f.ComboboxLineStyle4->SetCD_CurrentPenStyle(0);
            f.ComboboxLineWidth4->setCurrentIndex(1);
            f.ColorBox5->SetSelected(0xFF0000);
            f.CheckBox15->setChecked(true);
            f.Edit23->setText(QStringLiteral("3"));
            f.ComboboxLineStyle5->SetCD_CurrentPenStyle(3);
            f.ComboboxLineWidth5->setCurrentIndex(0);
            f.ColorBox6->SetSelected(0x008000);
            f.CheckBox16->setChecked(true);
            f.Edit24->setText(QStringLiteral("0.5"));
            f.ComboboxLineStyle6->SetCD_CurrentPenStyle(4);
            f.ComboboxLineWidth6->setCurrentIndex(3);
            f.ColorBox7->SetSelected(0x800080);
        },
        TLeave::Ok);
    ASSERT_TRUE(outcome.Result);
    EXPECT_TRUE(outcome.Warnings.empty());
    const TCoordinate& v = View;
    EXPECT_EQ(v.XInterval, TInterval(1, -3, 7.5));
    EXPECT_EQ(v.YInterval, TInterval(1, -100, 0));
    EXPECT_EQ(v.PlotParameter.Steps, 900);
    EXPECT_EQ(v.PlotParameter.MaxGap, 899);
    EXPECT_EQ(v.PlotParameter.StepsOnX, 50); // not on the dialog
    EXPECT_EQ(v.AxesStyle, asBoxed);
    EXPECT_EQ(v.BackgroundColor, 0x00FFFF);
    EXPECT_EQ(v.EqualScaleEnabled, 1);
    EXPECT_EQ(v.XArrow, TAxesArrow(0, "  time "));
    EXPECT_EQ(v.XAxesDirection, 1);
    EXPECT_EQ(v.XAxesGraphStyle.LineStyle, 2);
    EXPECT_EQ(v.XAxesGraphStyle.LineWidth, 3);
    EXPECT_EQ(v.XAxesGraphStyle.LineColor, 0x800000);
    EXPECT_EQ(v.YArrow, TAxesArrow(0, "v"));
    EXPECT_EQ(v.YAxesDirection, 0);
    EXPECT_EQ(v.YAxesGraphStyle.LineStyle, 4);
    EXPECT_EQ(v.YAxesGraphStyle.LineWidth, 0); // no width selected
    EXPECT_EQ(v.YAxesGraphStyle.LineColor, 0x654321);
    EXPECT_EQ(v.XAxesTicksStep, 0.2);
    EXPECT_EQ(v.XAxesTicksLength, 2); // not a number: the fallback
    EXPECT_EQ(v.YAxesTicksStep, 5);
    EXPECT_EQ(v.YAxesTicksLength, 9);
    EXPECT_EQ(v.XAxesLabelsStep, 2.5);
    EXPECT_EQ(v.XAxesLabelSide, 0);
    EXPECT_EQ(v.XAxesLabelsString, "s");
    EXPECT_EQ(v.YAxesLabelsStep, 10);
    EXPECT_EQ(v.YAxesLabelSide, 0);
    EXPECT_EQ(v.YAxesLabelsString, "\xe7\xb1\xb3");
    EXPECT_EQ(v.TitleTopEnabled, 1);
    EXPECT_EQ(v.TitleTop, "  top  ");
    EXPECT_EQ(v.TitleBottomEnabled, 1);
    EXPECT_EQ(v.TitleBottom, "bottom");
    EXPECT_EQ(v.TitleLeftEnabled, 1);
    EXPECT_EQ(v.TitleLeft, "left");
    EXPECT_EQ(v.TitleRightEnabled, 1);
    EXPECT_EQ(v.TitleRight, "right");
    EXPECT_EQ(v.LegendEnabled, 1);
    EXPECT_EQ(v.ShowSampleEnabled, 0);
    EXPECT_EQ(v.TextColorAsGraphEnabled, 1);
    EXPECT_EQ(v.LegendPosition, 0);
    EXPECT_EQ(v.GridHorEnabled, 1);
    EXPECT_EQ(v.GridHorStep, 0.5);
    EXPECT_EQ(v.GridHorGraphStyle.LineStyle, 1);
    EXPECT_EQ(v.GridHorGraphStyle.LineWidth, 5);
    EXPECT_EQ(v.GridHorGraphStyle.LineColor, 0x0000FF);
    EXPECT_EQ(v.GridVerEnabled, 1);
    EXPECT_EQ(v.GridVerStep, 0.25);
    EXPECT_EQ(v.GridVerGraphStyle.LineStyle, 0);
    EXPECT_EQ(v.GridVerGraphStyle.LineWidth, 2);
    EXPECT_EQ(v.GridVerGraphStyle.LineColor, 0xFF0000);
    EXPECT_EQ(v.GridRadialEnabled, 1);
    EXPECT_EQ(v.GridRadialStep, 3);
    EXPECT_EQ(v.GridRadialGraphStyle.LineStyle, 3);
    EXPECT_EQ(v.GridRadialGraphStyle.LineWidth, 1);
    EXPECT_EQ(v.GridRadialGraphStyle.LineColor, 0x008000);
    // The brush of a grid style is not on the dialog and stays.
    EXPECT_EQ(v.GridRadialGraphStyle.BrushStyle, 1);
    EXPECT_EQ(v.GridAngularEnabled, 1);
    EXPECT_EQ(v.GridAngularStep, 0.5);
    EXPECT_EQ(v.GridAngularGraphStyle.LineStyle, 4);
    EXPECT_EQ(v.GridAngularGraphStyle.LineWidth, 4);
    EXPECT_EQ(v.GridAngularGraphStyle.LineColor, 0x800080);
}

TEST_F(FormCoordinateProperties, TicksLengthsThatDoNotConvertTakeTheirFallback) {
    for (const char* text : {"", "abc", "2.5", "99999999999"}) {
        SCOPED_TRACE(text);
        TCoordinate view;
        view.XAxesTicksLength = 6;
        view.YAxesTicksLength = 6;
        Edit(
            view,
            [&](TFormCoordinateProperties& f) {
                f.Edit11->setText(QString::fromUtf8(text));
                f.Edit12->setText(QString::fromUtf8(text));
            },
            TLeave::Ok);
        EXPECT_EQ(view.XAxesTicksLength, 2);
        EXPECT_EQ(view.YAxesTicksLength, 2);
    }
}

TEST_F(FormCoordinateProperties, OkWithoutChangesLeavesARepresentableViewAsItWas) {
    SetUnusualSettings(View);
    const TSettings before = Settings(View);
    const TOutcome outcome = Edit(View, {}, TLeave::Ok);
    EXPECT_TRUE(outcome.Result);
    EXPECT_TRUE(outcome.Warnings.empty());
    EXPECT_TRUE(Settings(View) == before);
}

TEST_F(FormCoordinateProperties, OkWithoutChangesNormalisesWhatTheControlsCannotHold) {
    const struct {
        const char* Name;
        std::function<void(TCoordinate&)> Set;
        std::function<void(TCoordinate&)> Expected;
    } cases[] = {
        {"width beyond the picker", [](TCoordinate& v) { v.XAxesGraphStyle.LineWidth = 7; },
         [](TCoordinate& v) { v.XAxesGraphStyle.LineWidth = 0; }},
        {"clear pen", [](TCoordinate& v) { v.GridVerGraphStyle.LineStyle = 5; },
         [](TCoordinate& v) { v.GridVerGraphStyle.LineStyle = 0; }},
        {"flag 2, which is off", [](TCoordinate& v) { v.LegendEnabled = 2; },
         [](TCoordinate& v) { v.LegendEnabled = 0; }},
        {"axes style 2", [](TCoordinate& v) { v.AxesStyle = 2; },
         [](TCoordinate& v) { v.AxesStyle = 1; }},
        {"x direction 3", [](TCoordinate& v) { v.XAxesDirection = 3; },
         [](TCoordinate& v) { v.XAxesDirection = 1; }},
        {"y direction 2", [](TCoordinate& v) { v.YAxesDirection = 2; },
         [](TCoordinate& v) { v.YAxesDirection = 0; }},
        {"label side 2", [](TCoordinate& v) { v.YAxesLabelSide = 2; },
         [](TCoordinate& v) { v.YAxesLabelSide = 1; }},
        {"legend position 9", [](TCoordinate& v) { v.LegendPosition = 9; },
         [](TCoordinate& v) { v.LegendPosition = 2; }},
        {"label string with blanks", [](TCoordinate& v) { v.XAxesLabelsString = " m "; },
         [](TCoordinate& v) { v.XAxesLabelsString = "m"; }},
        {"more digits than the general format keeps",
         [](TCoordinate& v) { v.GridHorStep = 0.1 + 0.2; },
         [](TCoordinate& v) { v.GridHorStep = 0.3; }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        TCoordinate view;
        TCoordinate expected;
        c.Set(view);
        c.Expected(expected);
        const TOutcome outcome = Edit(view, {}, TLeave::Ok);
        EXPECT_TRUE(outcome.Result);
        EXPECT_TRUE(Settings(view) == Settings(expected));
    }
}

TEST_F(FormCoordinateProperties, NumbersFollowTheRegionalSeparator) {
    TDecimalSeparatorScope comma(',');
    View.XInterval.Min = -2.5;
    const TOutcome outcome = Edit(
        View,
        [](TFormCoordinateProperties& f) {
            EXPECT_EQ(f.Edit1->text(), QStringLiteral("-2,5"));
            EXPECT_EQ(f.Edit24->text(), QStringLiteral("0,25"));
            f.Edit9->setText(QStringLiteral("0,75"));
        },
        TLeave::Ok);
    EXPECT_TRUE(outcome.Result);
    EXPECT_EQ(View.XInterval.Min, -2.5);
    EXPECT_EQ(View.XAxesTicksStep, 0.75);
    EXPECT_EQ(View.GridAngularStep, 0.25);
}

// Works every control except the font buttons.
void ChangeEveryControl(TFormCoordinateProperties& f) {
    for (QLineEdit* edit : f.findChildren<QLineEdit*>())
        edit->setText(QStringLiteral("1"));
    for (QCheckBox* box : f.findChildren<QCheckBox*>())
        box->toggle();
    for (QComboBox* combo : f.findChildren<QComboBox*>())
        combo->setCurrentIndex(combo->count() - 1);
    f.RadioGroup1->SetItemIndex(1);
    f.RadioGroup2->SetItemIndex(0);
}

TEST_F(FormCoordinateProperties, CancelAppliesNothingFontsIncluded) {
    for (TLeave leave : {TLeave::Cancel, TLeave::Escape}) {
        TCoordinate view;
        TFont chosen;
        chosen.Name = "DejaVu Serif";
        chosen.Height = -30;
        chosen.Style = {fsBold};
        const TOutcome outcome = Edit(
            view,
            [](TFormCoordinateProperties& f) {
                ChangeEveryControl(f);
                QTest::mouseClick(f.Button3, Qt::LeftButton);
            },
            leave, [&](QWidget*, const TFont&) { return std::optional<TFont>(chosen); });
        EXPECT_FALSE(outcome.Result);
        EXPECT_TRUE(outcome.Warnings.empty());
        EXPECT_TRUE(Settings(view) == Settings(TCoordinate()));
    }
}

TEST_F(FormCoordinateProperties, FontButtonsStartFromTheTitleFontAndApplyOnOk) {
    std::vector<TFont> answers(3);
    for (int i = 0; i < 3; ++i) {
        answers[i].Name = "Face " + std::to_string(i);
        answers[i].Height = -(12 + i);
    }
    // Each call answers with the next font; an empty answer is the presenter cancelling.
    const std::vector<std::optional<TFont>> script = {answers[0], answers[1], std::nullopt,
                                                      answers[2]};
    std::vector<TFont> asked;
    auto chooser = [&](QWidget*, const TFont& initial) -> std::optional<TFont> {
        asked.push_back(initial);
        return asked.size() <= script.size() ? script[asked.size() - 1] : std::nullopt;
    };
    for (TFont* font :
         {&View.TitleTopFont, &View.TitleBottomFont, &View.TitleLeftFont, &View.TitleRightFont}) {
        font->Name = "Title face";
        font->Color = 0x800000;
    }
    View.TitleTopFont.Height = -29;
    View.TitleTopFont.Style = {fsBold};
    const TSettings before = Settings(View);
    bool viewUntouched = false;
    const TOutcome outcome = Edit(
        View,
        [&](TFormCoordinateProperties& f) {
            QTest::mouseClick(f.Button1, Qt::LeftButton);
            QTest::mouseClick(f.Button1, Qt::LeftButton); // again: starts from the first choice
            QTest::mouseClick(f.Button2, Qt::LeftButton); // cancelled
            QTest::mouseClick(f.Button4, Qt::LeftButton);
            viewUntouched = Settings(View) == before;
        },
        TLeave::Ok, chooser);
    EXPECT_TRUE(outcome.Result);
    EXPECT_TRUE(viewUntouched);
    ASSERT_EQ(asked.size(), 4u);
    EXPECT_EQ(asked[0], before.TitleTopFont);
    EXPECT_EQ(asked[1], answers[0]);
    EXPECT_EQ(asked[2], before.TitleBottomFont);
    EXPECT_EQ(asked[3], before.TitleRightFont);
    EXPECT_EQ(View.TitleTopFont, answers[1]);
    EXPECT_EQ(View.TitleBottomFont, before.TitleBottomFont);
    EXPECT_EQ(View.TitleLeftFont, before.TitleLeftFont);
    EXPECT_EQ(View.TitleRightFont, answers[2]);
}

// The platform's font dialog: left as it opens, or set to another font, then OK.
struct TFontRoundTrip {
    const char* Name;
    TFont Title;
    std::optional<QFont> Changed;
    TLeave Leave;
    TFont Expected;
};

TFont TitleFont(const char* face, std::int32_t height, TFontStyles style, TColor color) {
    TFont font;
    font.Name = face;
    font.Height = height;
    font.Style = style;
    font.Color = color;
    return font;
}

TEST_F(FormCoordinateProperties, FontDialogRoundTripKeepsWhatWasNotChanged) {
    const TFont navy = TitleFont("DejaVu Serif", -29, {fsBold}, 0x800000);
    // 10.5 points: the dialog shows whole points.
    const TFont odd = TitleFont("MS Sans Serif", -14, {fsItalic}, 0x0000FF);
    // 30 points of DejaVu Sans in its regular style, as the presenter would pick it.
    const QFont big = FontForChooser(TitleFont("DejaVu Sans", -40, {}, 0));
    const TFontRoundTrip cases[] = {
        {"navy bold, OK unchanged", navy, std::nullopt, TLeave::Ok, navy},
        {"odd size, OK unchanged", odd, std::nullopt, TLeave::Ok, odd},
        {"changed, OK", navy, big, TLeave::Ok, TitleFont("DejaVu Sans", -40, {}, 0x800000)},
        {"changed, Cancel", navy, big, TLeave::Cancel, navy},
    };
    for (const TFontRoundTrip& c : cases) {
        SCOPED_TRACE(c.Name);
        TCoordinate view;
        view.TitleTopFont = c.Title;
        bool dialogSeen = false;
        Edit(
            view,
            [&](TFormCoordinateProperties& f) {
                QTimer::singleShot(0, &f, [&] {
                    auto* chooser = qobject_cast<QFontDialog*>(QApplication::activeModalWidget());
                    if (chooser == nullptr)
                        return;
                    dialogSeen = true;
                    if (c.Changed)
                        chooser->setCurrentFont(*c.Changed);
                    chooser->accept();
                });
                QTest::mouseClick(f.Button1, Qt::LeftButton);
            },
            c.Leave, ChooseFontWithDialog);
        EXPECT_TRUE(dialogSeen);
        EXPECT_EQ(view.TitleTopFont, c.Expected)
            << view.TitleTopFont.Name << " " << view.TitleTopFont.Height;
    }
}

TEST(FontChoice, ChosenFontKeepsTheDescriptionsOwnColourAndResolution) {
    TFont base;
    base.Color = 0x0000FF;
    base.PixelsPerInch = 96;
    base.Charset = 134;
    QFont chosen(QStringLiteral("DejaVu Serif"));
    chosen.setPointSizeF(12);
    chosen.setBold(true);
    chosen.setItalic(true);
    const TFont font = FontFromChooser(chosen, base);
    EXPECT_EQ(font.Name, "DejaVu Serif");
    EXPECT_EQ(font.Height, -16);
    EXPECT_EQ(font.Size(), 12);
    EXPECT_TRUE(font.Style == (TFontStyles{fsBold, fsItalic}));
    EXPECT_EQ(font.Color, 0x0000FF);
    EXPECT_EQ(font.Charset, 134);

    // What the font dialog shows for the description reads back as the same height.
    EXPECT_DOUBLE_EQ(FontForChooser(font).pointSizeF(), 12.0);
    EXPECT_EQ(FontFromChooser(FontForChooser(font), base).Height, -16);
}

TEST(FontChoice, TheFontDialogStartsOnTheInstalledStyleOfTheDescription) {
    // DejaVu Sans names its regular style "Book", which the dialog must not confuse with the
    // first style in its list (an oblique one).
    const struct {
        TFontStyles Style;
        bool Italic;
        bool Bold;
    } cases[] = {{{}, false, false},
                 {{fsItalic}, true, false},
                 {{fsBold}, false, true},
                 {{fsBold, fsItalic}, true, true}};
    for (const auto& c : cases) {
        TFont font;
        font.Name = "DejaVu Sans";
        font.Height = -16;
        font.Style = c.Style;
        const QFont shown = FontForChooser(font);
        SCOPED_TRACE(shown.styleName().toStdString());
        ASSERT_FALSE(shown.styleName().isEmpty());
        const QFont face = QFontDatabase::font(shown.family(), shown.styleName(), 12);
        EXPECT_EQ(face.style() != QFont::StyleNormal, c.Italic);
        EXPECT_EQ(face.bold(), c.Bold);
        EXPECT_FALSE(shown.styleName().contains(QStringLiteral("Condensed")));
    }
}

TEST(UpDown, StepsTheTypedNumberWithinItsRange) {
    QLineEdit edit;
    TUpDown spin(&edit, 1, 10);
    const struct {
        const char* Typed;
        int Delta;
        const char* Expected;
    } cases[] = {
        {"5", 1, "6"},   {"5", -1, "4"}, {"10", 1, "10"}, {"1", -1, "1"},
        {"25", -1, "9"}, {"-3", 1, "2"}, {"", 1, "3"}, // an empty field steps from the last
                                                       // position (2)
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Typed);
        edit.setText(QString::fromUtf8(c.Typed));
        spin.Step(c.Delta);
        EXPECT_EQ(edit.text().toStdString(), c.Expected);
    }
    edit.setText(QStringLiteral("7"));
    QTest::mouseClick(spin.UpButton, Qt::LeftButton);
    EXPECT_EQ(edit.text(), QStringLiteral("8"));
    QTest::mouseClick(spin.DownButton, Qt::LeftButton);
    EXPECT_EQ(edit.text(), QStringLiteral("7"));
}

TEST(UpDown, ModalBoxStopsAHeldArrow) {
    QWidget window;
    auto* edit = new QLineEdit(QStringLiteral("1"), &window);
    auto* spin = new TUpDown(edit, 1, 1000, &window);
    spin->move(0, 30);
    window.show();
    QString atOpen, atClose;
    // A box comes up while the arrow is held; it takes the mouse release.
    QTimer::singleShot(600, &window, [&] {
        QMessageBox box(QMessageBox::Warning, QStringLiteral("Warning"), QStringLiteral("box"));
        QTimer::singleShot(600, &box, [&] { box.accept(); });
        atOpen = edit->text();
        box.exec();
        atClose = edit->text();
    });
    QTest::mousePress(spin->UpButton, Qt::LeftButton);
    QTest::qWait(1500);
    EXPECT_GT(atOpen.toInt(), 1); // it was stepping before the box
    EXPECT_EQ(atClose, atOpen);
    EXPECT_EQ(edit->text(), atOpen);
    EXPECT_FALSE(spin->UpButton->isDown());
    QTest::mouseRelease(spin->UpButton, Qt::LeftButton);
    EXPECT_EQ(edit->text(), atOpen);
}

} // namespace
} // namespace curvana
