// SPDX-License-Identifier: MIT
#include "StandardIcons.h"

#include <QApplication>

#include <array>
#include <utility>

namespace {

// The buttons' icons: file, settings, options and help, Prev. and Next.
constexpr std::array kButtonIcons{
    QStyle::SP_DialogOpenButton,   QStyle::SP_DialogSaveButton, QStyle::SP_FileDialogDetailedView,
    QStyle::SP_MessageBoxQuestion, QStyle::SP_ArrowLeft,        QStyle::SP_ArrowRight};

struct IconsAhead {
    const QStyle* Style = nullptr;
    std::array<QIcon, kButtonIcons.size()> Icons;
};

IconsAhead* g_ahead = nullptr;

}   // namespace

StandardIconsAhead::StandardIconsAhead()
{
    auto* ahead = new IconsAhead;
    ahead->Style = QApplication::style();
    for (std::size_t k = 0; k < kButtonIcons.size(); ++k)
        ahead->Icons[k] = ahead->Style->standardIcon(kButtonIcons[k]);
    delete std::exchange(g_ahead, ahead);
}

StandardIconsAhead::~StandardIconsAhead()
{
    delete std::exchange(g_ahead, nullptr);
}

QIcon StandardIcon(const QStyle* style, QStyle::StandardPixmap which)
{
    if (g_ahead && g_ahead->Style == style)
        for (std::size_t k = 0; k < kButtonIcons.size(); ++k)
            if (kButtonIcons[k] == which)
                return g_ahead->Icons[k];
    return style->standardIcon(which);
}
