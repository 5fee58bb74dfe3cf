// SPDX-License-Identifier: GPL-3.0-or-later
// The results table is painted while a run goes on, on a real X server:
// every 50 ms a timer reads back what the server shows of the window (not
// a fresh rendering of the widgets) and counts the rows painted in the
// size-test yellow. The path filter shows only the files of the run's last
// third, so the rows appear on screen well into the run, after grabs that
// found none. Run by painted_live.sh, which starts the server.
//   painted_live [out.png]  (with DISPLAY set; the picture of the last grab
//                            taken mid-run, for the documentation)

#include "Dialogs.h"
#include "IsolatedEnv.h"
#include "MainWindow.h"
#include "ResultTable.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QHeaderView>
#include <QPixmap>
#include <QScreen>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <cstdio>

namespace {

// Rows painted in the size-test yellow in a grab of the table's viewport
// (rows of `rowHeight` pixels, one against the other).
int YellowRows(const QImage &image, int rowHeight) {
    int lines = 0;
    const int x = image.width() - 4;
    for (int y = 0; y < image.height(); ++y)
        lines += image.pixelColor(x, y) == QColor(255, 255, 0);
    return (lines + rowHeight / 2) / rowHeight;
}

} // namespace

int main(int argc, char **argv) {
    IsolatedEnv env;
    QApplication app(argc, argv);
    suite::TRecordingDialogService dialogs;
    suite::SetDialogService(&dialogs);
    QTemporaryDir dir;
    // Enough files that the run lasts a while on one job; every third one
    // is a text followed by zeros, suspect by the size test.
    const int kFiles = 30000;
    for (int i = 0; i < kFiles; ++i) {
        QFile f(dir.filePath(QStringLiteral("data/f%1.txt").arg(i, 5, 10, QLatin1Char('0'))));
        if (i == 0)
            QDir().mkpath(dir.filePath(QStringLiteral("data")));
        if (!f.open(QIODevice::WriteOnly))
            return 2;
        f.write("The quick brown fox jumps over the lazy dog.\r\n");
        if (i % 3 == 1)
            f.write(QByteArray(64, '\0'));
    }
    TForm1 form;
    form.RunJobs = 1;
    form.ElFolderNameEdit1->SetText(dir.filePath(QStringLiteral("data")));
    form.FilterPath->setText(QStringLiteral("/f2"));
    form.show();
    // The window on the server, exposed and painted once before the run.
    QElapsedTimer wait;
    wait.start();
    while (!form.ElListBox1->isVisible() && wait.elapsed() < 5000)
        QApplication::processEvents();
    QThread::msleep(200);
    QApplication::processEvents();

    struct Grab {
        qint64 ms;
        int listed;
        int painted;
    };
    std::vector<Grab> grabs;
    QImage lastMidRun;
    QElapsedTimer clock;
    QTimer timer;
    timer.setInterval(50);
    QObject::connect(&timer, &QTimer::timeout, &form, [&] {
        if (!form.Running())
            return;
        QWidget *viewport = form.ElListBox1->viewport();
        const QPoint at = viewport->mapToGlobal(QPoint(0, 0));
        // What the X server holds: painted pixels only.
        const QImage shot =
            form.screen()
                ->grabWindow(0, at.x(), at.y(), viewport->width(), viewport->height())
                .toImage();
        grabs.push_back(
            {clock.elapsed(), form.ElListBox1->Filter()->rowCount(),
             YellowRows(shot, form.ElListBox1->verticalHeader()->defaultSectionSize())});
        lastMidRun = form.screen()->grabWindow(form.winId()).toImage();
    });
    clock.start();
    timer.start();
    form.Button1->click();
    timer.stop();

    int paintedMidRun = 0, emptyBefore = 0;
    qint64 last = -1, longestGap = 0;
    for (const Grab &g : grabs) {
        std::printf("%5lld ms: %5d rows shown, %2d painted\n", (long long)g.ms, g.listed,
                    g.painted);
        if (g.painted == 0 && paintedMidRun == 0)
            ++emptyBefore;
        if (g.listed > 0 && g.painted > 0) {
            ++paintedMidRun;
            if (last >= 0)
                longestGap = std::max(longestGap, g.ms - last);
            last = g.ms;
        }
    }
    std::printf("run: %lld ms; %zu grabs mid-run, %d with painted rows; longest time between "
                "two grabs that found painted rows: %lld ms\n",
                (long long)clock.elapsed(), grabs.size(), paintedMidRun, (long long)longestGap);
    if (argc > 1 && !lastMidRun.isNull())
        lastMidRun.save(QString::fromLocal8Bit(argv[1]));
    if (grabs.size() < 3) {
        std::printf("FAIL: the run was too short to look at (%zu grabs)\n", grabs.size());
        return 1;
    }
    // Every grab taken a while after rows were shown must find them on
    // screen, and the first rows came on screen mid-run, after grabs that
    // found none.
    for (size_t i = 1; i < grabs.size(); ++i)
        if (grabs[i - 1].listed > 0 && grabs[i].painted == 0) {
            std::printf("FAIL: %d rows shown at %lld ms, none painted\n", grabs[i].listed,
                        (long long)grabs[i].ms);
            return 1;
        }
    if (emptyBefore == 0 || paintedMidRun == 0) {
        std::printf("FAIL: no rows came on screen during the run\n");
        return 1;
    }
    return 0;
}
