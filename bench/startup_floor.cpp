// SPDX-License-Identifier: MIT
// The start-up floor: what any Qt program of the main window's size pays
// before its first picture. An application object, one widget of the window's
// client size with the program's user-interface font and a line of Japanese
// text (so the same font files are opened), a grab written as PNG, exit.
//   startup_floor OUT.png
// bench/startup.sh times it beside `tracely FILE` with TRACELY_SCREENSHOT.
#include "QtTextRenderer.h"

#include <QApplication>
#include <QLabel>
#include <QPixmap>
#include <QWidget>

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: startup_floor OUT.png\n");
        return 2;
    }
    QApplication app(argc, argv);
    QWidget window;
    window.setFixedSize(383, 431);
    window.setFont(UserInterfaceFont());
    auto* caption = new QLabel(QStringLiteral("Filename ファイル名入力"), &window);
    caption->move(8, 400);
    window.show();
    // Written as the program writes its screenshot.
    return window.grab().save(QString::fromLocal8Bit(argv[1]), "PNG", 80) ? 0 : 1;
}
