// SPDX-License-Identifier: MIT
// Every modal window the program opens goes through one Dialogs value: the
// application fills it with the real Qt dialogs, a test with scripted answers,
// so no test ever blocks on a modal window.
#pragma once

#include <QColor>
#include <QString>
#include <QStringList>

#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <string>

class QFileDialog;
class QWidget;

struct Dialogs {
    // A plain message box with one OK button (an empty title is allowed).
    std::function<void(QWidget* parent, const QString& title, const QString& text)> Message;
    // The error box of the conversion and file errors: error icon, title "Tracely".
    std::function<void(QWidget* parent, const QString& text)> Error;
    // OK / Cancel question; true for OK.
    std::function<bool(QWidget* parent, const QString& title, const QString& text)> ConfirmOkCancel;
    // Open dialog with multiple selection; an empty list means cancelled.
    // filter is in the program's "description|pattern|description|pattern"
    // form; selectedFilter is the index of the pair shown first.
    std::function<QStringList(QWidget* parent, const QString& startDir, const QString& filter, int selectedFilter)>
        OpenFiles;
    // Save dialog for one file, starting at suggested (a whole name); an
    // empty name means cancelled. filter is a Qt name filter ("PNG (*.png)").
    std::function<QString(QWidget* parent, const QString& caption, const QString& suggested, const QString& filter)>
        SaveFile;
    // Colour chooser preset with a colour; no value means cancelled.
    std::function<std::optional<QColor>(QWidget* parent, const QColor& preset)> PickColor;

    static Dialogs Real();
};

// Shows an exception from a handler the way the program shows framework
// errors: its text with a full stop appended, in the error box.
void ShowHandlerError(const Dialogs& dialogs, QWidget* parent, const std::exception& error);

// "GDWファイル(*.gdw)|*.gdw|..." -> {"GDWファイル(*.gdw) (*.gdw)", ...} for
// QFileDialog. "*.*" becomes "*": it means every name, also one without a dot.
QStringList QtFiltersFromDialogFilter(const QString& filter);
// The index of the first pair whose patterns match the file's base name
// (letter case ignored, as the listing ignores it); 0 when none does.
int MatchingFilterIndex(const QString& filter, const std::string& fileName);
// The open dialog as the program shows it, not yet shown: several existing
// files, the descriptions without a second copy of their patterns, large
// enough to read names and sizes.
std::unique_ptr<QFileDialog> MakeOpenDialog(QWidget* parent, const QString& startDir, const QString& filter,
                                            int selectedFilter);
