#include "dialogs/colorbox.h"
#include "dialogs/comboboxlinestyle.h"
#include "dialogs/comboboxlinewidth.h"
#include "dialogs/formpenproperties.h"
#include "model/graphstyle.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>

namespace curvana {
namespace {

TEST(FormPenProperties, TextsAndControls) {
    TFormPenProperties form;
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Pen Properties"));
    EXPECT_EQ(form.Label1->text(), QStringLiteral("Pen Color"));
    EXPECT_EQ(form.Label2->text(), QStringLiteral("Pen Width"));
    EXPECT_EQ(form.Label3->text(), QStringLiteral("Pen Style"));
    EXPECT_EQ(form.Button1->text(), QStringLiteral("Set"));
    EXPECT_EQ(form.Button2->text(), QStringLiteral("Close"));
    EXPECT_TRUE(form.Button1->isDefault());
    EXPECT_EQ(form.size(), QSize(274, 147));
    EXPECT_TRUE(form.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(form.ComboboxLineWidth1->CD_MaxLineWidth(), 5);
    EXPECT_EQ(form.ComboboxLineStyle1->CD_MaxLineStyle(), 5);
}

// What the dialog showed when it opened, and how it was left.
struct TShown {
    TColor Color = -1;
    int WidthIndex = -2;
    TEnum8 Style = 99;
};

enum class TLeave { Set, Close, Escape };

// Runs EditPen with the presenter's part played once the modal dialog is up: read what it
// shows, change what `change` changes, then leave it.
bool Edit(TGraphStyle& style, TLeave leave, TShown& shown,
          const std::function<void(TFormPenProperties&)>& change = {}) {
    TFormPenProperties form;
    bool reached = false;
    QTimer::singleShot(0, &form, [&] {
        auto* modal = qobject_cast<TFormPenProperties*>(QApplication::activeModalWidget());
        if (modal != &form) {
            form.reject();
            return;
        }
        reached = true;
        shown.Color = form.ColorBox1->Selected();
        shown.WidthIndex = form.ComboboxLineWidth1->currentIndex();
        shown.Style = form.ComboboxLineStyle1->CD_CurrentPenStyle();
        if (change)
            change(form);
        switch (leave) {
        case TLeave::Set:
            QTest::mouseClick(form.Button1, Qt::LeftButton);
            break;
        case TLeave::Close:
            QTest::mouseClick(form.Button2, Qt::LeftButton);
            break;
        case TLeave::Escape:
            QTest::keyClick(&form, Qt::Key_Escape);
            break;
        }
    });
    const bool result = form.EditPen(style);
    EXPECT_TRUE(reached) << "the dialog was not shown modally";
    EXPECT_FALSE(form.isVisible());
    return result;
}

TGraphStyle Pen(TColor color, int width, TEnum8 lineStyle) {
    TGraphStyle style;
    style.LineColor = color;
    style.LineWidth = width;
    style.LineStyle = lineStyle;
    // Fields the dialog does not edit, to see that they stay.
    style.BrushStyle = bsCross;
    style.BrushColor = 0x00AA00;
    return style;
}

struct TSetCase {
    const char* Name;
    TGraphStyle Before;
    TShown Shown;
    TGraphStyle After;
};

TEST(FormPenProperties, SetWithUnchangedControlsStoresWhatTheyShow) {
    const TSetCase cases[] = {
        {"start pen", Pen(0xFF0000, 2, psSolid), {0xFF0000, 1, psSolid}, Pen(0xFF0000, 2, psSolid)},
        {"dotted, 3 wide", Pen(0x0000FF, 3, psDot), {0x0000FF, 2, psDot}, Pen(0x0000FF, 3, psDot)},
        {"widest",
         Pen(0x000000, 5, psDashDotDot),
         {0x000000, 4, psDashDotDot},
         Pen(0x000000, 5, psDashDotDot)},
        {"custom colour",
         Pen(0x123456, 1, psDash),
         {0x123456, 0, psDash},
         Pen(0x123456, 1, psDash)},
        // Widths the picker does not offer show no width and store 0.
        {"width 0", Pen(0xFF0000, 0, psSolid), {0xFF0000, -1, psSolid}, Pen(0xFF0000, 0, psSolid)},
        {"width 6", Pen(0xFF0000, 6, psSolid), {0xFF0000, -1, psSolid}, Pen(0xFF0000, 0, psSolid)},
        {"width -5",
         Pen(0xFF0000, -5, psSolid),
         {0xFF0000, -1, psSolid},
         Pen(0xFF0000, 0, psSolid)},
        // Styles without an item of their own show and store solid.
        {"clear", Pen(0xFF0000, 2, psClear), {0xFF0000, 1, psSolid}, Pen(0xFF0000, 2, psSolid)},
        {"inside frame",
         Pen(0xFF0000, 2, psInsideFrame),
         {0xFF0000, 1, psSolid},
         Pen(0xFF0000, 2, psSolid)},
    };
    for (const TSetCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TGraphStyle style = c.Before;
        TShown shown;
        EXPECT_TRUE(Edit(style, TLeave::Set, shown));
        EXPECT_EQ(shown.Color, c.Shown.Color);
        EXPECT_EQ(shown.WidthIndex, c.Shown.WidthIndex);
        EXPECT_EQ(shown.Style, c.Shown.Style);
        EXPECT_EQ(style, c.After);
    }
}

TEST(FormPenProperties, SetStoresTheChangedControls) {
    TGraphStyle style = Pen(0xFF0000, 2, psSolid);
    TShown shown;
    EXPECT_TRUE(Edit(style, TLeave::Set, shown, [](TFormPenProperties& form) {
        form.ColorBox1->SetSelected(0x00FFFF);
        form.ComboboxLineWidth1->setCurrentIndex(4);
        form.ComboboxLineStyle1->setCurrentIndex(3);
    }));
    EXPECT_EQ(style, Pen(0x00FFFF, 5, psDashDot));
}

TEST(FormPenProperties, LeavingWithoutSetChangesNothing) {
    for (TLeave leave : {TLeave::Close, TLeave::Escape}) {
        TGraphStyle style = Pen(0xFF0000, 7, psClear);
        TShown shown;
        EXPECT_FALSE(Edit(style, leave, shown, [](TFormPenProperties& form) {
            form.ColorBox1->SetSelected(0x00FFFF);
            form.ComboboxLineWidth1->setCurrentIndex(4);
            form.ComboboxLineStyle1->setCurrentIndex(3);
        }));
        EXPECT_EQ(style, Pen(0xFF0000, 7, psClear));
    }
}

TEST(FormPenProperties, HandlersWithoutTheModalLoop) {
    TGraphStyle style = Pen(0x0000FF, 4, psDot);
    TFormPenProperties form;
    form.FormShow(); // no style yet: nothing to show, nothing breaks
    form.Button1Click();
    EXPECT_TRUE(form.Result());
    EXPECT_EQ(style, Pen(0x0000FF, 4, psDot));
}

} // namespace
} // namespace curvana
