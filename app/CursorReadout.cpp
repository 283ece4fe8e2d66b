// SPDX-License-Identifier: MIT
// The window's handlers of the cursor cross, the red cursor and the Cursor
// box; the work is the PlotCursor's.
#include "PlotCursor.h"
#include "Unit1.h"

#include <QCheckBox>

void TForm1::DisplayXY(int x, int y)
{
    m_cursor->Move(x, y, Cursor->isChecked());
}

void TForm1::SetRedCursor(int x, int y)
{
    m_cursor->SetRed(x, y, Cursor->isChecked());
}

void TForm1::CursorClick()
{
    m_cursor->Switch(Cursor->isChecked());
}

void TForm1::HideDeltaReadouts()
{
    m_cursor->HideDifferences();
}

void TForm1::PlotMouseLeft()
{
    // The cross stays where the mouse left the plot, like the read-outs, so
    // it still marks the place whose values they show. Nothing is drawn here,
    // so the next move inside erases the cross exactly where it stands.
}
