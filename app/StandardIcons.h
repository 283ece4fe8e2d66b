// SPDX-License-Identifier: MIT
// The standard icons of the main window's buttons, made before the window,
// while the start-up waits for the font configuration to be read on its own
// thread. Without an icon theme the toolkit's style reads every size of an
// icon as it is made; those of its files are read here a size at a time, as
// the sizes are shown.
#pragma once

#include <QIcon>
#include <QStyle>

// The buttons show their icons this many pixels a side; this size is read
// ahead.
inline constexpr int kButtonIconEdge = 16;

// While one of these lives, the application style's icons of the window's
// buttons are at hand for StandardIcon. Make it on the GUI thread once the
// application object exists.
class StandardIconsAhead {
public:
    StandardIconsAhead();
    ~StandardIconsAhead();
    StandardIconsAhead(const StandardIconsAhead&) = delete;
    StandardIconsAhead& operator=(const StandardIconsAhead&) = delete;
};

// style->standardIcon(which): the one made ahead when there is one of that
// style, otherwise made now.
QIcon StandardIcon(const QStyle* style, QStyle::StandardPixmap which);
