// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A one-line progress display on standard error: drawn when the scan starts,
// redrawn a few times a second from its own thread, wiped when it ends.
//
// Lines that go to the bar's terminal (errors, and results when standard
// output is the same terminal) must go through Interrupt(), which clears the
// bar's line first and draws the bar again after, so a line never lands
// behind the bar.

#include <QtGlobal>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <functional>
#include <mutex>
#include <thread>

namespace cli {

class TProgressBar {
public:
    // `total` < 0: not known (the files are counted as they come).
    TProgressBar(qsizetype total, const std::atomic<qsizetype> &done, std::FILE *out = stderr,
                 std::chrono::milliseconds interval = std::chrono::milliseconds(150));
    ~TProgressBar();
    // Runs `write` (which writes whole lines) with the bar off the screen.
    void Interrupt(const std::function<void()> &write);

private:
    void Draw();  // under fMutex
    void Erase(); // under fMutex
    qsizetype fTotal;
    const std::atomic<qsizetype> &fDone;
    std::FILE *fOut;
    std::mutex fMutex;
    std::condition_variable fWake;
    bool fStop = false;
    bool fShown = false; // the bar is on the screen now
    std::thread fThread;
};

// Whether two descriptors lead to the same file (the same terminal).
bool SameFile(int fd1, int fd2);

} // namespace cli
