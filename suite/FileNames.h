// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// File names as bytes, carried in QString without loss.
//
// Linux names are byte strings and old corpora hold Latin-1 names, so a name
// must reach `open` with exactly the bytes the walk (or the user) gave it.
// A name is held in QString with a "surrogate escape": valid UTF-8 decodes as
// usual, and each byte that is not part of valid UTF-8 (always 0x80-0xFF) is
// held as the lone surrogate U+DC80 + (byte - 0x80). Encoding reverses it, so
// EncodeFileName(DecodeFileName(b)) == b for every byte string b.
//
// Every open/stat of a corpus or reference name goes through EncodeFileName,
// never QFile::encodeName or QFile/QFileInfo, which would replace the escapes.
// DisplayFileName is only for showing a name to a person.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace suite {

QString DecodeFileName(QByteArrayView bytes);

// The exact bytes of a decoded name. A lone surrogate outside U+DC80-U+DCFF
// (which decoding never produces) becomes the bytes of U+FFFD.
QByteArray EncodeFileName(const QString &name);

// `name` with every lone surrogate replaced by U+FFFD, for showing.
QString DisplayFileName(const QString &name);

// True when `name` holds an escaped byte: its bytes are not valid UTF-8.
bool HasEscapedBytes(const QString &name);

} // namespace suite
