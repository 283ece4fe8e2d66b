// SPDX-License-Identifier: MIT
#include "HelpViewer.h"

#include <QCoreApplication>
#include <QFileInfo>

HelpViewer::HelpViewer(QWidget* parent) : QTextBrowser(parent)
{
    setObjectName(QStringLiteral("HelpViewer"));
    setWindowFlag(Qt::Window);
    setWindowTitle(QStringLiteral("Tracely ヘルプ"));
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
    setSource(ManualUrl(QCoreApplication::applicationFilePath()));
    show();
    raise();
    activateWindow();
}
