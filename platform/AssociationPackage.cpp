// SPDX-License-Identifier: MIT
#include "AssociationPackage.h"

#include <QXmlStreamReader>
#include <QXmlStreamWriter>

namespace {
const QString kNamespace = QStringLiteral("http://www.freedesktop.org/standards/shared-mime-info");
}

std::optional<QStringList> ReadPackageGlobs(const QByteArray& xml, const QString& mimeType)
{
    QXmlStreamReader reader(xml);
    QStringList globs;
    bool inOwnType = false;
    bool sawRoot = false;
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement()) {
            if (reader.name() == u"mime-info")
                sawRoot = true;
            else if (reader.name() == u"mime-type")
                inOwnType = reader.attributes().value(QStringLiteral("type")) == mimeType;
            else if (inOwnType && reader.name() == u"glob")
                globs << reader.attributes().value(QStringLiteral("pattern")).toString();
        } else if (reader.isEndElement() && reader.name() == u"mime-type") {
            inOwnType = false;
        }
    }
    if (reader.hasError() || !sawRoot)
        return std::nullopt;
    return globs;
}

QByteArray PackageXml(const QString& mimeType, const QStringList& globs)
{
    QByteArray xml;
    QXmlStreamWriter writer(&xml);
    writer.setAutoFormatting(true);
    writer.setAutoFormattingIndent(2);
    writer.writeStartDocument();
    writer.writeDefaultNamespace(kNamespace);
    writer.writeStartElement(kNamespace, QStringLiteral("mime-info"));
    writer.writeStartElement(kNamespace, QStringLiteral("mime-type"));
    writer.writeAttribute(QStringLiteral("type"), mimeType);
    writer.writeTextElement(kNamespace, QStringLiteral("comment"), QStringLiteral("Tracely data file"));
    writer.writeStartElement(kNamespace, QStringLiteral("comment"));
    writer.writeAttribute(QStringLiteral("xml:lang"), QStringLiteral("ja"));
    writer.writeCharacters(QStringLiteral("Tracely データファイル"));
    writer.writeEndElement();
    writer.writeEmptyElement(kNamespace, QStringLiteral("sub-class-of"));
    writer.writeAttribute(QStringLiteral("type"), QStringLiteral("text/plain"));
    writer.writeEmptyElement(kNamespace, QStringLiteral("generic-icon"));
    writer.writeAttribute(QStringLiteral("name"), QStringLiteral("text-x-generic"));
    for (const QString& glob : globs) {
        writer.writeEmptyElement(kNamespace, QStringLiteral("glob"));
        writer.writeAttribute(QStringLiteral("pattern"), glob);
    }
    writer.writeEndElement();
    writer.writeEndElement();
    writer.writeEndDocument();
    return xml;
}
