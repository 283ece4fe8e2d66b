// SPDX-License-Identifier: MIT
// The association tool of the options dialog: the "Go!" button (ChangeKanren)
// and the "全てリセット" button (RestoreAll). What action 0 replaces is kept in
// the option file's section "Assoc_DB" as three keys per extension,
// <ext>Name, <ext>Com (in double quotes) and <ext>Icon, written together
// once and never overwritten, so they always hold the state before the
// program's first change.
//
// Every message goes through the Dialogs seam with an empty title; errors
// (an empty extension, a desktop file or the option file that cannot be
// written) end the button press in the error box, the dialog stays usable.
#pragma once

#include "AssociationStore.h"
#include "Dialogs.h"

#include <QString>

#include <string>

class QWidget;

inline constexpr const char* kAssocSection = "Assoc_DB";

// Lower case with a leading dot; blanks are kept. Empty stays empty.
QString NormaliseExtension(const QString& text);

class AssociationManager {
public:
    AssociationManager(AssociationStore store, std::string optionFilePath, Dialogs dialogs, QWidget* parent = nullptr);

    // The tool as the options dialog uses it: this executable, the user's
    // desktop directories and the option file the dialog was given.
    static AssociationManager ForThisProgram(const Dialogs& dialogs, QWidget* parent,
                                             const std::string& optionFilePath);

    // extText is the extension field, actionIndex the selected action
    // (0 make default, 1 add "open with", 2 undo; -1 none selected).
    void ChangeKanren(const QString& extText, int actionIndex);
    void RestoreAll();

    AssociationStore& Store() { return m_store; }

private:
    void MakeDefault(const QString& ext);
    void AddOpenWith(const QString& ext);
    void Undo(const QString& ext);
    void Message(const QString& text) const;
    void ShowWarnings();

    AssociationStore m_store;
    std::string m_optionFilePath;
    Dialogs m_dialogs;
    QWidget* m_parent;
};
