#pragma once

#include "view/font.h"

#include <QDialog>

#include <array>
#include <functional>
#include <optional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QTreeWidget;
class QTreeWidgetItem;

namespace curvana {

class TColorBox;
class TComboboxLineStyle;
class TComboboxLineWidth;
class TCoordinate;
class TRadioGroup;
class TUpDown;

// Edits every setting of a coordinate view: intervals, plot parameters, axes, ticks, labels,
// titles, legend and grids. Made for one use and destroyed by its caller.
//
// "OK" checks every number field first and shows the first failed check in a warning box;
// only when all pass does it write the controls into the view. The "Font..." buttons start from
// the title's font; what they choose is written with everything else on "OK", and "Cancel"
// drops it like any other change.
class TFormCoordinateProperties : public QDialog {
    Q_OBJECT
public:
    explicit TFormCoordinateProperties(QWidget* parent = nullptr);

    // Shows the dialog modally on the view; true when "OK" applied the controls (the caller
    // then redraws), false when it was closed otherwise.
    bool EditCoordinate(TCoordinate& view);

    // Shows a failed check's message. The default is a warning box with one OK button.
    using TWarningReporter = std::function<void(QWidget* owner, const QString& message)>;
    void SetWarningReporter(TWarningReporter reporter);
    // Asks for a font, starting from the one given; no value when the user cancels. The
    // default is the platform's font dialog.
    using TFontChooser = std::function<std::optional<TFont>(QWidget* owner, const TFont& initial)>;
    void SetFontChooser(TFontChooser chooser);

    // The controls take the view's settings; the tree selects "Plot Parameters".
    void FormShow();
    // The page of the selected node shows, as the only tab, captioned with the node's text.
    void TreeView1Click();
    // "OK": checks, then applies and closes, or reports the first failure and stays open.
    void Button5Click();
    // "Cancel".
    void Button6Click();
    // "Font..." for the top, bottom, left and right titles.
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Button4Click();

    bool Result() const { return FResult; }

    // Tree nodes in order, with the page each one shows.
    static constexpr int NodeCount = 11;
    static constexpr int PageCount = 9;
    QTreeWidgetItem* Node(int index) const { return FNodes[static_cast<std::size_t>(index)]; }
    // Index of the page (0 to 8) the node shows.
    static int PageOfNode(int index);

    QTreeWidget* TreeView1 = nullptr;
    QTabWidget* PageControl1 = nullptr;
    std::array<QWidget*, PageCount> TabSheets{};
    QPushButton* Button5 = nullptr;
    QPushButton* Button6 = nullptr;

    QLineEdit* Edit1 = nullptr;
    QLineEdit* Edit2 = nullptr;
    QLineEdit* Edit3 = nullptr;
    QLineEdit* Edit4 = nullptr;
    QLineEdit* Edit5 = nullptr;
    QLineEdit* Edit6 = nullptr;

    TRadioGroup* RadioGroup1 = nullptr;
    TColorBox* ColorBox1 = nullptr;
    QCheckBox* CheckBox1 = nullptr;

    QLineEdit* Edit7 = nullptr;
    QComboBox* ComboBox1 = nullptr;
    TComboboxLineStyle* ComboboxLineStyle1 = nullptr;
    TComboboxLineWidth* ComboboxLineWidth1 = nullptr;
    TColorBox* ColorBox2 = nullptr;
    QCheckBox* CheckBox2 = nullptr;
    QLineEdit* Edit8 = nullptr;
    QComboBox* ComboBox2 = nullptr;
    TComboboxLineStyle* ComboboxLineStyle2 = nullptr;
    TComboboxLineWidth* ComboboxLineWidth2 = nullptr;
    TColorBox* ColorBox3 = nullptr;
    QCheckBox* CheckBox3 = nullptr;

    QLineEdit* Edit9 = nullptr;
    QLineEdit* Edit11 = nullptr;
    TUpDown* UpDown1 = nullptr;
    QLineEdit* Edit10 = nullptr;
    QLineEdit* Edit12 = nullptr;
    TUpDown* UpDown2 = nullptr;

    QLineEdit* Edit13 = nullptr;
    QCheckBox* CheckBox4 = nullptr;
    QLineEdit* Edit14 = nullptr;
    QLineEdit* Edit15 = nullptr;
    QCheckBox* CheckBox5 = nullptr;
    QLineEdit* Edit16 = nullptr;

    QCheckBox* CheckBox6 = nullptr;
    QLineEdit* Edit17 = nullptr;
    QPushButton* Button1 = nullptr;
    QCheckBox* CheckBox7 = nullptr;
    QLineEdit* Edit18 = nullptr;
    QPushButton* Button2 = nullptr;
    QCheckBox* CheckBox8 = nullptr;
    QLineEdit* Edit19 = nullptr;
    QPushButton* Button3 = nullptr;
    QCheckBox* CheckBox9 = nullptr;
    QLineEdit* Edit20 = nullptr;
    QPushButton* Button4 = nullptr;

    QCheckBox* CheckBox10 = nullptr;
    QCheckBox* CheckBox11 = nullptr;
    QCheckBox* CheckBox12 = nullptr;
    TRadioGroup* RadioGroup2 = nullptr;

    QCheckBox* CheckBox13 = nullptr;
    QLineEdit* Edit21 = nullptr;
    TComboboxLineStyle* ComboboxLineStyle3 = nullptr;
    TComboboxLineWidth* ComboboxLineWidth3 = nullptr;
    TColorBox* ColorBox4 = nullptr;
    QCheckBox* CheckBox14 = nullptr;
    QLineEdit* Edit22 = nullptr;
    TComboboxLineStyle* ComboboxLineStyle4 = nullptr;
    TComboboxLineWidth* ComboboxLineWidth4 = nullptr;
    TColorBox* ColorBox5 = nullptr;

    QCheckBox* CheckBox15 = nullptr;
    QLineEdit* Edit23 = nullptr;
    TComboboxLineStyle* ComboboxLineStyle5 = nullptr;
    TComboboxLineWidth* ComboboxLineWidth5 = nullptr;
    TColorBox* ColorBox6 = nullptr;
    QCheckBox* CheckBox16 = nullptr;
    QLineEdit* Edit24 = nullptr;
    TComboboxLineStyle* ComboboxLineStyle6 = nullptr;
    TComboboxLineWidth* ComboboxLineWidth6 = nullptr;
    TColorBox* ColorBox7 = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    struct TStylePickers {
        TComboboxLineStyle* Style;
        TComboboxLineWidth* Width;
        TColorBox* Color;
    };

    void CreatePages();
    // Runs every check in order; the message of the first failure, or no value.
    std::optional<QString> Validate() const;
    void Apply();
    // Title 0 to 3: top, bottom, left, right.
    void ChooseTitleFont(std::size_t title);
    // Keeps the dialog within the screen it shows on.
    void FitToScreen();

    TCoordinate* FView = nullptr;
    bool FResult = false;
    // The title fonts as chosen so far, top, bottom, left, right; written into the view on OK.
    std::array<TFont, 4> FTitleFonts{};
    TWarningReporter FWarningReporter;
    TFontChooser FFontChooser;
    std::array<QTreeWidgetItem*, NodeCount> FNodes{};
};

} // namespace curvana
