#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace curvana {

class TColorBox;
class TComboboxLineStyle;
class TComboboxLineWidth;
class TGraphStyle;

// Edits the colour, width and style of a pen. Made for one use and destroyed by its caller.
class TFormPenProperties : public QDialog {
    Q_OBJECT
public:
    explicit TFormPenProperties(QWidget* parent = nullptr);

    // Shows the dialog modally on the style; true when "Set" closed it (the style then holds
    // the dialog's values), false when it was closed otherwise (the style is untouched).
    bool EditPen(TGraphStyle& style);

    // The controls take the values of the style being edited.
    void FormShow();
    // "Set": the style takes the controls' values; the result is true; the dialog closes.
    void Button1Click();
    // "Close": the dialog closes, the style and the result stay as they are.
    void Button2Click();

    bool Result() const { return FResult; }

    QLabel* Label1 = nullptr;
    TColorBox* ColorBox1 = nullptr;
    QLabel* Label2 = nullptr;
    TComboboxLineWidth* ComboboxLineWidth1 = nullptr;
    QLabel* Label3 = nullptr;
    TComboboxLineStyle* ComboboxLineStyle1 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    TGraphStyle* FStyle = nullptr;
    bool FResult = false;
};

} // namespace curvana
