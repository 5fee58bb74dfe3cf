// SPDX-License-Identifier: GPL-3.0-or-later
// The message record: only exactly twelve bytes decode, and what decodes
// encodes to the same bytes.

#include "FuzzSupport.h"
#include "WindowMessage.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const auto message = platform::DecodeMessage(bytes);
    FUZZ_CHECK(message.has_value() == (size == size_t(platform::kMessageRecordSize)));
    if (message)
        FUZZ_CHECK(platform::EncodeMessage(*message) == bytes);
    return 0;
}
