// SPDX-License-Identifier: MIT
// An opening whose load the user cancels is given up whole. Entering the
// file's directory comes before the load (its settings fix the columns the
// file is read with), so by the time Cancel is pressed the listing, the
// directory's limits, columns, toggles and colours, and the data layout have
// already changed; they are kept beforehand and put back here.
#include "Unit1.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QSignalBlocker>

TForm1::OpeningKept TForm1::KeepWhatOpeningChanges() const
{
    OpeningKept kept;
    kept.DataControlsShown = !NumofTraces->isHidden();
    kept.Controls = DirectorySettingsOfControls();
    kept.Axes = State.Axes;
    kept.ColumnMap = State.ColumnMap;
    kept.AutoDet = State.AutoDet;
    kept.RedetectColumns = State.RedetectColumns;
    kept.RedCursorX = State.RedCursorX;
    kept.RedCursorY = State.RedCursorY;
    return kept;
}

void TForm1::PutBack(OpeningKept kept)
{
    m_navigator.Return(std::move(kept.Place));
    // The state first: the toggles below may paint.
    const DirectorySettings& controls = kept.Controls;
    State.Axes = kept.Axes;
    State.ColumnMap = kept.ColumnMap;
    State.Colors = controls.Common.Colors;
    State.AutoDet = kept.AutoDet;
    State.RedetectColumns = kept.RedetectColumns;

    SetYsItemIndex(controls.YsItem);
    for (int axis = 0; axis < kAxisCount; ++axis) {
        const std::size_t a = static_cast<std::size_t>(axis);
        ShowAxisSettings(controls, a);
        // The texts go back as they stood, a bad one too; the state above
        // holds what was taken from them, so nothing is converted again.
        const QSignalBlocker quiet(AxisControls[a].Column);
        AxisControls[a].Column->setText(QString::fromStdString(controls.Common.ColumnTexts[a]));
    }
    // Each change runs the box's click handler again, which undoes what the
    // settings' change made it do (the window's stacking, the cursor).
    TopMostToggle->setChecked(controls.Common.TopMost);
    DispNameToggle->setChecked(controls.Common.DispName);
    Cursor->setChecked(controls.Common.Cursor);
    // Clearing the Cursor box took the red cursor with it.
    if (kept.RedCursorX >= 0 && State.RedCursorX < 0)
        m_cursor->SetRed(kept.RedCursorX, kept.RedCursorY, Cursor->isChecked());
    if (!kept.DataControlsShown)
        HideDataControls();
}

bool TForm1::EnterAndLoad(const std::string& name, OpeningKept kept)
{
    kept.Place = EnterDirectoryOf(name);
    const LoadResult result = LoadFile(name);
    if (result.Error == LoadError::Cancelled)
        PutBack(std::move(kept));
    ReportRefusal(result, name);
    return result.Ok;
}
