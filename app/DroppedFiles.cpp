// SPDX-License-Identifier: MIT
// Files dragged onto the window from a file manager.
#include "Unit1.h"

#include "Conversions.h"

#include <QByteArray>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QEvent>
#include <QLineEdit>
#include <QMetaObject>
#include <QMimeData>
#include <QStringList>

#include <string>
#include <vector>

namespace {

constexpr const char* kMessageNotLocalFile = "Not a local file";
constexpr const char* kForwarderName = "FileDropForwarder";

// file: URLs of this machine. A host other than localhost names a file on
// another machine, which is no file of ours to open.
bool IsLocalFileUrl(const QUrl& url)
{
    return url.isLocalFile() && (url.host().isEmpty() || url.host() == QLatin1String("localhost"));
}

bool HasLocalFileUrl(const QMimeData* data)
{
    if (!data || !data->hasUrls())
        return false;
    for (const QUrl& url : data->urls()) {
        if (IsLocalFileUrl(url))
            return true;
    }
    return false;
}

// The path's bytes as the file manager encoded them, so names that are not
// valid UTF-8 still reach the file.
std::string LocalFileBytes(const QUrl& url)
{
    return QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toUtf8()).toStdString();
}

// Loading may open message boxes; the file manager's drag has ended by then,
// as it would for a drop that is posted to the window.
void ReceiveLater(TForm1* form, QDropEvent* drop)
{
    drop->acceptProposedAction();
    const QList<QUrl> urls = drop->mimeData()->urls();
    QMetaObject::invokeMethod(
        form, [form, urls] { form->Guarded([&] { form->ReceiveDroppedFiles(urls); }); }, Qt::QueuedConnection);
}

// The edits accept dropped text, and a file's URL would end up in them as
// text; this hands file drops over them to the window instead.
class FileDropForwarder : public QObject {
public:
    explicit FileDropForwarder(TForm1* form) : QObject(form), m_form(form)
    {
        setObjectName(QString::fromLatin1(kForwarderName));
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            auto* drag = static_cast<QDragMoveEvent*>(event);
            if (!HasLocalFileUrl(drag->mimeData()))
                break;
            drag->acceptProposedAction();
            return true;
        }
        case QEvent::Drop: {
            auto* drop = static_cast<QDropEvent*>(event);
            if (!HasLocalFileUrl(drop->mimeData()))
                break;
            ReceiveLater(m_form, drop);
            return true;
        }
        default: break;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    TForm1* m_form;
};

}   // namespace

void TForm1::AcceptDroppedFiles()
{
    setAcceptDrops(true);
    // Found by name: the forwarder has no meta-object of its own to cast to.
    if (findChild<QObject*>(QString::fromLatin1(kForwarderName), Qt::FindDirectChildrenOnly))
        return;
    auto* forwarder = new FileDropForwarder(this);
    for (QLineEdit* edit : findChildren<QLineEdit*>())
        edit->installEventFilter(forwarder);
}

void TForm1::dragEnterEvent(QDragEnterEvent* event)
{
    if (HasLocalFileUrl(event->mimeData()))
        event->acceptProposedAction();
    else
        event->ignore();
}

void TForm1::dropEvent(QDropEvent* event)
{
    if (!HasLocalFileUrl(event->mimeData())) {
        event->ignore();
        return;
    }
    ReceiveLater(this, event);
}

void TForm1::ReceiveDroppedFiles(const QList<QUrl>& urls)
{
    // Read first: a count that is not a number abandons the drop before anything changes.
    const int before = StrToInt(NumofTraces->text().toStdString());

    std::vector<std::string> names;
    QStringList refusals;
    for (const QUrl& url : urls) {
        // Refusals keep the order of the drop.
        if (IsLocalFileUrl(url))
            TakeIfRegular(LocalFileBytes(url), names, refusals);
        else
            refusals << RefusalLine(kMessageNotLocalFile, url.toDisplayString());
    }
    OpenFilesTogether(names, before, refusals);
}
