// SPDX-License-Identifier: MIT
#include "StandardIcons.h"

#include "FileSizesIconEngine.h"

#include <QApplication>
#include <QFile>

#include <array>
#include <utility>
#include <vector>

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

// The toolkit's own style draws these from image files of three sizes in its
// resources, read only as a size is shown.
struct StyleFiles {
    QStyle::StandardPixmap Which;
    const char* Stem;
};
constexpr std::array kStyleFiles{StyleFiles{QStyle::SP_DialogOpenButton, "standardbutton-open"},
                                 StyleFiles{QStyle::SP_DialogSaveButton, "standardbutton-save"},
                                 StyleFiles{QStyle::SP_FileDialogDetailedView, "viewdetailed"},
                                 StyleFiles{QStyle::SP_ArrowLeft, "left"}, StyleFiles{QStyle::SP_ArrowRight, "right"}};
constexpr std::array kStyleFileEdges{16, 32, 128};

// The icon the style would make, its files read as sizes are shown; a null
// icon where the style would not draw it from those files: another style, an
// icon theme (which takes the place of the files) or files no longer where
// they were.
QIcon FromStyleFiles(const QStyle* style, QStyle::StandardPixmap which)
{
    if (style->name().compare(QLatin1String("fusion"), Qt::CaseInsensitive) != 0 || !QIcon::themeName().isEmpty())
        return {};
    for (const StyleFiles& icon : kStyleFiles) {
        if (icon.Which != which)
            continue;
        std::vector<FileSizesIconEngine::File> files;
        for (const int edge : kStyleFileEdges) {
            const QString path = QStringLiteral(":/qt-project.org/styles/commonstyle/images/%1-%2.png")
                                     .arg(QLatin1String(icon.Stem))
                                     .arg(edge);
            if (!QFile::exists(path))
                return {};
            files.push_back({path, edge});
        }
        return QIcon(new FileSizesIconEngine(std::move(files)));
    }
    return {};
}

}   // namespace

StandardIconsAhead::StandardIconsAhead()
{
    auto* ahead = new IconsAhead;
    ahead->Style = QApplication::style();
    for (std::size_t k = 0; k < kButtonIcons.size(); ++k) {
        ahead->Icons[k] = FromStyleFiles(ahead->Style, kButtonIcons[k]);
        if (ahead->Icons[k].isNull())
            ahead->Icons[k] = ahead->Style->standardIcon(kButtonIcons[k]);
        // The size the buttons show is read now rather than at their first
        // paint, when nothing else could be done meanwhile.
        ahead->Icons[k].pixmap(QSize(kButtonIconEdge, kButtonIconEdge), qApp->devicePixelRatio());
    }
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
