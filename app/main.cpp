// SPDX-License-Identifier: MIT
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QWidget w;
    w.setWindowTitle("Tracely");
    w.setFixedSize(383, 431);
    w.show();
    return app.exec();
}
