#pragma once
// The messages between a tool and the suite's controller, and how their
// parameters are packed. The tool and the controller both use these, so
// the layout lives in one place.
//
// wParam carries a 16-bit code in bits 0-15 and the sender's tool number in
// bits 16-23 (bits 24-31 zero); lParam carries the sender's window handle.

#include <cstdint>

namespace suite {

// The tool's announcement of its window (WM_USER + 228).
constexpr uint32_t kAnnounceToolWindowMessage = 0x4E4;
// A notification code, either way (WM_USER + 1).
constexpr uint32_t kToolCodeMessage = 0x401;

constexpr uint32_t PackCodeAndTool(uint16_t code, uint8_t tool) {
    return uint32_t(code) | uint32_t(tool) << 16;
}

// What a received 0x401 message says. Tools read only `code`.
struct TCallingProgramMessage {
    uint16_t code = 0;
    uint8_t tool = 0;
    uint32_t window = 0;
};

TCallingProgramMessage MessageFromCallingProgram(uint32_t wParam, uint32_t lParam);

} // namespace suite
