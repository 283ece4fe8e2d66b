// SPDX-License-Identifier: MIT
#include "RepaintPacer.h"

#include <algorithm>

namespace {
// Idle time after a picture, in multiples of what it cost.
constexpr qint64 kIdlePerPaint = 8;
}   // namespace

RepaintPacer::RepaintPacer(std::function<void()> repaint, QObject* parent)
    : QObject(parent), m_repaint(std::move(repaint))
{
    m_clock.start();
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    // The repaint is timed whole, the copy to the screen included.
    connect(&m_timer, &QTimer::timeout, this, [this] {
        QElapsedTimer took;
        took.start();
        m_repaint();
        Painted(took.nsecsElapsed());
    });
}

void RepaintPacer::Request()
{
    if (m_timer.isActive())
        return;
    const qint64 waitNs = std::max<qint64>(0, m_earliestNs - m_clock.nsecsElapsed());
    m_timer.start(static_cast<int>((waitNs + 999'999) / 1'000'000));
}

void RepaintPacer::Painted(qint64 tookNs)
{
    m_earliestNs = m_clock.nsecsElapsed() + std::max(m_frameNs, kIdlePerPaint * tookNs);
}
