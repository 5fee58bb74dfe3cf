// SPDX-License-Identifier: GPL-3.0-or-later
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

// The codes a kToolCodeMessage carries: numbers on the wire, shared with the
// controller and the suite's other tools, so they never change.

// The controller's commands to a tool.
constexpr uint16_t kCmdLoggingChanged = 233; // the logging choice was just set
constexpr uint16_t kCmdLoadListFirst = 234;  // load list kind k: 234 + 2k, k = 0..3
constexpr uint16_t kCmdClearListFirst = 235; // unload list kind k: 235 + 2k
constexpr uint16_t kCmdListLast = 241;
constexpr uint16_t kCmdTerminate = 1350;
constexpr uint16_t kCmdStopAtEndOfFile = 6120;
constexpr uint16_t kCmdStopAsap = 6121;
constexpr uint16_t kCmdPanicStop = 6122;

// A tool's notifications to the controller: its main window...
constexpr uint16_t kNoteWindowGoing = 4600;
constexpr uint16_t kNoteWindowCreated = 4601;
// ...and its progress record, stored just before (see the progress reporter).
constexpr uint16_t kNoteProgressShown = 6100;
constexpr uint16_t kNoteMemoryReport = 6101;
constexpr uint16_t kNoteThisPercent = 6104;
constexpr uint16_t kNoteOverallPercent = 6105;
constexpr uint16_t kNoteLongMessage = 6106;
constexpr uint16_t kNoteProgressHidden = 6107;
constexpr uint16_t kNoteRunningWords = 6108;
constexpr uint16_t kNoteBarsCleared = 6111;
constexpr uint16_t kNoteAllCleared = 6112;
constexpr uint16_t kNoteShortMessage = 6113;

// What a received 0x401 message says. Tools read only `code`.
struct TCallingProgramMessage {
    uint16_t code = 0;
    uint8_t tool = 0;
    uint32_t window = 0;
};

TCallingProgramMessage MessageFromCallingProgram(uint32_t wParam, uint32_t lParam);

} // namespace suite
