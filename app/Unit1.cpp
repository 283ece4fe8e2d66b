// SPDX-License-Identifier: MIT
// Construction of the main window, the controls seen as PlotControls, the
// handler guard and the window's own events.
#include "Unit1.h"

#include "DevicePicture.h"
#include "FollowWatch.h"
#include "HelpViewer.h"
#include "LargeViewWindow.h"
#include "PlotCursor.h"
#include "PlotView.h"
#include "Prefetcher.h"
#include "QtTextRenderer.h"
#include "SettingsLocation.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QWheelEvent>

#include <filesystem>
#include <system_error>

namespace {

// The window's background: the active-border colour of the classic desktop.
// The graticule is drawn in it too, so it must stand out against white.
const QColor kActiveBorder(180, 180, 180);

// Wheel rotation of one notch of a standard wheel, in eighths of a degree.
constexpr int kWheelNotch = 120;

}   // namespace

TForm1::TForm1(const std::string& commandLineFile, Dialogs modals, QWidget* parent,
               const std::string& settingsDirectory)
    : QWidget(parent),
      Modals(std::move(modals)),
      m_textRenderer(std::make_unique<QtTextRenderer>()),
      m_openDialogFilter(QString::fromUtf8(kBuiltInFileDialogFilter)),
      m_settingsDirectory(ProgramSettingsDirectory(settingsDirectory))
{
    State.Controls = this;
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Tracely"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setFixedSize(kClientWidth, kClientHeight);
    move(421, 239);

    QPalette colours = palette();
    colours.setColor(QPalette::Window, kActiveBorder);
    setPalette(colours);
    setFont(UserInterfaceFont());
    m_canvas = std::make_unique<RasterCanvas>(PixelBuffer{}, m_textRenderer.get());
    MakePicture(ScreenRatio());
    // The platform colours the painter asks for (the graticule's clActiveBorder) are the window's background.
    m_canvas->SystemColor = [this](TColor) { return palette().color(QPalette::Window).rgb(); };

    CreateControls();
    m_cursor = std::make_unique<PlotCursor>(
        State, *m_canvas, m_readouts, [this](const QRect& area) { ShowPictureArea(area); }, [this] { PaintGraph(); });
    ConnectHandlers();

    // The construction steps, in their documented order; the axis control
    // groups were filled by CreateControls.
    Guarded([&] { ReadGlobalSettingsFile(); });
    // One trace shown, an empty history.
    NumofTraces->setText(QStringLiteral("1"));
    State.TracesShown = 1;
    for (TraceSlot& slot : State.Traces)
        slot.Table.reset();
    // Files dropped from a file manager (the drop events take them).
    setAcceptDrops(true);
    HideDataControls();
    // Before any file is opened, the browsed directory is the one the
    // program was started in.
    m_navigator.StartIn(WorkingDirectory());
    OpenCommandLineFile(commandLineFile);
    if (!State.Traces[0].Loaded())
        Guarded([&] { PaintGraph(); });
}

TForm1::~TForm1()
{
    // The view draws this window's state; it must not outlive it, not even
    // until the next turn of the event loop.
    delete m_largeView;
    State.Controls = nullptr;
}

void TForm1::OpenCommandLineFiles(const std::vector<std::string>& names)
{
    Guarded([&] { OpenNamesTogether(names, WorkingDirectory()); });
}

void TForm1::OpenCommandLineFile(const std::string& name)
{
    Guarded([&] {
        const Resolved resolved = ResolveDataFileName(name);
        if (!resolved.Found)
            return;   // not found at start-up: no message, the no-data layout stays
        if (!EnterAndLoad(resolved.Name, KeepWhatOpeningChanges()))
            return;
        PaintGraph();
        ShowDataControls();
    });
}

