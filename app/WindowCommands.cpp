// SPDX-License-Identifier: MIT
// The main window's commands that have keys and a place in its context menu
// (right button outside the plot). Every key is a shortcut of this window
// only, and Qt asks a focused text edit first: an edit keeps the arrows,
// Home, End and Ctrl+C for itself, so typing a name or a limit is never
// taken over.
//
// Stepping keys run the buttons' own handlers and only while the buttons
// can be pressed (not in the no-data layout), so the wheel count,
// wrap-around and errors are the buttons'.
#include "Unit1.h"

#include "FileNameParts.h"
#include "LanguageSetting.h"

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QShortcut>

namespace {

struct WindowCommand {
    const char* Text;   // in the context menu
    const char* Keys;   // the first is the one the menu shows
    const char* OtherKey;
    void (TForm1::*Run)();
    bool NeedsData;                              // only while Prev./Next can be pressed
    bool EndsGroup = false;                      // a separator follows it in the menu
    bool (TForm1::*Checked)() const = nullptr;   // a switch, shown checked while on
};

constexpr WindowCommand kCommands[] = {
    {"Next file", "PgDown", "Right", &TForm1::NextInDir, true},
    {"Previous file", "PgUp", "Left", &TForm1::PrevInDir, true},
    {"First file", "Home", nullptr, &TForm1::FirstInDir, true},
    {"Last file", "End", nullptr, &TForm1::LastInDir, true, true},
    {"ReDraw", "F5", nullptr, &TForm1::ReDrawInDir, true},
    {"Open...", "Ctrl+O", nullptr, &TForm1::FIleNameInput, false, true},
    {"Copy plot", "Ctrl+C", nullptr, &TForm1::CopyPlot, false},
    {"Copy read-outs and file names", "Ctrl+Shift+C", nullptr, &TForm1::CopyReadouts, false},
    {"Save plot as PNG...", "Ctrl+S", nullptr, &TForm1::SavePlot, false, true},
    {"Large view", "Ctrl+L", nullptr, &TForm1::ShowLargeView, false},
    {"Follow mode", "F", nullptr, &TForm1::ToggleFollowing, false, false, &TForm1::Following},
    {"Help", "F1", nullptr, &TForm1::ShowHelp, false},
};

// The plot rectangle with its frame, in client pixels.
QRect PlotArea()
{
    return QRect(PlotRect.Left, PlotRect.Top, PlotRect.Width + 1, PlotRect.Height + 1);
}

}   // namespace

void TForm1::ConnectCommandKeys()
{
    for (const WindowCommand& command : kCommands) {
        for (const char* key : {command.Keys, command.OtherKey}) {
            if (!key)
                continue;
            auto* shortcut = new QShortcut(QKeySequence(QString::fromLatin1(key)), this);
            connect(shortcut, &QShortcut::activated, this,
                    [this, &command] { RunCommand(command.Run, command.NeedsData); });
        }
    }
}

void TForm1::RunCommand(void (TForm1::*run)(), bool needsData)
{
    if (needsData && !NextFile->isEnabled())
        return;
    Guarded([this, run] { (this->*run)(); });
}

void TForm1::contextMenuEvent(QContextMenuEvent* event)
{
    // Inside the plot every button keeps setting the red cursor.
    const QPoint p = event->pos();
    if (p.x() >= PlotRect.Left && p.x() <= PlotRect.Left + PlotRect.Width && p.y() >= PlotRect.Top &&
        p.y() <= PlotRect.Top + PlotRect.Height) {
        event->ignore();
        return;
    }
    QMenu menu(this);
    for (const WindowCommand& command : kCommands) {
        QAction* action =
            menu.addAction(tr(command.Text), this, [this, &command] { RunCommand(command.Run, command.NeedsData); });
        // Shown beside the entry; the window's own shortcut does the work.
        action->setShortcut(QKeySequence(QString::fromLatin1(command.Keys)));
        action->setShortcutVisibleInContextMenu(true);
        action->setEnabled(!command.NeedsData || NextFile->isEnabled());
        if (command.Checked) {
            action->setCheckable(true);
            action->setChecked((this->*command.Checked)());
        }
        if (command.EndsGroup)
            menu.addSeparator();
    }
    AddLanguageEntry(menu, *this);
    menu.exec(event->globalPos());
}

QImage TForm1::PlotImage() const
{
    // The frame's outer edges on the picture's device pixels.
    const DeviceGrid grid = m_canvas->Grid();
    const QRect area = PlotArea();
    return m_picture.copy(QRect(QPoint(grid.LineStart(area.left()), grid.LineStart(area.top())),
                                QPoint(grid.LineEnd(area.right()) - 1, grid.LineEnd(area.bottom()) - 1)));
}

void TForm1::CopyPlot()
{
    QGuiApplication::clipboard()->setImage(PlotImage());
}

QString TForm1::ReadoutsText() const
{
    // One line per read-out the user sees: its name, the value, and the
    // difference to the red cursor when that is shown; then the shown files.
    const std::pair<const char*, std::pair<QLineEdit*, QLineEdit*>> rows[] = {
        {"X", {m_readouts.CurrentX, m_readouts.DeltaX}},
        {"Y1", {m_readouts.CurrentY1, m_readouts.DeltaY1}},
        {"Y2", {m_readouts.CurrentY2, m_readouts.DeltaY2}},
        {"Y3", {m_readouts.CurrentY3, m_readouts.DeltaY3}},
    };
    QString text;
    for (const auto& [name, edits] : rows) {
        const auto [current, delta] = edits;
        if (!current->isVisibleTo(this))
            continue;
        text += QString::fromLatin1(name) + QLatin1Char('\t') + current->text();
        if (delta->isVisibleTo(this))
            text += QLatin1Char('\t') + delta->text();
        text += QLatin1Char('\n');
    }
    for (int s = 0; s < State.DisplayedTraces; ++s) {
        const TraceSlot& slot = State.Traces[static_cast<std::size_t>(s)];
        if (slot.Loaded())
            text += FileNameToText(slot.Name) + QLatin1Char('\n');
    }
    return text;
}

void TForm1::CopyReadouts()
{
    QGuiApplication::clipboard()->setText(ReadoutsText());
}

void TForm1::SavePlot()
{
    const TraceSlot& newest = State.Traces[0];
    std::string suggested = State.CurrentDir + "plot.png";
    if (newest.Loaded()) {
        const std::string base = ExtractFileName(newest.Name);
        const std::string ext = ExtractFileExt(base);
        suggested = ExtractFilePath(newest.Name) + base.substr(0, base.size() - ext.size()) + ".png";
    }
    QString name =
        Modals.SaveFile(this, tr("Save plot as PNG"), FileNameToText(suggested), QStringLiteral("PNG (*.png)"));
    if (name.isEmpty())
        return;
    if (!name.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive))
        name += QStringLiteral(".png");
    if (!PlotImage().save(name, "PNG"))
        Modals.Error(this, RefusalLine("Cannot write the file", name));
}
