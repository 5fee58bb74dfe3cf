// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A posted window message and its wire form.
//
// A window handle is a non-zero 32-bit number, unique within the user's
// session while its window exists. A message travels as one fixed-size
// record of three little-endian 32-bit words: message, wParam, lParam.

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <optional>

namespace platform {

using TWindowHandle = uint32_t;

// The suite's message numbers.
constexpr uint32_t WM_USER = 0x400;

struct TMessage {
    uint32_t message = 0;
    uint32_t wParam = 0;
    uint32_t lParam = 0;
    bool operator==(const TMessage &) const = default;
};

constexpr int kMessageRecordSize = 12;

QByteArray EncodeMessage(const TMessage &m);
// Only a record of exactly kMessageRecordSize bytes decodes.
std::optional<TMessage> DecodeMessage(const QByteArray &record);

// Where the window with `handle` listens: a socket in the private folder.
// Empty when that folder cannot be made private.
QString WindowSocketPath(TWindowHandle handle);

} // namespace platform
