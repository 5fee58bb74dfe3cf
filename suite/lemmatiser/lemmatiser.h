// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The suite's lemmatiser library: keeps the word lists (lemma, stop and
// match lists, kinds 0-3) that each tool loads.
//
// A list file is UTF-8 or UTF-16 (with its byte-order mark) text, one entry
// per line; empty lines are not entries. Only a regular file of at most
// kMaxListFileSize bytes is loaded.

#include "Basic_types.h"

#include <QStringList>
#include <cstdint>
#include <functional>

// The largest list file loaded; word lists are far smaller.
constexpr int64_t kMaxListFileSize = 128 * 1024 * 1024;

// Told the number of lines and the list's name before loading starts.
using TLemmaLineCountCallback = std::function<void(int32_t n, const hundredwidechar &mess)>;
// Told the number of lines done, from the first line on, while loading.
using TLemmaProgressCallback = std::function<void(int32_t n)>;

// Loads the list in `fileName` for the tool and kind, replacing the list
// loaded before only when the new one loads completely. The low 16 bits of
// the result are non-zero when the list is loaded. `textSetting` and the
// last two arguments are accepted for the suite's calling convention and
// change nothing here. Either callback may be unset. A callback may call
// CancelOne; the load then stops and the old list stays.
uint32_t LoadedOne(uint8_t tool, const char16_t *fileName, int32_t kind,
                   const TLemmaLineCountCallback &onLineCount,
                   const TLemmaProgressCallback &onProgress, int32_t textSetting, int32_t reserved1,
                   int32_t reserved2);

// Unloads the tool's list of that kind.
void ClearOne(uint8_t tool, int32_t kind);

// Cancels every load under way for the tool. `options` is accepted for the
// suite's calling convention.
void CancelOne(uint8_t tool, uint8_t options);

// The entries of the tool's loaded list of that kind (empty when none).
QStringList LoadedEntries(uint8_t tool, int32_t kind);
