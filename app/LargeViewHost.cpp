// SPDX-License-Identifier: MIT
// The main window's side of the large view: opening it (context menu outside
// the plot, Ctrl+L, --view), keeping it up to date, and remembering whether it
// was open and where, in a section of the global settings file of its own.
#include "Unit1.h"

#include "AxisRanges.h"
#include "LargeViewWindow.h"
#include "SettingsKeys.h"

#include <QCheckBox>

namespace {

constexpr int kNoPosition = -32768;

}   // namespace

void TForm1::ShowLargeView()
{
    if (!m_largeView) {
        // Top-level: closing it changes nothing in the main window.
        m_largeView = new LargeViewWindow(State, nullptr);
        m_largeView->setAttribute(Qt::WA_QuitOnClose, false);
        m_largeView->ApplyLimits = [this](const ViewLimits& limits) {
            Guarded([this, &limits] { ApplyViewLimits(limits); });
        };
        // The plain wheel over the view steps files as it does over this window.
        m_largeView->WheelSteps = [this](int angleDelta) { WheelTurned(angleDelta); };
        m_largeView->SetFollowing(Following());
        if (m_largeViewGeometry.isValid())
            m_largeView->setGeometry(m_largeViewGeometry);
        else
            m_largeView->resize(960, 600);
    }
    m_largeView->show();
    m_largeView->raise();
    m_largeView->activateWindow();
    m_largeView->Refresh();
}

void TForm1::ApplyViewLimits(const ViewLimits& limits)
{
    auto set = [this](int axis, const ViewAxisLimits& range) {
        State.Axes[static_cast<std::size_t>(axis)] = {NarrowToFloat(range.Upper), NarrowToFloat(range.Lower)};
        AxisControls[static_cast<std::size_t>(axis)].Auto->setChecked(false);
    };
    set(0, limits.Axes[0]);
    const int numYs = ShownYs(State);
    const bool linked = numYs > 0 && LinkageYs();
    for (int k = 1; k <= (linked ? 3 : numYs); ++k)
        set(k, limits.Axes[static_cast<std::size_t>(linked ? 1 : k)]);
    PaintGraph();
}

void TForm1::ReadLargeViewSettings(const ProfileFile& ini)
{
    m_largeViewKnown = !ini.ReadSectionKeys(kLargeViewSection).empty();
    m_largeViewWasOpen = ini.ReadBool(kLargeViewSection, kLargeViewOpenKey, false);
    const int left = ini.ReadInteger(kLargeViewSection, kLeftKey, kNoPosition);
    const int top = ini.ReadInteger(kLargeViewSection, kTopKey, kNoPosition);
    const int width = ini.ReadInteger(kLargeViewSection, kLargeViewWidthKey, 0);
    const int height = ini.ReadInteger(kLargeViewSection, kLargeViewHeightKey, 0);
    // A size no screen could show is not taken.
    if (left != kNoPosition && top != kNoPosition && width >= 100 && height >= 100 && width <= 16384 && height <= 16384)
        m_largeViewGeometry = QRect(left, top, width, height);
}

// Written only once the view has been used, so a settings file of someone
// who never opened it keeps exactly its old layout.
void TForm1::WriteLargeViewSettings(ProfileFile& ini) const
{
    if (!m_largeView && !m_largeViewKnown)
        return;
    const QRect place = m_largeView ? m_largeView->geometry() : m_largeViewGeometry;
    const bool open = m_largeView ? m_largeView->isVisible() : m_largeViewWasOpen;
    ini.WriteBool(kLargeViewSection, kLargeViewOpenKey, open);
    if (place.isValid()) {
        ini.WriteInteger(kLargeViewSection, kLeftKey, place.x());
        ini.WriteInteger(kLargeViewSection, kTopKey, place.y());
        ini.WriteInteger(kLargeViewSection, kLargeViewWidthKey, place.width());
        ini.WriteInteger(kLargeViewSection, kLargeViewHeightKey, place.height());
    }
}
