// SPDX-License-Identifier: GPL-3.0-or-later
#include "ProgressBar.h"

#include <string>
#include <sys/stat.h>

namespace cli {

TProgressBar::TProgressBar(qsizetype total, const std::atomic<qsizetype> &done, std::FILE *out,
                           std::chrono::milliseconds interval)
    : fTotal(total), fDone(done), fOut(out) {
    // Drawn at once (with the total, when the list is known beforehand).
    Draw();
    fThread = std::thread([this, interval] {
        std::unique_lock lock(fMutex);
        while (!fWake.wait_for(lock, interval, [this] { return fStop; }))
            Draw();
    });
}

TProgressBar::~TProgressBar() {
    {
        std::lock_guard lock(fMutex);
        fStop = true;
    }
    fWake.notify_all();
    fThread.join();
    // Always leave a clean line, even when the bar was never drawn.
    std::fputs("\r\033[K", fOut);
    std::fflush(fOut);
}

void TProgressBar::Interrupt(const std::function<void()> &write) {
    std::lock_guard lock(fMutex);
    const bool wasShown = fShown;
    if (wasShown)
        Erase();
    write();
    if (wasShown)
        Draw();
}

void TProgressBar::Erase() {
    std::fputs("\r\033[K", fOut);
    std::fflush(fOut);
    fShown = false;
}

void TProgressBar::Draw() {
    const qsizetype done = fDone.load();
    if (fTotal < 0) { // the walk is still finding files
        std::fprintf(fOut, "\r%lld files", (long long)done);
        std::fflush(fOut);
        fShown = true;
        return;
    }
    const int width = 30;
    const int filled = fTotal > 0 ? int(double(done) / double(fTotal) * width) : width;
    std::string bar(size_t(filled), '#');
    bar.append(size_t(width - filled), '.');
    std::fprintf(fOut, "\r[%s] %lld/%lld files", bar.c_str(), (long long)done, (long long)fTotal);
    std::fflush(fOut);
    fShown = true;
}

bool SameFile(int fd1, int fd2) {
    struct stat a, b;
    return ::fstat(fd1, &a) == 0 && ::fstat(fd2, &b) == 0 && a.st_dev == b.st_dev &&
           a.st_ino == b.st_ino;
}

} // namespace cli
