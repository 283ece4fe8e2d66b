// SPDX-License-Identifier: MIT
// Painting the plot into the window's picture, the limit edits that follow
// every paint, typed limits and the Ys selection.
#include "Unit1.h"

#include "AxisRanges.h"
#include "FormatText.h"
#include "GraphPainter.h"
#include "LargeViewWindow.h"
#include "PlotCursor.h"
#include "PlotView.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>

#include <cmath>

namespace {

// A text that does not fit shows its beginning: the sign of a limit, the
// start of a name.
void ShowText(QLineEdit* edit, const QString& text)
{
    // Setting an edit's text repaints it, which is a good part of a step
    // while the limits stay the same. An edit already showing this text as
    // setting it would leave it (no selection, no undo, the start in view)
    // is left alone.
    if (edit->text() == text && edit->cursorPosition() == 0 && !edit->hasSelectedText() && !edit->isModified() &&
        !edit->isUndoAvailable() && !edit->isRedoAvailable())
        return;
    edit->setText(text);
    edit->setCursorPosition(0);
}

}   // namespace

void TForm1::DrawGraphIntoPicture()
{
    DrawGraph(State, *m_canvas);
    if (Following())
        DrawFollowMarker();
}

double TForm1::ScreenRatio() const
{
    const double ratio = devicePixelRatioF();
    return ratio > 0 && std::isfinite(ratio) ? ratio : 1.0;
}

void TForm1::MakePicture(double ratio)
{
    const DeviceGrid grid{ratio};
    m_picture = QImage(grid.Edge(kClientWidth), grid.Edge(kClientHeight), QImage::Format_RGB32);
    m_picture.setDevicePixelRatio(ratio);
    m_picture.fill(palette().color(QPalette::Window));
    m_canvas->SetBuffer(PixelBuffer{reinterpret_cast<std::uint32_t*>(m_picture.bits()), m_picture.width(),
                                    m_picture.height(), static_cast<int>(m_picture.bytesPerLine() / 4), ratio});
}

void TForm1::FollowDeviceRatio()
{
    const double ratio = ScreenRatio();
    if (ratio == m_picture.devicePixelRatio())
        return;
    // Moved to a screen of another density: the cross starts again at the
    // centre, as after any paint.
    MakePicture(ratio);
    const GraphBusy painting(State);
    Guarded([this] { DrawGraphIntoPicture(); });
}

void TForm1::PaintGraph()
{
    const GraphBusy painting(State);

    DrawGraphIntoPicture();
    if (const std::string shown = m_navigator.ShownName(); !shown.empty())
        ShowText(MaskEdit1, FileNameToText(shown));

    ShowText(X0_upper, QString::fromStdString(FormatText("%+.2e", static_cast<double>(State.Axes[0].Upper))));
    ShowText(X0_lower, QString::fromStdString(FormatText("%+.2e", static_cast<double>(State.Axes[0].Lower))));
    for (int k = 1; k <= 3; ++k) {
        const AxisControlGroup& group = AxisControls[static_cast<std::size_t>(k)];
        ShowText(group.Upper, QString::fromStdString(FormatText("%+.1e", static_cast<double>(State.Axes[k].Upper))));
        ShowText(group.Lower, QString::fromStdString(FormatText("%+.1e", static_cast<double>(State.Axes[k].Lower))));
    }
    // Now, not at the next turn of the event loop. Repainting the plot paints
    // everything else marked for repainting with it (the texts above, the
    // controls a load set) and nothing more: a repaint of the whole window
    // cost more than the rest of a step.
    m_plotView->repaint();
    // The large view only marks its picture stale here and repaints once per
    // frame, so it never holds up the main window.
    if (m_largeView && m_largeView->isVisible())
        m_largeView->Refresh();
}

void TForm1::ChangeAxes(LimitTarget target, QLineEdit* edit)
{
    // A text that is not a number throws before any limit or Auto box changes.
    const AxisSpan set = ApplyLimitText(State, target, edit->text().toStdString());
    for (int axis = set.First; axis <= set.Last; ++axis)
        AxisControls[static_cast<std::size_t>(axis)].Auto->setChecked(false);
    PaintGraph();
}

void TForm1::ChangeYs()
{
    const std::optional<YsLayout> layout = YsLayoutOfItem(YsItemIndex());
    if (!layout)
        return;
    ShowAxisControls(2, layout->ShowY2);
    ShowAxisControls(3, layout->ShowY3);
    LinkageYsBox->setVisible(layout->ShowLink);
}

void TForm1::ShowAxisControls(int axis, bool visible)
{
    const AxisControlGroup& group = AxisControls.at(static_cast<std::size_t>(axis));
    for (QWidget* w : std::initializer_list<QWidget*>{group.Upper, group.Lower, group.UpperLabel, group.LowerLabel,
                                                      group.Auto, group.Column, group.ColumnLabel})
        if (w)
            w->setVisible(visible);
    if (Cursor->isChecked())
        m_cursor->ShowCurrentOfAxis(axis, visible);
}
