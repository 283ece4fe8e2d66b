// SPDX-License-Identifier: MIT
#include "AppTestSupport.h"
#include "MainWindowUi.h"

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QPointer>
#include <QTest>
#include <QTimer>

#include <memory>

int DifferentPixels(const QImage& a, const QImage& b)
{
    int count = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            count += a.pixel(x, y) != b.pixel(x, y) ? 1 : 0;
    return count;
}

void TypeInto(QWidget* widget, const QString& text)
{
    auto* edit = qobject_cast<QLineEdit*>(widget);
    ASSERT_NE(edit, nullptr);
    edit->setText(text);
    QTest::keyClick(edit, Qt::Key_Return);
}

void MainWindowTest::TypeName(const QString& name)
{
    TypeInto(Ui(*Form).MaskEdit1, name);
}

void RejectNextModal()
{
    // Keeps trying until the dialog it acted on is gone, then removes itself,
    // so it can neither miss the dialog nor act on the next one.
    struct State {
        QPointer<QWidget> Target;
        bool Acted = false;
    };
    auto* timer = new QTimer;
    timer->setInterval(10);
    auto state = std::make_shared<State>();
    QObject::connect(timer, &QTimer::timeout, timer, [timer, state] {
        QWidget* modal = QApplication::activeModalWidget();
        if (state->Acted && (state->Target.isNull() || modal != state->Target)) {
            timer->stop();
            timer->deleteLater();
            return;
        }
        if (!modal)
            return;
        state->Target = modal;
        state->Acted = true;
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            dialog->reject();
        else
            modal->close();
    });
    timer->start();
}
