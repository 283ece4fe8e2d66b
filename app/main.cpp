// SPDX-License-Identifier: MIT
// Program entry: the main window on the file named by the first argument.
#include "Unit1.h"

#include <QApplication>
#include <QGuiApplication>
#include <QPixmap>

#include <cstdio>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    // QApplication takes the options it knows (-style, -platform, -reverse,
    // ...) out of argv, values included; a data file of any name must survive.
    const std::vector<std::string> args(argv, argv + argc);

    QApplication app(argc, argv);
    QGuiApplication::setDesktopFileName(QStringLiteral(TRACELY_APP_ID));
    QApplication::setApplicationName(QStringLiteral("Tracely"));

    TForm1 form(args.size() > 1 ? args[1] : std::string());

    // Without a display, a picture of the window instead of a session.
    const QString screenshot = qEnvironmentVariable("TRACELY_SCREENSHOT");
    if (!screenshot.isEmpty()) {
        form.show();
        form.PaintGraph();
        QApplication::processEvents();
        if (!form.grab().save(screenshot, "PNG")) {
            std::fprintf(stderr, "tracely: cannot write %s\n", qPrintable(screenshot));
            return 1;
        }
        return 0;
    }

    form.show();
    return app.exec();
}
