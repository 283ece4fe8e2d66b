// SPDX-License-Identifier: MIT
#include "FileNameText.h"

#include <QByteArray>
#include <QFile>

QString FileNameToText(const std::string& name)
{
    return QFile::decodeName(QByteArray(name.data(), static_cast<qsizetype>(name.size())));
}

std::string TextToFileName(const QString& text)
{
    return QFile::encodeName(text).toStdString();
}
