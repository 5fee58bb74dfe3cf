#pragma once
// A one-line progress display on standard error, redrawn a few times a
// second from its own thread and wiped when the scan ends.

#include <QtGlobal>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace cli {

class TProgressBar {
public:
    TProgressBar(qsizetype total, const std::atomic<qsizetype> &done);
    ~TProgressBar();

private:
    void Draw(bool last);
    qsizetype fTotal;
    const std::atomic<qsizetype> &fDone;
    std::mutex fMutex;
    std::condition_variable fWake;
    bool fStop = false;
    std::thread fThread;
};

} // namespace cli
