#include "dialogs/formcoordinateproperties.h"

#include "common/flags.h"
#include "common/numtext.h"
#include "dialogs/colorbox.h"
#include "dialogs/comboboxlinestyle.h"
#include "dialogs/comboboxlinewidth.h"
#include "dialogs/fontchoice.h"
#include "dialogs/radiogroup.h"
#include "dialogs/updown.h"
#include "dialogs/validobject.h"
#include "view/coordinate.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QShowEvent>
#include <QStyle>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <string>

namespace curvana {

namespace {

constexpr int ClientWidth = 616;
constexpr int ClientHeight = 397;
constexpr int TreeWidth = 145;

struct TNodeEntry {
    const char* Text;
    int Parent; // index of the parent node, -1 for a top node
    int Page;
};

constexpr std::array<TNodeEntry, TFormCoordinateProperties::NodeCount> NodeTable = {{
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
}};

QString Str(const std::string& text) {
    return QString::fromStdString(text);
}
std::string Std(const QLineEdit* edit) {
    return edit->text().toStdString();
}

// Blanks and control characters off both ends; bytes of multi-byte characters stay.
std::string Trimmed(const std::string& text) {
    auto blank = [](char c) { return static_cast<unsigned char>(c) <= 32; };
    const auto first = std::find_if_not(text.begin(), text.end(), blank);
    const auto last = std::find_if_not(text.rbegin(), text.rend(), blank).base();
    return first < last ? std::string(first, last) : std::string();
}

TFlag Flag(const QCheckBox* box) {
    return box->isChecked() ? 1 : 0;
}

// A width the picker does not offer leaves no item selected.
void SelectWidth(TComboboxLineWidth* picker, std::int32_t width) {
    picker->setCurrentIndex(width >= 1 && width <= picker->count() ? width - 1 : -1);
}

// Rows in the order the checks run; the row number is the check's code.
enum class TRuleKind { NotEmpty, Float, Integer, GreaterThanZero, LessThanTwo, LessThanOther };

struct TRule {
    QLineEdit* TFormCoordinateProperties::*Edit;
    TRuleKind Kind;
    const char* Message;
    QLineEdit* TFormCoordinateProperties::*Other = nullptr;
};

using F = TFormCoordinateProperties;

const std::array<TRule, 42> Rules = {{
    {&F::Edit1, TRuleKind::NotEmpty, "X最小值不能为空"},
    {&F::Edit1, TRuleKind::Float, "X最小值必须是数字"},
    {&F::Edit2, TRuleKind::NotEmpty, "X最大值不能为空"},
    {&F::Edit2, TRuleKind::Float, "X最大值必须是数字"},
    {&F::Edit1, TRuleKind::LessThanOther, "X最小值必须小于X最大值", &F::Edit2},
    {&F::Edit3, TRuleKind::NotEmpty, "Y最小值不能为空"},
    {&F::Edit3, TRuleKind::Float, "Y最小值必须是数字"},
    {&F::Edit4, TRuleKind::NotEmpty, "Y最大值不能为空"},
    {&F::Edit4, TRuleKind::Float, "Y最大值必须是数字"},
    {&F::Edit3, TRuleKind::LessThanOther, "Y最小值必须小于Y最大值", &F::Edit4},
    {&F::Edit5, TRuleKind::NotEmpty, "步长数不能为空"},
    {&F::Edit5, TRuleKind::Integer, "步长数必须是整数"},
    {&F::Edit5, TRuleKind::GreaterThanZero, "步长数必须大于0"},
    {&F::Edit6, TRuleKind::NotEmpty, "最大gap不能为空"},
    {&F::Edit6, TRuleKind::Integer, "最大gap必须是整数"},
    {&F::Edit6, TRuleKind::GreaterThanZero, "最大gap必须大于0"},
    {&F::Edit6, TRuleKind::LessThanOther, "最大gap必须小于步长数", &F::Edit5},
    {&F::Edit9, TRuleKind::NotEmpty, "X轴刻度步长值不能为空"},
    {&F::Edit9, TRuleKind::Float, "X轴刻度步长值必须是数字"},
    {&F::Edit9, TRuleKind::GreaterThanZero, "X轴刻度步长值必须大于0"},
    {&F::Edit10, TRuleKind::NotEmpty, "Y轴刻度步长值不能为空"},
    {&F::Edit10, TRuleKind::Float, "Y轴刻度步长值必须是数字"},
    {&F::Edit10, TRuleKind::GreaterThanZero, "Y轴刻度步长值必须大于0"},
    {&F::Edit13, TRuleKind::NotEmpty, "X轴标签步长值不能为空"},
    {&F::Edit13, TRuleKind::Float, "X轴标签步长值必须是数字"},
    {&F::Edit13, TRuleKind::GreaterThanZero, "X轴标签步长值必须大于0"},
    {&F::Edit15, TRuleKind::NotEmpty, "Y轴标签步长值不能为空"},
    {&F::Edit15, TRuleKind::Float, "Y轴标签步长值必须是数字"},
    {&F::Edit15, TRuleKind::GreaterThanZero, "Y轴标签步长值必须大于0"},
    {&F::Edit21, TRuleKind::NotEmpty, "横向网格步长不能为空"},
    {&F::Edit21, TRuleKind::Float, "横向网格步长必须是数字"},
    {&F::Edit21, TRuleKind::GreaterThanZero, "横向网格步长必须大于0"},
    {&F::Edit22, TRuleKind::NotEmpty, "纵向网格步长不能为空"},
    {&F::Edit22, TRuleKind::Float, "纵向网格步长必须是数字"},
    {&F::Edit22, TRuleKind::GreaterThanZero, "纵向网格步长必须大于0"},
    {&F::Edit23, TRuleKind::NotEmpty, "环形网格步长不能为空"},
    {&F::Edit23, TRuleKind::Float, "环形网格步长必须是数字"},
    {&F::Edit23, TRuleKind::GreaterThanZero, "环形网格步长必须大于0"},
    {&F::Edit24, TRuleKind::NotEmpty, "角度网格步长不能为空"},
    {&F::Edit24, TRuleKind::Float, "角度网格步长必须是数字"},
    {&F::Edit24, TRuleKind::GreaterThanZero, "角度网格步长必须在0到2之间"},
    {&F::Edit24, TRuleKind::LessThanTwo, "角度网格步长必须在0到2之间"},
}};

// Page layout helpers.
QWidget* ScrollablePage(QTabWidget* pages, QWidget* content) {
    // Pages scroll instead of clipping when a large text scale leaves too little room.
    auto* scroll = new QScrollArea(pages);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setWidget(content);
    return scroll;
}

QFormLayout* NewForm(QWidget* parent) {
    auto* form = new QFormLayout(parent);
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    // Tight margins: two groups side by side must fit the page at the dialog's own width.
    form->setContentsMargins(6, 6, 6, 6);
    form->setHorizontalSpacing(6);
    return form;
}

QLineEdit* NewEdit(QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setMinimumWidth(60);
    return edit;
}

} // namespace

TFormCoordinateProperties::TFormCoordinateProperties(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
    setWindowTitle(QStringLiteral("Coordinate Properties"));
    FWarningReporter = [](QWidget* owner, const QString& message) {
        QMessageBox::warning(owner, QStringLiteral("Warning"), message, QMessageBox::Ok);
    };
    FFontChooser = ChooseFontWithDialog;

    TreeView1 = new QTreeWidget(this);
    TreeView1->setHeaderHidden(true);
    TreeView1->setRootIsDecorated(false);
    TreeView1->setItemsExpandable(false);
    TreeView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    TreeView1->setSelectionMode(QAbstractItemView::SingleSelection);
    TreeView1->setMinimumWidth(110);
    TreeView1->setMaximumWidth(TreeWidth * 2);
    TreeView1->header()->setStretchLastSection(true);
    const QIcon folderIcon = style()->standardIcon(QStyle::SP_DirIcon);
    const QIcon pageIcon = style()->standardIcon(QStyle::SP_FileIcon);
    for (std::size_t i = 0; i < NodeTable.size(); ++i) {
        const TNodeEntry& entry = NodeTable[i];
        QTreeWidgetItem* item =
            entry.Parent < 0 ? new QTreeWidgetItem(TreeView1)
                             : new QTreeWidgetItem(FNodes[static_cast<std::size_t>(entry.Parent)]);
        item->setText(0, QString::fromUtf8(entry.Text));
        const bool hasChildren =
            i + 1 < NodeTable.size() && NodeTable[i + 1].Parent == static_cast<int>(i);
        item->setIcon(0, hasChildren ? folderIcon : pageIcon);
        FNodes[i] = item;
    }
    connect(TreeView1, &QTreeWidget::itemSelectionChanged, this, [this] { TreeView1Click(); });

    PageControl1 = new QTabWidget(this);
    PageControl1->setMinimumWidth(200);
    CreatePages();

    Button5 = new QPushButton(QStringLiteral("OK"), this);
    Button5->setDefault(true);
    Button6 = new QPushButton(QStringLiteral("Cancel"), this);
    connect(Button5, &QPushButton::clicked, this, [this] { Button5Click(); });
    connect(Button6, &QPushButton::clicked, this, [this] { Button6Click(); });

    auto* top = new QHBoxLayout;
    top->addWidget(TreeView1, 1);
    top->addWidget(PageControl1, 3);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(Button5);
    buttons->addWidget(Button6);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addLayout(buttons);

    resize(ClientWidth, ClientHeight);
}

void TFormCoordinateProperties::CreatePages() {
    auto addPage = [this](int index, QWidget* content) {
        TabSheets[static_cast<std::size_t>(index)] = ScrollablePage(PageControl1, content);
        PageControl1->addTab(TabSheets[static_cast<std::size_t>(index)],
                             QStringLiteral("TabSheet%1").arg(index + 1));
    };
    auto stylePickers = [](QWidget* parent, QFormLayout* form, TComboboxLineStyle*& style,
                           TComboboxLineWidth*& width, TColorBox*& color) {
        style = new TComboboxLineStyle(parent);
        width = new TComboboxLineWidth(parent);
        color = new TColorBox(parent);
        for (QWidget* picker : std::initializer_list<QWidget*>{style, width, color})
            picker->setMinimumWidth(80);
        form->addRow(QStringLiteral("Line Style"), style);
        form->addRow(QStringLiteral("Line Width"), width);
        form->addRow(QStringLiteral("Line Color"), color);
    };

    // 1: intervals and plot parameters.
    {
        auto* page = new QWidget;
        auto* column = new QVBoxLayout(page);
        auto* intervals = new QGroupBox(QStringLiteral("Intervals"), page);
        auto* form = NewForm(intervals);
        form->addRow(QStringLiteral("Minimum of X"), Edit1 = NewEdit(intervals));
        form->addRow(QStringLiteral("Maximum of X"), Edit2 = NewEdit(intervals));
        form->addRow(QStringLiteral("Minimum of Y"), Edit3 = NewEdit(intervals));
        form->addRow(QStringLiteral("Maximum of Y"), Edit4 = NewEdit(intervals));
        auto* plot = new QGroupBox(QStringLiteral("Plot Parameter"), page);
        form = NewForm(plot);
        form->addRow(QStringLiteral("Number of Steps"), Edit5 = NewEdit(plot));
        form->addRow(QStringLiteral("Maximum gap"), Edit6 = NewEdit(plot));
        column->addWidget(intervals);
        column->addWidget(plot);
        column->addStretch(1);
        addPage(0, page);
    }
    // 2: axes view.
    {
        auto* page = new QWidget;
        auto* column = new QVBoxLayout(page);
        RadioGroup1 = new TRadioGroup(QStringLiteral("Axes View"),
                                      {QStringLiteral("Crossed"), QStringLiteral("Boxed")}, page);
        column->addWidget(RadioGroup1);
        auto* form = new QFormLayout;
        ColorBox1 = new TColorBox(page);
        form->addRow(QStringLiteral("Background Color"), ColorBox1);
        column->addLayout(form);
        CheckBox1 = new QCheckBox(QStringLiteral("Equal scale of marks"), page);
        column->addWidget(CheckBox1);
        column->addStretch(1);
        addPage(1, page);
    }
    // 3: axes style.
    {
        auto* page = new QWidget;
        auto* row = new QHBoxLayout(page);
        row->setContentsMargins(4, 4, 4, 4);
        auto axisGroup = [&](const QString& caption, const QString& nameCaption, QLineEdit*& name,
                             QComboBox*& direction, const QStringList& directions,
                             TComboboxLineStyle*& style, TComboboxLineWidth*& width,
                             TColorBox*& color, QCheckBox*& arrow) {
            auto* group = new QGroupBox(caption, page);
            auto* form = NewForm(group);
            form->addRow(nameCaption, name = NewEdit(group));
            direction = new QComboBox(group);
            direction->addItems(directions);
            direction->setMinimumWidth(80);
            form->addRow(QStringLiteral("Direction"), direction);
            stylePickers(group, form, style, width, color);
            arrow = new QCheckBox(QStringLiteral("Show Arrow"), group);
            form->addRow(arrow);
            row->addWidget(group, 0, Qt::AlignTop);
        };
        axisGroup(QStringLiteral("X-Axis"), QStringLiteral("X-Axis name"), Edit7, ComboBox1,
                  {QStringLiteral("Left -> Right"), QStringLiteral("Right -> Left")},
                  ComboboxLineStyle1, ComboboxLineWidth1, ColorBox2, CheckBox2);
        axisGroup(QStringLiteral("Y-Axis"), QStringLiteral("Y-Axis name"), Edit8, ComboBox2,
                  {QStringLiteral("Bottom -> Top"), QStringLiteral("Top -> Bottom")},
                  ComboboxLineStyle2, ComboboxLineWidth2, ColorBox3, CheckBox3);
        addPage(2, page);
    }
    // 4: ticks.
    {
        auto* page = new QWidget;
        auto* column = new QVBoxLayout(page);
        auto ticksGroup = [&](const QString& caption, QLineEdit*& step, QLineEdit*& length,
                              TUpDown*& spin) {
            auto* group = new QGroupBox(caption, page);
            auto* form = NewForm(group);
            form->addRow(QStringLiteral("Step"), step = NewEdit(group));
            auto* lengthRow = new QHBoxLayout;
            length = NewEdit(group);
            spin = new TUpDown(length, 1, 10, group);
            lengthRow->addWidget(length, 1);
            lengthRow->addWidget(spin);
            form->addRow(QStringLiteral("Length"), lengthRow);
            column->addWidget(group);
        };
        ticksGroup(QStringLiteral("Ticks Along X-Axis"), Edit9, Edit11, UpDown1);
        ticksGroup(QStringLiteral("Ticks Along Y-Axis"), Edit10, Edit12, UpDown2);
        column->addStretch(1);
        addPage(3, page);
    }
    // 5: labels.
    {
        auto* page = new QWidget;
        auto* column = new QVBoxLayout(page);
        auto labelsGroup = [&](const QString& caption, QLineEdit*& step, QCheckBox*& side,
                               const QString& sideCaption, QLineEdit*& suffix) {
            auto* group = new QGroupBox(caption, page);
            auto* form = NewForm(group);
            form->addRow(QStringLiteral("Step"), step = NewEdit(group));
            side = new QCheckBox(sideCaption, group);
            form->addRow(side);
            form->addRow(QStringLiteral("Additional String"), suffix = NewEdit(group));
            column->addWidget(group);
        };
        labelsGroup(QStringLiteral("Labels Along X-Axis"), Edit13, CheckBox4,
                    QStringLiteral("To the top of X-Axis"), Edit14);
        labelsGroup(QStringLiteral("Labels Along Y-Axis"), Edit15, CheckBox5,
                    QStringLiteral("To the left of Y-Axis"), Edit16);
        column->addStretch(1);
        addPage(4, page);
    }
    // 6: titles.
    {
        auto* page = new QWidget;
        auto* column = new QVBoxLayout(page);
        auto* group = new QGroupBox(QStringLiteral("Titles"), page);
        auto* grid = new QGridLayout(group);
        auto titleRow = [&](int row, const QString& caption, QCheckBox*& enabled, QLineEdit*& text,
                            QPushButton*& font) {
            grid->addWidget(enabled = new QCheckBox(caption, group), row, 0);
            grid->addWidget(text = NewEdit(group), row, 1);
            grid->addWidget(font = new QPushButton(QStringLiteral("Font..."), group), row, 2);
        };
        titleRow(0, QStringLiteral("Top"), CheckBox6, Edit17, Button1);
        titleRow(1, QStringLiteral("Bottom"), CheckBox7, Edit18, Button2);
        titleRow(2, QStringLiteral("Left"), CheckBox8, Edit19, Button3);
        titleRow(3, QStringLiteral("Right"), CheckBox9, Edit20, Button4);
        grid->setColumnStretch(1, 1);
        column->addWidget(group);
        column->addStretch(1);
        connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
        connect(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
        connect(Button3, &QPushButton::clicked, this, [this] { Button3Click(); });
        connect(Button4, &QPushButton::clicked, this, [this] { Button4Click(); });
        addPage(5, page);
    }
    // 7: legend.
    {
        auto* page = new QWidget;
        auto* column = new QVBoxLayout(page);
        column->addWidget(CheckBox10 = new QCheckBox(QStringLiteral("Legend"), page));
        column->addWidget(CheckBox11 = new QCheckBox(QStringLiteral("Show Samples"), page));
        column->addWidget(CheckBox12 = new QCheckBox(QStringLiteral("Text Color as graphs"), page));
        RadioGroup2 = new TRadioGroup(
            QStringLiteral("Position"),
            {QStringLiteral("Left"), QStringLiteral("Center"), QStringLiteral("Right")}, page);
        column->addWidget(RadioGroup2);
        column->addStretch(1);
        addPage(6, page);
    }
    // 8 and 9: grids.
    auto gridGroup = [&](QWidget* page, QBoxLayout* row, const QString& groupCaption,
                         const QString& caption, QCheckBox*& enabled, QLineEdit*& step,
                         const QString& stepUnit, TComboboxLineStyle*& style,
                         TComboboxLineWidth*& width, TColorBox*& color) {
        auto* group = new QGroupBox(groupCaption, page);
        auto* form = NewForm(group);
        form->addRow(enabled = new QCheckBox(caption, group));
        step = NewEdit(group);
        if (stepUnit.isEmpty()) {
            form->addRow(QStringLiteral("Step"), step);
        } else {
            auto* stepRow = new QHBoxLayout;
            stepRow->addWidget(step, 1);
            stepRow->addWidget(new QLabel(stepUnit, group));
            form->addRow(QStringLiteral("Step"), stepRow);
        }
        stylePickers(group, form, style, width, color);
        row->addWidget(group, 0, Qt::AlignTop);
    };
    {
        auto* page = new QWidget;
        auto* row = new QHBoxLayout(page);
        row->setContentsMargins(4, 4, 4, 4);
        gridGroup(page, row, QString(), QStringLiteral("Horizontal Lines"), CheckBox13, Edit21,
                  QString(), ComboboxLineStyle3, ComboboxLineWidth3, ColorBox4);
        gridGroup(page, row, QString(), QStringLiteral("Vertical Lines"), CheckBox14, Edit22,
                  QString(), ComboboxLineStyle4, ComboboxLineWidth4, ColorBox5);
        addPage(7, page);
    }
    {
        auto* page = new QWidget;
        auto* row = new QHBoxLayout(page);
        row->setContentsMargins(4, 4, 4, 4);
        gridGroup(page, row, QStringLiteral("Radial Grid"), QStringLiteral("Radial Grid"),
                  CheckBox15, Edit23, QString(), ComboboxLineStyle5, ComboboxLineWidth5, ColorBox6);
        gridGroup(page, row, QStringLiteral("Angular Grid"), QStringLiteral("Angular Grid"),
                  CheckBox16, Edit24, QStringLiteral("Pi"), ComboboxLineStyle6, ComboboxLineWidth6,
                  ColorBox7);
        addPage(8, page);
    }
}

int TFormCoordinateProperties::PageOfNode(int index) {
    if (index < 0 || index >= NodeCount)
        return 0;
    return NodeTable[static_cast<std::size_t>(index)].Page;
}

void TFormCoordinateProperties::SetWarningReporter(TWarningReporter reporter) {
    FWarningReporter = std::move(reporter);
}

void TFormCoordinateProperties::SetFontChooser(TFontChooser chooser) {
    FFontChooser = std::move(chooser);
}

bool TFormCoordinateProperties::EditCoordinate(TCoordinate& view) {
    FResult = false;
    FView = &view;
    exec();
    FView = nullptr;
    return FResult;
}

void TFormCoordinateProperties::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    FitToScreen();
    FormShow();
}

void TFormCoordinateProperties::FitToScreen() {
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return;
    const QRect available = screen->availableGeometry();
    // Room for the window frame, which is not known before the window manager adds it.
    const int frameWidth = std::max(0, frameGeometry().width() - width());
    const int frameHeight = std::max(32, frameGeometry().height() - height());
    const QSize wanted(std::min(ClientWidth, available.width() - frameWidth),
                       std::min(ClientHeight, available.height() - frameHeight));
    resize(wanted.expandedTo(minimumSizeHint()).boundedTo(available.size()));
    move(available.center() - rect().center());
}

void TFormCoordinateProperties::FormShow() {
    TreeView1->expandItem(FNodes[1]);
    TreeView1->expandItem(FNodes[8]);
    TreeView1->setCurrentItem(FNodes[0]);
    TreeView1Click();
    if (FView == nullptr)
        return;
    const TCoordinate& v = *FView;
    FTitleFonts = {v.TitleTopFont, v.TitleBottomFont, v.TitleLeftFont, v.TitleRightFont};
    auto styleToPickers = [](const TGraphStyle& style, TComboboxLineStyle* stylePicker,
                             TComboboxLineWidth* widthPicker, TColorBox* colorBox) {
        stylePicker->SetCD_CurrentPenStyle(style.LineStyle);
        SelectWidth(widthPicker, style.LineWidth);
        colorBox->SetSelected(style.LineColor);
    };

    Edit1->setText(Str(FloatToStr(v.XInterval.Min)));
    Edit2->setText(Str(FloatToStr(v.XInterval.Max)));
    Edit3->setText(Str(FloatToStr(v.YInterval.Min)));
    Edit4->setText(Str(FloatToStr(v.YInterval.Max)));
    Edit5->setText(QString::number(v.PlotParameter.Steps));
    Edit6->setText(QString::number(v.PlotParameter.MaxGap));

    RadioGroup1->SetItemIndex(v.AxesStyle != 0 ? 1 : 0);
    ColorBox1->SetSelected(v.BackgroundColor);
    CheckBox1->setChecked(IsOn(v.EqualScaleEnabled));

    Edit7->setText(Str(v.XArrow.Name));
    ComboBox1->setCurrentIndex(v.XAxesDirection != 0 ? 1 : 0);
    styleToPickers(v.XAxesGraphStyle, ComboboxLineStyle1, ComboboxLineWidth1, ColorBox2);
    CheckBox2->setChecked(IsOn(v.XArrow.Enabled));
    Edit8->setText(Str(v.YArrow.Name));
    ComboBox2->setCurrentIndex(v.YAxesDirection == 1 ? 0 : 1);
    styleToPickers(v.YAxesGraphStyle, ComboboxLineStyle2, ComboboxLineWidth2, ColorBox3);
    CheckBox3->setChecked(IsOn(v.YArrow.Enabled));

    Edit9->setText(Str(FloatToStr(v.XAxesTicksStep)));
    Edit11->setText(QString::number(v.XAxesTicksLength));
    Edit10->setText(Str(FloatToStr(v.YAxesTicksStep)));
    Edit12->setText(QString::number(v.YAxesTicksLength));

    Edit13->setText(Str(FloatToStr(v.XAxesLabelsStep)));
    CheckBox4->setChecked(v.XAxesLabelSide == 0);
    Edit14->setText(Str(v.XAxesLabelsString));
    Edit15->setText(Str(FloatToStr(v.YAxesLabelsStep)));
    CheckBox5->setChecked(v.YAxesLabelSide == 0);
    Edit16->setText(Str(v.YAxesLabelsString));

    CheckBox6->setChecked(IsOn(v.TitleTopEnabled));
    Edit17->setText(Str(v.TitleTop));
    CheckBox7->setChecked(IsOn(v.TitleBottomEnabled));
    Edit18->setText(Str(v.TitleBottom));
    CheckBox8->setChecked(IsOn(v.TitleLeftEnabled));
    Edit19->setText(Str(v.TitleLeft));
    CheckBox9->setChecked(IsOn(v.TitleRightEnabled));
    Edit20->setText(Str(v.TitleRight));

    CheckBox10->setChecked(IsOn(v.LegendEnabled));
    CheckBox11->setChecked(IsOn(v.ShowSampleEnabled));
    CheckBox12->setChecked(IsOn(v.TextColorAsGraphEnabled));
    RadioGroup2->SetItemIndex(v.LegendPosition <= 1 ? v.LegendPosition : 2);

    CheckBox13->setChecked(IsOn(v.GridHorEnabled));
    Edit21->setText(Str(FloatToStr(v.GridHorStep)));
    styleToPickers(v.GridHorGraphStyle, ComboboxLineStyle3, ComboboxLineWidth3, ColorBox4);
    CheckBox14->setChecked(IsOn(v.GridVerEnabled));
    Edit22->setText(Str(FloatToStr(v.GridVerStep)));
    styleToPickers(v.GridVerGraphStyle, ComboboxLineStyle4, ComboboxLineWidth4, ColorBox5);

    CheckBox15->setChecked(IsOn(v.GridRadialEnabled));
    Edit23->setText(Str(FloatToStr(v.GridRadialStep)));
    styleToPickers(v.GridRadialGraphStyle, ComboboxLineStyle5, ComboboxLineWidth5, ColorBox6);
    CheckBox16->setChecked(IsOn(v.GridAngularEnabled));
    Edit24->setText(Str(FloatToStr(v.GridAngularStep)));
    styleToPickers(v.GridAngularGraphStyle, ComboboxLineStyle6, ComboboxLineWidth6, ColorBox7);
}

void TFormCoordinateProperties::TreeView1Click() {
    const QTreeWidgetItem* selected = TreeView1->currentItem();
    int node = -1;
    for (int i = 0; i < NodeCount; ++i)
        if (FNodes[static_cast<std::size_t>(i)] == selected)
            node = i;
    const int page = PageOfNode(node);
    PageControl1->setTabVisible(page, true);
    PageControl1->setCurrentIndex(page);
    if (node >= 0)
        PageControl1->setTabText(page, selected->text(0));
    for (int i = 0; i < PageCount; ++i)
        if (i != page)
            PageControl1->setTabVisible(i, false);
}

std::optional<QString> TFormCoordinateProperties::Validate() const {
    TValidObject valid;
    QLineEdit* current = nullptr;
    for (std::size_t i = 0; i < Rules.size(); ++i) {
        const TRule& rule = Rules[i];
        const auto code = static_cast<std::int32_t>(i + 1);
        QLineEdit* edit = this->*rule.Edit;
        if (edit != current) {
            valid.SetText(Std(edit));
            current = edit;
        }
        valid.AddMessage(code, rule.Message);
        switch (rule.Kind) {
        case TRuleKind::NotEmpty:
            valid.CheckNotEmpty(code);
            break;
        case TRuleKind::Float:
            valid.CheckFloat(code);
            break;
        case TRuleKind::Integer:
            valid.CheckInteger(code);
            break;
        case TRuleKind::GreaterThanZero:
            valid.CheckGreaterThan(code, 0);
            break;
        case TRuleKind::LessThanTwo:
            valid.CheckLessThan(code, 2);
            break;
        case TRuleKind::LessThanOther:
            valid.CheckLessThanText(Std(this->*rule.Other), code);
            break;
        }
    }
    if (valid.ErrorCode == 0)
        return std::nullopt;
    return QString::fromStdString(valid.FirstErrorText());
}

void TFormCoordinateProperties::Apply() {
    TCoordinate& v = *FView;
    auto real = [](const QLineEdit* edit) { return StrToFloat(Std(edit)); };
    auto integer = [](const QLineEdit* edit, std::int32_t fallback) {
        return StrToIntDef(Std(edit), fallback);
    };
    auto pickersToStyle = [](TGraphStyle& style, const TComboboxLineStyle* stylePicker,
                             const TComboboxLineWidth* widthPicker, const TColorBox* colorBox) {
        style.LineStyle = stylePicker->CD_CurrentPenStyle();
        // No selection gives index -1, so width 0.
        style.LineWidth = widthPicker->currentIndex() + 1;
        style.LineColor = colorBox->Selected();
    };

    v.XInterval.Min = real(Edit1);
    v.XInterval.Max = real(Edit2);
    v.YInterval.Min = real(Edit3);
    v.YInterval.Max = real(Edit4);
    v.PlotParameter.Steps = integer(Edit5, 800);
    v.PlotParameter.MaxGap = integer(Edit6, 400);

    v.AxesStyle = RadioGroup1->ItemIndex() == 1 ? asBoxed : asCrossed;
    v.BackgroundColor = ColorBox1->Selected();
    v.EqualScaleEnabled = Flag(CheckBox1);

    v.XArrow.Name = Std(Edit7);
    v.XAxesDirection = ComboBox1->currentIndex() == 1 ? 1 : 0;
    pickersToStyle(v.XAxesGraphStyle, ComboboxLineStyle1, ComboboxLineWidth1, ColorBox2);
    v.XArrow.Enabled = Flag(CheckBox2);
    v.YArrow.Name = Std(Edit8);
    v.YAxesDirection = ComboBox2->currentIndex() == 1 ? 0 : 1;
    pickersToStyle(v.YAxesGraphStyle, ComboboxLineStyle2, ComboboxLineWidth2, ColorBox3);
    v.YArrow.Enabled = Flag(CheckBox3);

    v.XAxesTicksStep = real(Edit9);
    v.XAxesTicksLength = integer(Edit11, 2);
    v.YAxesTicksStep = real(Edit10);
    v.YAxesTicksLength = integer(Edit12, 2);

    v.XAxesLabelsStep = real(Edit13);
    v.XAxesLabelSide = CheckBox4->isChecked() ? 0 : 1;
    v.XAxesLabelsString = Trimmed(Std(Edit14));
    v.YAxesLabelsStep = real(Edit15);
    v.YAxesLabelSide = CheckBox5->isChecked() ? 0 : 1;
    v.YAxesLabelsString = Trimmed(Std(Edit16));

    v.TitleTopEnabled = Flag(CheckBox6);
    v.TitleTop = Std(Edit17);
    v.TitleBottomEnabled = Flag(CheckBox7);
    v.TitleBottom = Std(Edit18);
    v.TitleLeftEnabled = Flag(CheckBox8);
    v.TitleLeft = Std(Edit19);
    v.TitleRightEnabled = Flag(CheckBox9);
    v.TitleRight = Std(Edit20);
    v.TitleTopFont.Assign(FTitleFonts[0]);
    v.TitleBottomFont.Assign(FTitleFonts[1]);
    v.TitleLeftFont.Assign(FTitleFonts[2]);
    v.TitleRightFont.Assign(FTitleFonts[3]);

    v.LegendEnabled = Flag(CheckBox10);
    v.ShowSampleEnabled = Flag(CheckBox11);
    v.TextColorAsGraphEnabled = Flag(CheckBox12);
    v.LegendPosition = static_cast<TEnum8>(std::max(0, RadioGroup2->ItemIndex()));

    v.GridHorEnabled = Flag(CheckBox13);
    v.GridHorStep = real(Edit21);
    pickersToStyle(v.GridHorGraphStyle, ComboboxLineStyle3, ComboboxLineWidth3, ColorBox4);
    v.GridVerEnabled = Flag(CheckBox14);
    v.GridVerStep = real(Edit22);
    pickersToStyle(v.GridVerGraphStyle, ComboboxLineStyle4, ComboboxLineWidth4, ColorBox5);

    v.GridRadialEnabled = Flag(CheckBox15);
    v.GridRadialStep = real(Edit23);
    pickersToStyle(v.GridRadialGraphStyle, ComboboxLineStyle5, ComboboxLineWidth5, ColorBox6);
    v.GridAngularEnabled = Flag(CheckBox16);
    v.GridAngularStep = real(Edit24);
    pickersToStyle(v.GridAngularGraphStyle, ComboboxLineStyle6, ComboboxLineWidth6, ColorBox7);
}

void TFormCoordinateProperties::Button5Click() {
    if (const std::optional<QString> message = Validate()) {
        FWarningReporter(this, *message);
        return;
    }
    if (FView != nullptr)
        Apply();
    FResult = true;
    accept();
}

void TFormCoordinateProperties::Button6Click() {
    FResult = false;
    reject();
}

void TFormCoordinateProperties::ChooseTitleFont(std::size_t title) {
    if (FView == nullptr)
        return;
    TFont& font = FTitleFonts[title];
    if (const std::optional<TFont> chosen = FFontChooser(this, font))
        font = *chosen;
}

void TFormCoordinateProperties::Button1Click() {
    ChooseTitleFont(0);
}

void TFormCoordinateProperties::Button2Click() {
    ChooseTitleFont(1);
}

void TFormCoordinateProperties::Button3Click() {
    ChooseTitleFont(2);
}

void TFormCoordinateProperties::Button4Click() {
    ChooseTitleFont(3);
}

} // namespace curvana
