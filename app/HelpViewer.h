// SPDX-License-Identifier: MIT
// The user's manual in a window of its own beside the main window (not
// modal). The manual is compiled into the program; an HTML file named after
// the executable beside it is shown instead when present, so the manual can
// be replaced without rebuilding.
#pragma once

#include <QString>
#include <QTextBrowser>
#include <QUrl>

class HelpViewer : public QTextBrowser {
    Q_OBJECT

public:
    explicit HelpViewer(QWidget* parent = nullptr);

    // Shows the manual at its contents anchor and brings the window up.
    void ShowContents();

    // The manual's address, anchor included. programPath is the executable.
    static QUrl ManualUrl(const QString& programPath);
};