void TForm1::ConnectHandlers()
{
    ConnectCommandKeys();
    connect(MaskEdit1, &QLineEdit::returnPressed, this, [this] { Guarded([this] { NewFileINput(); }); });
    connect(SpeedButton1, &QToolButton::clicked, this, [this] { Guarded([this] { FIleNameInput(); }); });
    connect(SaveSettings, &QToolButton::clicked, this, [this] { Guarded([this] { SaveIniFile(); }); });
    connect(SpeedButton2, &QToolButton::clicked, this, [this] { Guarded([this] { ShowForm2(); }); });
    connect(SpeedButton3, &QToolButton::clicked, this, [this] { Guarded([this] { ShowHelp(); }); });
    connect(NumofTraces, &QLineEdit::textChanged, this, [this] { Guarded([this] { NumofTracesChange(); }); });
    connect(m_ysButtons, &QButtonGroup::idClicked, this, [this] { Guarded([this] { ChangeYs(); }); });
    connect(PrevFile, &QPushButton::clicked, this, [this] { Guarded([this] { PrevInDir(); }); });
    connect(ReDraw, &QPushButton::clicked, this, [this] { Guarded([this] { ReDrawInDir(); }); });
    connect(NextFile, &QPushButton::clicked, this, [this] { Guarded([this] { NextInDir(); }); });
    // Like a click, a change made by code (the settings loader) runs these too.
    connect(TopMostToggle, &QCheckBox::toggled, this, [this] { Guarded([this] { SetTopmost(); }); });
    connect(Cursor, &QCheckBox::toggled, this, [this] { Guarded([this] { CursorClick(); }); });
    for (const AxisControlGroup& group : AxisControls) {
        for (const bool upper : {true, false}) {
            QLineEdit* edit = upper ? group.Upper : group.Lower;
            const LimitTarget target{static_cast<int>(&group - AxisControls.data()), upper};
            connect(edit, &QLineEdit::returnPressed, this,
                    [this, target, edit] { Guarded([this, target, edit] { ChangeAxes(target, edit); }); });
        }
        connect(group.Column, &QLineEdit::textChanged, this, [this] { Guarded([this] { ChangeColn(); }); });
    }
}

bool TForm1::Guarded(const std::function<void()>& body)
{
    try {
        body();
        return true;
    } catch (const std::exception& error) {
        ShowHandlerError(Modals, this, error);
        return false;
    }
}

// --- PlotControls ---

bool TForm1::AxisAuto(int axis) const
{
    return AxisControls.at(axis).Auto->isChecked();
}

int TForm1::YsItemIndex() const
{
    return m_ysButtons->checkedId();
}

void TForm1::SetYsItemIndex(int item)
{
    if (item < 0) {
        // An exclusive group never lets its last button go.
        m_ysButtons->setExclusive(false);
        for (QRadioButton* button : RadioGroup1Items)
            button->setChecked(false);
        m_ysButtons->setExclusive(true);
    } else {
        RadioGroup1Items[static_cast<std::size_t>(std::min(item, 2))]->setChecked(true);
    }
    ChangeYs();
}

bool TForm1::LinkageYs() const
{
    return LinkageYsBox->isChecked();
}

bool TForm1::DispName() const
{
    return DispNameToggle->isChecked();
}

bool TForm1::CursorOn() const
{
    return Cursor->isChecked();
}

// --- Window events ---

void TForm1::paintEvent(QPaintEvent* event)
{
    FollowDeviceRatio();
    QPainter painter(this);
    DrawPictureArea(painter, m_picture, event->rect(), QPoint());
}

void TForm1::ShowPictureArea(const QRect& area)
{
    update(area);
    m_plotView->update(area.translated(-m_plotView->pos()));
}

void TForm1::closeEvent(QCloseEvent* event)
{
    emit Closing();
    Guarded([this] { Closure(); });
    event->accept();
}

void TForm1::wheelEvent(QWheelEvent* event)
{
    WheelTurned(event->angleDelta().y());
    event->accept();
}

void TForm1::WheelTurned(int angleDelta)
{
    m_wheelRemainder += angleDelta;
    const int steps = m_wheelRemainder / kWheelNotch;   // toward zero, right for both signs
    m_wheelRemainder -= steps * kWheelNotch;
    // Turning away from the user (positive) goes back, toward the user forward.
    // A cancelled load ends the turn: its other notches would only load more.
    m_loadCancelled = false;
    for (int i = 0; i < steps && !m_loadCancelled; ++i)
        Guarded([this] { PrevByWheel(); });
    for (int i = 0; i > steps && !m_loadCancelled; --i)
        Guarded([this] { NextByWheel(); });
}
