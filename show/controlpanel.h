#pragma once

#include "common/types.h"

#include <QGroupBox>

class QCheckBox;
class QLabel;
class QToolBar;
class QToolButton;

namespace curvana {

class TClickLabel;

// The floating control panel: move pictures, the Accelerate switch, the slide indicator and
// two tool bars. It holds the controls only; the slide window connects them to its commands.
class TControlPanel : public QGroupBox {
    Q_OBJECT
public:
    static constexpr int PanelWidth = 201;
    static constexpr int PanelHeight = 270;
    static constexpr int ToolBarHeight = 29;

    explicit TControlPanel(QWidget* parent = nullptr);

    // Panel, LabelHide and ToolBar1 take the colour; ToolBar2 keeps its own.
    void SetBackgroundColor(TColor color);

    TClickLabel* Image1 = nullptr; // up
    TClickLabel* Image2 = nullptr; // down
    TClickLabel* Image3 = nullptr; // left
    TClickLabel* Image4 = nullptr; // right
    TClickLabel* Image5 = nullptr; // centre
    QCheckBox* CheckBoxAcc = nullptr;
    QLabel* Label1 = nullptr;
    TClickLabel* LabelHide = nullptr;
    QLabel* LabelSlide = nullptr;
    TClickLabel* ImageLastSlide = nullptr;
    TClickLabel* ImageNextSlide = nullptr;

    QToolBar* ToolBar1 = nullptr;
    QToolButton* ToolButton1 = nullptr; // zoom out x and y
    QToolButton* ToolButton2 = nullptr; // zoom out x
    QToolButton* ToolButton3 = nullptr; // zoom out y
    QToolButton* ToolButton4 = nullptr; // zoom in x and y
    QToolButton* ToolButton5 = nullptr; // zoom in x
    QToolButton* ToolButton6 = nullptr; // zoom in y
    QToolButton* ToolButtonPen = nullptr;
    QToolButton* ToolButton9 = nullptr; // refresh

    QToolBar* ToolBar2 = nullptr;
    QToolButton* ToolButton8 = nullptr;  // graph list
    QToolButton* ToolButton10 = nullptr; // grid properties
    QToolButton* ToolButton11 = nullptr; // coordinate style
    QToolButton* ToolButton12 = nullptr; // coordinate properties
    QToolButton* ToolButton13 = nullptr; // quick capture
    QToolButton* ToolButton16 = nullptr; // open
    QToolButton* ToolButton17 = nullptr; // close
};

} // namespace curvana
