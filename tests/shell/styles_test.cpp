// SPDX-License-Identifier: GPL-3.0-or-later
#include "EditControls.h"
#include "ListControls.h"
#include "MenuComponents.h"
#include "MenuRestyle.h"
#include "MyStyledTMSComponents.h"
#include "ShellTestSupport.h"
#include "TAdvGlowButton.h"
#include "TAdvOfficeStatusBar.h"
#include "TMSStyleableF.h"
#include "TMSStyles.h"
#include "tool_data_module.h"

#include <QGuiApplication>

// --- Colour tables

TEST(StyleColours, TablesAsTheSuiteDefinesThem) {
    EXPECT_EQ(RGBColour(0xDAEAFD), 0xFDEADAu);
    const struct {
        int style;
        TColor back, sel, selText, header, headerText, gradStart, gradEnd;
    } cases[] = {
        {0, 0xFDEADA, 0xE0A57D, 0xFFFFFF, 0xD38355, 0x000000, 0xFDEADA, 0xFADAC4},
        {4, 0xFAF1E9, 0xEBFDFF, 0x000000, 0xF8DCC5, 0x612009, 0xFAF1E9, 0xEDD8C7},
        {6, clBtnFace, clHighlight, 0xFFFFFF, 0xFFFFFF, 0, 0xFFFFFF, 0xC9D1D5},
        {12, clBtnFace, clHighlight, 0, 0xC0C0C0, 0, 0xFFFFFF, 0xC0C0C0},
        {14, 0xFFFFFF, 0x7BEEFF, 0, 0xEEEAE6, 0, 0xFFFFFF, 0xEDE5E0},
        {15, 0xBFBFBF, 0x7BEEFF, 0, 0x4B4B4B, 0xFFFFFF, 0xBFBFBF, 0x919191},
        {16, 0xFFFFFF, 0x7BEEFF, 0, 0xD4D4D4, 0, 0xF6F6F6, 0xDEDEDE},
        {20, 0xFFFFFF, 0x7BEEFF, 0, 0xD4D4D4, 0, 0xF6F6F6, 0xDEDEDE},
        {22, 0xFFFFFF, clHighlight, 0, 0xD4D4D4, 0, 0xF6F6F6, 0xDEDEDE},
        {23, 0xFFFFFF, clHighlight, 0xFFFFFF, 0xD4D4D4, 0, 0xF6F6F6, 0xDEDEDE},
        {24, 0xFDEADA, 0xE0A57D, 0xFFFFFF, clBtnFace, 0, clBtnFace, clBtnFace},
        {255, 0xFDEADA, 0xE0A57D, 0xFFFFFF, clBtnFace, 0, clBtnFace, clBtnFace},
    };
    for (const auto &c : cases) {
        const auto s = TTMSStyle(c.style);
        SCOPED_TRACE(c.style);
        EXPECT_EQ(StyleBackColour(s), c.back);
        EXPECT_EQ(StyleSelectionColour(s), c.sel);
        EXPECT_EQ(StyleSelectionTextColour(s), c.selText);
        EXPECT_EQ(StyleHeaderColour(s), c.header);
        EXPECT_EQ(StyleHeaderTextColour(s), c.headerText);
        EXPECT_EQ(StyleMenuGradientStart(s), c.gradStart);
        EXPECT_EQ(StyleMenuGradientEnd(s), c.gradEnd);
        EXPECT_EQ(StyleTextColour(s), 0u);
    }
    EXPECT_EQ(ToQColor(0xFDEADA), QColor(0xDA, 0xEA, 0xFD));
    EXPECT_EQ(ToQColor(clHighlight), QGuiApplication::palette().color(QPalette::Highlight));
}

TEST(StyleColours, SuiteNumberToStyle) {
    const struct {
        int suite, style;
    } cases[] = {{0, 0}, {1, 0}, {-7, 0}, {15, 14}, {25, 24}, {256, 255}, {258, 1}};
    for (const auto &c : cases)
        EXPECT_EQ(StyleFromSuiteNumber(c.suite), c.style) << c.suite;
}

// --- Stylable forms

namespace {

struct StyledForm {
    TTMSStylableForm form;
    TMemo *memo = new TMemo(&form);
    TElMemo *elMemo = new TElMemo(&form);
    TListBox *list = new TListBox(&form);
    TStyledColumnListbox *columns = new TStyledColumnListbox(&form);
    TAdvOfficeStatusBar *bar = new TAdvOfficeStatusBar(&form);
    TAdvGlowButton *button = new TAdvGlowButton(&form);
};

QColor Col(QWidget *w, QPalette::ColorRole r) {
    return w->palette().color(r);
}

class StyleGuard : public ShellTest {
protected:
    void TearDown() override {
        CurrentTMSStyle = 14;
        ShellTest::TearDown();
    }
};

} // namespace

