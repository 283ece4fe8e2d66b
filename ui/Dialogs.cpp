// SPDX-License-Identifier: MIT
#include "Dialogs.h"

#include "Translations.h"

#include <QByteArray>
#include <QColorDialog>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QRegularExpression>

#include <utility>
#include <vector>

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
    d.OpenFiles = [](QWidget* parent, const QString& startDir, const QString& filter, int selectedFilter) {
        const std::unique_ptr<QFileDialog> dialog = MakeOpenDialog(parent, startDir, filter, selectedFilter);
        return dialog->exec() == QDialog::Accepted ? dialog->selectedFiles() : QStringList();
    };
    d.SaveFile = [](QWidget* parent, const QString& caption, const QString& suggested, const QString& filter) {
        return QFileDialog::getSaveFileName(parent, caption, suggested, filter);
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
    dialogs.Error(parent, ErrorText(error) + QStringLiteral("."));
}

namespace {

// The description and pattern texts of each pair.
std::vector<std::pair<QString, QStringList>> FilterPairs(const QString& filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    std::vector<std::pair<QString, QStringList>> pairs;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns = parts[i + 1].split(QRegularExpression(QStringLiteral("[; ]")), Qt::SkipEmptyParts);
        for (QString& pattern : patterns) {
            if (pattern == QLatin1String("*.*"))
                pattern = QStringLiteral("*");
        }
        pairs.emplace_back(parts[i], patterns);
    }
    return pairs;
}

}   // namespace

QStringList QtFiltersFromDialogFilter(const QString& filter)
{
    QStringList entries;
    for (const auto& [description, patterns] : FilterPairs(filter))
        entries << QStringLiteral("%1 (%2)").arg(description, patterns.join(QLatin1Char(' ')));
    return entries;
}

int MatchingFilterIndex(const QString& filter, const std::string& fileName)
{
    const QString base = QFile::decodeName(QByteArray::fromStdString(fileName)).section(QLatin1Char('/'), -1);
    if (base.isEmpty())
        return 0;
    const auto pairs = FilterPairs(filter);
    for (std::size_t i = 0; i < pairs.size(); ++i) {
        for (const QString& pattern : pairs[i].second) {
            const QRegularExpression match(QRegularExpression::wildcardToRegularExpression(pattern),
                                           QRegularExpression::CaseInsensitiveOption);
            if (match.match(base).hasMatch())
                return static_cast<int>(i);
        }
    }
    return 0;
}

std::unique_ptr<QFileDialog> MakeOpenDialog(QWidget* parent, const QString& startDir, const QString& filter,
                                            int selectedFilter)
{
    auto dialog = std::make_unique<QFileDialog>(parent, QString(), startDir);
    // Qt's own dialog: the GTK one would not honour our filter form. The
    // descriptions already carry their patterns, so Qt's copy is hidden.
    dialog->setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::HideNameFilterDetails);
    dialog->setFileMode(QFileDialog::ExistingFiles);
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    // The descriptions read in the user's language here only: the settings
    // file and the options dialog keep the filter as it was written.
    QStringList parts = filter.split(QLatin1Char('|'));
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
        parts[i] = TranslatedText(parts[i].toStdString());
    const QStringList filters = QtFiltersFromDialogFilter(parts.join(QLatin1Char('|')));
    dialog->setNameFilters(filters);
    if (selectedFilter >= 0 && selectedFilter < filters.size())
        dialog->selectNameFilter(filters[selectedFilter]);
    dialog->resize(760, 480);
    return dialog;
}
