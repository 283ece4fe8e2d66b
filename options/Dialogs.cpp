// SPDX-License-Identifier: MIT
#include "Dialogs.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QMessageBox>

Dialogs Dialogs::Real()
{
    Dialogs d;
    d.Message = [](QWidget* parent, const QString& title, const QString& text) {
        QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok, parent);
        box.exec();
    };
    d.Error = [](QWidget* parent, const QString& text) {
        QMessageBox box(QMessageBox::Critical, QStringLiteral("Tracely"), text, QMessageBox::Ok, parent);
        box.exec();
    };
    d.ConfirmOkCancel = [](QWidget* parent, const QString& title, const QString& text) {
        QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok | QMessageBox::Cancel, parent);
        return box.exec() == QMessageBox::Ok;
    };
    d.OpenFiles = [](QWidget* parent, const QString& startDir, const QString& filter) {
        // Qt's own dialog: the GTK one would not honour our filter form.
        return QFileDialog::getOpenFileNames(parent, QString(), startDir, QtFilterFromDialogFilter(filter),
                                             nullptr, QFileDialog::DontUseNativeDialog);
    };
    d.PickColor = [](QWidget* parent, const QColor& preset) -> std::optional<QColor> {
        const QColor c = QColorDialog::getColor(preset, parent);
        if (!c.isValid())
            return std::nullopt;
        return c;
    };
    return d;
}

void ShowHandlerError(const Dialogs& dialogs, QWidget* parent, const std::exception& error)
{
    dialogs.Error(parent, QString::fromUtf8(error.what()) + QStringLiteral("."));
}

QString QtFilterFromDialogFilter(const QString& filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        entries << QStringLiteral("%1 (%2)").arg(parts[i], patterns);
    }
    return entries.join(QStringLiteral(";;"));
}
