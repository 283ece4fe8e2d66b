// SPDX-License-Identifier: MIT
// The traces and column edits, TopMost, help and the options button.
#include "Unit1.h"

#include "Conversions.h"
#include "HelpViewer.h"
#include "SettingsPaths.h"
#include "Unit2.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QSignalBlocker>

#include <algorithm>

void TForm1::NumofTracesChange()
{
    const int typed = StrToInt(NumofTraces->text().toStdString());
    const int shown = std::clamp(typed, 1, kHistorySlots);
    State.TracesShown = shown;
    if (shown != typed)
        NumofTraces->setText(QString::number(shown));
}

void TForm1::ChangeColn()
{
    for (int axis = 0; axis < kAxisCount; ++axis) {
        QLineEdit* edit = AxisControls[static_cast<std::size_t>(axis)].Column;
        const int typed = StrToInt(edit->text().toStdString());
        int column = typed;
        if (column > kMaxColumn)
            column = kMaxColumn;
        else if (column < 0)
            column = axis == 0 ? 0 : 1;   // X may be the point index, a Y needs a column
        State.ColumnMap[static_cast<std::size_t>(axis)] = column;
        if (column != typed) {
            // Running again from inside would only repeat these checks, and
            // report a bad text in a later edit twice.
            const QSignalBlocker quiet(edit);
            edit->setText(QString::number(column));
        }
    }
}

void TForm1::SetTopmost()
{
    const bool onTop = TopMostToggle->isChecked();
    if (windowFlags().testFlag(Qt::WindowStaysOnTopHint) == onTop)
        return;
    // Changing a window flag hides the window; it comes back where it was.
    const QPoint position = pos();
    const bool wasVisible = isVisible();
    setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
    move(position);
    if (wasVisible)
        show();
}

void TForm1::ShowHelp()
{
    if (!m_help)
        m_help = new HelpViewer(this);
    m_help->ShowContents();
}

void TForm1::ShowForm2()
{
    const GraphBusy underDialog(State);

    RunOptionsDialog();
    m_openDialogFilter = QString::fromStdString(State.FileDialogFilter);
    PaintGraph();
}

void TForm1::RunOptionsDialog()
{
    // The options dialog TForm2 is created, shown modally and destroyed here.
    TForm2 form2(State, Modals, GlobalSettingsFile(), this);
    form2.exec();
}
