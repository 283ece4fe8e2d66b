// SPDX-License-Identifier: MIT
// When a window that follows another may repaint: at most once per displayed
// frame, and after a slow picture only once eight times its cost has passed,
// so that drawing it never takes more than a ninth of the time and never
// holds up the window it follows. Requests in between fold into one repaint,
// which always comes: the last state is never left unshown.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <functional>

class RepaintPacer : public QObject {
public:
    RepaintPacer(std::function<void()> repaint, QObject* parent);

    // The picture is stale; repaint once the pace allows. repaint is run
    // from the event loop and must paint at once (QWidget::repaint).
    void Request();
    // A picture was made; it took tookNs. Repaints run by the pacer are
    // counted by it; others may be told.
    void Painted(qint64 tookNs);

    void SetFrameInterval(qint64 ns) { m_frameNs = ns; }

private:
    std::function<void()> m_repaint;
    QTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_frameNs = 16'666'667;   // 60 frames a second
    qint64 m_earliestNs = 0;         // on m_clock
};
