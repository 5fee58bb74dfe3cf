// SPDX-License-Identifier: GPL-3.0-or-later
#include "ShortCuts.h"

#include <array>
#include <utility>

namespace {

// Virtual-key codes that are not letters, digits or function keys.
constexpr std::array<std::pair<uint8_t, Qt::Key>, 20> kOtherKeys{{
    {0x08, Qt::Key_Backspace}, {0x09, Qt::Key_Tab},    {0x0D, Qt::Key_Return},
    {0x1B, Qt::Key_Escape},    {0x20, Qt::Key_Space},  {0x21, Qt::Key_PageUp},
    {0x22, Qt::Key_PageDown},  {0x23, Qt::Key_End},    {0x24, Qt::Key_Home},
    {0x25, Qt::Key_Left},      {0x26, Qt::Key_Up},     {0x27, Qt::Key_Right},
    {0x28, Qt::Key_Down},      {0x2D, Qt::Key_Insert}, {0x2E, Qt::Key_Delete},
    {0x6A, Qt::Key_Asterisk},  {0x6B, Qt::Key_Plus},   {0x6D, Qt::Key_Minus},
    {0x6E, Qt::Key_Period},    {0x6F, Qt::Key_Slash},
}};

int VirtualKeyToQtKey(uint8_t vk) {
    if ((vk >= '0' && vk <= '9') || (vk >= 'A' && vk <= 'Z'))
        return vk; // Qt::Key_0.. and Qt::Key_A.. share the ASCII values
    if (vk >= 0x70 && vk <= 0x87)
        return Qt::Key_F1 + (vk - 0x70);
    for (const auto &[code, key] : kOtherKeys)
        if (code == vk)
            return key;
    return 0;
}

uint8_t QtKeyToVirtualKey(int key) {
    if ((key >= Qt::Key_0 && key <= Qt::Key_9) || (key >= Qt::Key_A && key <= Qt::Key_Z))
        return uint8_t(key);
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
        return uint8_t(0x70 + (key - Qt::Key_F1));
    if (key == Qt::Key_Enter)
        return 0x0D;
    for (const auto &[code, k] : kOtherKeys)
        if (k == key)
            return code;
    return 0;
}

} // namespace

QKeySequence ShortCutToKeySequence(TShortCut sc) {
    const int key = VirtualKeyToQtKey(uint8_t(sc & 0xFF));
    if (key == 0)
        return {};
    Qt::KeyboardModifiers mods;
    if (sc & scShift)
        mods |= Qt::ShiftModifier;
    if (sc & scCtrl)
        mods |= Qt::ControlModifier;
    if (sc & scAlt)
        mods |= Qt::AltModifier;
    return QKeySequence(QKeyCombination(mods, Qt::Key(key)));
}

TShortCut KeySequenceToShortCut(const QKeySequence &seq) {
    if (seq.isEmpty())
        return 0;
    const QKeyCombination combo = seq[0];
    const uint8_t vk = QtKeyToVirtualKey(combo.key());
    if (vk == 0)
        return 0;
    TShortCut sc = vk;
    const auto mods = combo.keyboardModifiers();
    if (mods & Qt::ShiftModifier)
        sc |= scShift;
    if (mods & Qt::ControlModifier)
        sc |= scCtrl;
    if (mods & Qt::AltModifier)
        sc |= scAlt;
    return sc;
}

QString ShortCutToText(TShortCut sc) {
    return ShortCutToKeySequence(sc).toString(QKeySequence::PortableText);
}

TShortCut TextToShortCut(const QString &text) {
    const QString t = text.trimmed();
    if (t.isEmpty())
        return 0;
    return KeySequenceToShortCut(QKeySequence::fromString(t, QKeySequence::PortableText));
}

QString StripHotkey(const QString &caption) {
    QString out;
    out.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == u'&') {
            if (i + 1 < caption.size() && caption[i + 1] == u'&') {
                out += u'&';
                ++i;
            }
            continue;
        }
        out += caption[i];
    }
    return out;
}
