// SPDX-License-Identifier: MIT
// A 3 GB sparse file typed into the real main window (offscreen): while it
// loads, a 10 ms timer measures the longest stall of the event loop; after
// 1.5 s the progress dialog's Cancel is clicked and the time until the load
// has returned is measured.
//
//     bench_app_big_load [GIGABYTES=3]
#include "Dialogs.h"
#include "Unit1.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <unistd.h>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const long gigabytes = argc > 1 ? std::atol(argv[1]) : 3;
    QApplication app(argc, argv);
    QTemporaryDir dir;
    QTemporaryDir settings;
    const std::string small = dir.path().toStdString() + "/a.dat";
    std::ofstream(small) << "1 2\n3 4\n";
    const std::string big = dir.path().toStdString() + "/big.dat";
    const int fd = ::open(big.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (fd < 0 || ::ftruncate(fd, off_t(gigabytes) << 30) != 0)
        return 1;
    ::close(fd);

    TForm1 form(small, Dialogs::Real(), nullptr, settings.path().toStdString() + "/");
    form.show();
    QApplication::processEvents();

    QElapsedTimer sinceTick;
    qint64 longestStall = 0;
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&] { longestStall = std::max(longestStall, sinceTick.restart()); });
    QElapsedTimer clock;
    qint64 clickedAt = -1;
    QTimer::singleShot(1500, [&] {
        if (auto* progress = form.findChild<QProgressDialog*>(QStringLiteral("LoadProgress")))
            if (auto* cancel = progress->findChild<QPushButton*>()) {
                clickedAt = clock.elapsed();
                cancel->click();
            }
    });
    auto* name = form.findChild<QLineEdit*>(QStringLiteral("MaskEdit1"));
    name->setText(QString::fromStdString(big));
    clock.start();
    sinceTick.start();
    tick.start(10);
    Q_EMIT name->returnPressed();
    const qint64 returnedAt = clock.elapsed();
    tick.stop();

    std::printf("longest event-loop stall during the load: %lld ms (timer every 10 ms)\n",
                static_cast<long long>(longestStall));
    if (clickedAt < 0)
        std::printf("the load ended after %lld ms, before Cancel could be clicked\n",
                    static_cast<long long>(returnedAt));
    else
        std::printf("Cancel clicked at %lld ms, load returned %lld ms later\n", static_cast<long long>(clickedAt),
                    static_cast<long long>(returnedAt - clickedAt));
    return 0;
}
