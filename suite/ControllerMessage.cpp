// SPDX-License-Identifier: GPL-3.0-or-later
#include "ControllerMessage.h"

namespace suite {

TCallingProgramMessage MessageFromCallingProgram(uint32_t wParam, uint32_t lParam) {
    return {uint16_t(wParam & 0xFFFF), uint8_t((wParam >> 16) & 0xFF), lParam};
}

} // namespace suite
