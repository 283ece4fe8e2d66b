// SPDX-License-Identifier: MIT
#include "HelpViewer.h"

#include "Translations.h"

#include <QCoreApplication>
#include <QFileInfo>

HelpViewer::HelpViewer(QWidget* parent) : QTextBrowser(parent)
{
    setObjectName(QStringLiteral("HelpViewer"));
    setWindowFlag(Qt::Window);
    setWindowTitle(tr("Tracely ヘルプ"));
    setOpenExternalLinks(true);
    resize(640, 560);
}

QUrl HelpViewer::ManualUrl(const QString& programPath)
{
    const QFileInfo program(programPath);
    // The program's path with its extension removed, then ".html".
    QString base = program.fileName();
    const qsizetype dot = base.lastIndexOf(QLatin1Char('.'));
    if (dot > 0)
        base.truncate(dot);
    const QFileInfo beside(program.absolutePath() + QLatin1Char('/') + base + QStringLiteral(".html"));
    QUrl url = beside.isFile() && beside.isReadable() ? QUrl::fromLocalFile(beside.absoluteFilePath())
                                                      : QUrl(QStringLiteral("qrc:/help/tracely.html"));
    url.setFragment(QStringLiteral("contents"));
    return url;
}

void HelpViewer::ShowContents()
{
    QUrl url = ManualUrl(QCoreApplication::applicationFilePath());
    // The manual is Japanese with an English section at its end: an English
    // reader starts there.
    if (CurrentLanguage() == UiLanguage::English)
        url.setFragment(QStringLiteral("english"));
    setSource(url);
    show();
    raise();
    activateWindow();
}