TEST_F(StyleGuard, ActivationAppliesTheStyleOnceToEveryControlKind) {
    StyledForm f;
    const QColor elMemoBefore = Col(f.elMemo, QPalette::Base);
    f.form.show();
    CurrentTMSStyle = StyleFromSuiteNumber(16); // 15
    f.form.ActivateZorador(nullptr);
    EXPECT_EQ(f.form.currentStyle, 15);
    const QColor back = ToQColor(StyleBackColour(15));
    EXPECT_EQ(Col(&f.form, QPalette::Window), back);
    EXPECT_EQ(Col(f.memo, QPalette::Base), back);
    EXPECT_EQ(Col(f.list, QPalette::Base), back);
    EXPECT_EQ(Col(f.bar, QPalette::Window), back);
    EXPECT_EQ(f.columns->_BackgroundColour(), StyleBackColour(15));
    EXPECT_EQ(f.columns->_SelectedColour(), StyleSelectionColour(15));
    EXPECT_EQ(f.button->property("TMSStyle").toInt(), 15);
    EXPECT_EQ(Col(f.elMemo, QPalette::Base), elMemoBefore); // not a kind the rules name

    // Already at the current style: nothing changes, whatever the controls show.
    f.memo->setPalette(QPalette(Qt::red));
    f.form.ActivateZorador(nullptr);
    EXPECT_EQ(Col(f.memo, QPalette::Base), QPalette(Qt::red).color(QPalette::Base));
}

TEST_F(StyleGuard, InvisibleFormWaitsAndStyle24StaysUnstyled) {
    StyledForm f;
    CurrentTMSStyle = 0;
    f.form.ActivateZorador(nullptr);
    EXPECT_EQ(f.form.currentStyle, kNotYetStyled);
    f.form.show();
    f.form.ActivateZorador(nullptr);
    EXPECT_EQ(f.form.currentStyle, 0);
    EXPECT_EQ(Col(f.memo, QPalette::Base), ToQColor(StyleBackColour(0)));

    // Suite number 25 gives 24, the mark of a form never styled.
    StyledForm fresh;
    fresh.form.show();
    const QColor before = Col(fresh.memo, QPalette::Base);
    CurrentTMSStyle = StyleFromSuiteNumber(25);
    fresh.form.ActivateZorador(nullptr);
    EXPECT_EQ(fresh.form.currentStyle, kNotYetStyled);
    EXPECT_EQ(Col(fresh.memo, QPalette::Base), before);
}

TEST_F(StyleGuard, PopupBeforeMainMenuIsTheOneHeld) {
    TTMSStylableForm form;
    auto *popup = new TAdvPopupMenu(&form);
    auto *main = new TAdvMainMenu(&form);
    auto *styler = new TAdvMenuOfficeStyler(&form);
    form.show();
    CurrentTMSStyle = 3;
    form.ActivateZorador(nullptr);
    EXPECT_EQ(popup->BeginUpdateCalls, 1);
    EXPECT_EQ(popup->UpdateDepth(), 0);
    EXPECT_EQ(popup->MenuStyler, styler);
    EXPECT_EQ(main->BeginUpdateCalls, 0);
    EXPECT_EQ(styler->Style, 3);
}

TEST_F(StyleGuard, MenuRestyleOnlyWhenTheStylerDiffers) {
    TDataModuleQuillon module;
    TAdvMainMenu given(nullptr);
    int begun = 0;
    module.AdvMenuOfficeStyler1->Style = 14;
    CurrentTMSStyle = 14;
    RestyleMainMenu(&given, &module, [&] { ++begun; });
    EXPECT_EQ(begun, 0);
    EXPECT_EQ(given.MenuStyler, nullptr);

    CurrentTMSStyle = 15;
    RestyleMainMenu(&given, &module, [&] { ++begun; });
    EXPECT_EQ(begun, 1);
    EXPECT_EQ(given.MenuStyler, module.AdvMenuOfficeStyler1);
    EXPECT_EQ(given.UpdateDepth(), 0);
    EXPECT_EQ(module.MainMenuDModule->BeginUpdateCalls, 1);
    for (const auto &bar : module.AdvMenuOfficeStyler1->GradientBars) {
        EXPECT_EQ(bar.Color, StyleMenuGradientStart(15));
        EXPECT_EQ(bar.ColorTo, StyleMenuGradientEnd(15));
    }
}
