// SPDX-License-Identifier: GPL-3.0-or-later
#include "MenuRestyle.h"

#include "tool_data_module.h"

void RestyleMainMenu(TAdvMainMenu *menu, TDataModuleQuillon *module,
                     const std::function<void()> &onBegin) {
    TAdvMenuOfficeStyler *styler = module->AdvMenuOfficeStyler1;
    if (!menu || styler->Style == CurrentTMSStyle)
        return;
    menu->BeginUpdate();
    if (onBegin)
        onBegin();
    module->MainMenuDModule->BeginUpdate();
    for (auto &bar : styler->GradientBars) {
        bar.Color = StyleMenuGradientStart(CurrentTMSStyle);
        bar.ColorTo = StyleMenuGradientEnd(CurrentTMSStyle);
    }
    module->MainMenuDModule->EndUpdate();
    if (menu->MenuStyler != styler)
        menu->MenuStyler = styler;
    menu->EndUpdate();
}
