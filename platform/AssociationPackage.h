// SPDX-License-Identifier: MIT
// The user's MIME package that defines the program's own file type. The
// program owns the file and rewrites it whole; every extension it has claimed
// is one glob of the type.
#pragma once

#include <QByteArray>
#include <QStringList>

#include <optional>

// The glob patterns of the own type; nullopt when the bytes are not a
// readable package (so the caller does not overwrite what it cannot read).
std::optional<QStringList> ReadPackageGlobs(const QByteArray& xml, const QString& mimeType);

QByteArray PackageXml(const QString& mimeType, const QStringList& globs);
