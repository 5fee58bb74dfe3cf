#include "ProgressBar.h"

#include <chrono>
#include <cstdio>
#include <string>

namespace cli {

TProgressBar::TProgressBar(qsizetype total, const std::atomic<qsizetype> &done)
    : fTotal(total), fDone(done) {
    fThread = std::thread([this] {
        std::unique_lock lock(fMutex);
        while (!fWake.wait_for(lock, std::chrono::milliseconds(150), [this] { return fStop; }))
            Draw(false);
    });
}

TProgressBar::~TProgressBar() {
    {
        std::lock_guard lock(fMutex);
        fStop = true;
    }
    fWake.notify_all();
    fThread.join();
    Draw(true);
}

void TProgressBar::Draw(bool last) {
    if (last) {
        std::fputs("\r\033[K", stderr);
        std::fflush(stderr);
        return;
    }
    const qsizetype done = fDone.load();
    const int width = 30;
    const int filled = fTotal > 0 ? int(double(done) / double(fTotal) * width) : width;
    std::string bar(size_t(filled), '#');
    bar.append(size_t(width - filled), '.');
    std::fprintf(stderr, "\r[%s] %lld/%lld files", bar.c_str(), (long long)done, (long long)fTotal);
    std::fflush(stderr);
}

} // namespace cli
