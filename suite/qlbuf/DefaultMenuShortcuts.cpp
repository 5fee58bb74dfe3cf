// SPDX-License-Identifier: GPL-3.0-or-later
#include "DefaultMenuShortcuts.h"

#include <iterator>

namespace {

struct TDefaultShortcut {
    int32_t tag;
    uint16_t shortcut;
};

// By function number: virtual-key code, plus 0x2000 Shift, 0x4000 Ctrl,
// 0x8000 Alt.
constexpr TDefaultShortcut kDefaults[] = {
    {1, 16462},   // Ctrl+N
    {2, 16463},   // Ctrl+O
    {3, 16467},   // Ctrl+S
    {6, 16464},   // Ctrl+P
    {15, 16499},  // Ctrl+F4
    {17, 16474},  // Ctrl+Z
    {18, 16473},  // Ctrl+Y
    {19, 16472},  // Ctrl+X
    {20, 16451},  // Ctrl+C
    {21, 16470},  // Ctrl+V
    {22, 46},     // Del
    {24, 16449},  // Ctrl+A
    {25, 16454},  // Ctrl+F
    {26, 114},    // F3
    {28, 16456},  // Ctrl+H
    {34, 16455},  // Ctrl+G
    {37, 16461},  // Ctrl+M
    {46, 113},    // F2
    {52, 16491},  // Ctrl+Add
    {53, 16493},  // Ctrl+Subtract
    {60, 16466},  // Ctrl+R
    {72, 116},    // F5
    {91, 32883},  // Alt+F4
    {102, 122},   // F11
    {111, 16393}, // Ctrl+Tab
    {112, 24585}, // Ctrl+Shift+Tab
    {115, 16459}, // Ctrl+K
    {116, 16460}, // Ctrl+L
    {180, 27},    // Esc
    {181, 112},   // F1
    {198, 16496}, // Ctrl+F1
};

} // namespace

uint16_t DefaultMenuShortcut(int32_t tag) {
    for (const TDefaultShortcut &d : kDefaults)
        if (d.tag == tag)
            return d.shortcut;
    return 0;
}
