// SPDX-License-Identifier: MIT
#include "Unit2.h"

#include "Conversions.h"
#include "FormatText.h"
#include "OptionKeys.h"
#include "ProfileFile.h"
#include "QtTextRenderer.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFont>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPalette>

#include <algorithm>

namespace {

const QRect kTableArea(kTableLeft, kTableTop, kTableRight - kTableLeft, kTableBottom - kTableTop);

}   // namespace

TForm2::TForm2(PlotState& state, Dialogs dialogs, std::string optionFilePath, QWidget* parent,
               AssociationFactory associations)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      m_state(state),
      m_dialogs(std::move(dialogs)),
      m_optionFilePath(std::move(optionFilePath)),
      m_makeAssociations(std::move(associations)),
      m_table(kTableRight, kTableBottom, QImage::Format_RGB32)
{
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(tr("オプション設定"));
    setFont(UserInterfaceFont());
    setFixedSize(kClientWidth, kClientHeight);
    move(435, 150);

    m_table.fill(palette().color(QPalette::Window));
    PixelBuffer buffer{reinterpret_cast<std::uint32_t*>(m_table.bits()), m_table.width(), m_table.height(),
                       static_cast<int>(m_table.bytesPerLine() / 4)};
    m_canvas = std::make_unique<RasterCanvas>(buffer, &m_textRenderer);
    // A system colour from a hand-edited settings file is shown as the plot
    // shows it: in the window's background colour.
    m_canvas->SystemColor = [this](TColor) { return palette().color(QPalette::Window).rgb(); };

    CreateControls();
    PlaceControls();
    SetTabOrder();
    ConnectHandlers();

    ReadOptionFile();
    Filters->SetFilter(m_state.FileDialogFilter);
    EditedSwatch = kNoSwatch;
    // Runs ChangeWheelUnit, so a stored value outside 1..99 shows clamped.
    MouseSens->setText(QString::fromStdString(FormatText("%d", m_state.UnitWheel)));
    RenderColorTable();
}

TForm2::~TForm2() = default;

void TForm2::ReadOptionFile()
{
    const ProfileFile ini(m_optionFilePath);
    Y_AutoDetermine->setChecked(ini.ReadBool(kOptionSection, kAutoDetKey, kDefaultAutoDet));
    ChkNoMulExec->setChecked(ini.ReadBool(kOptionSection, kNoMulExecKey, kNoMulExecInDialog));
}

void TForm2::RenderColorTable()
{
    const QPalette colours = palette();
    SunkenEdgeColors edge;
    edge.Shadow = colours.color(QPalette::Dark).rgb();
    edge.Highlight = colours.color(QPalette::Light).rgb();
    edge.DarkShadow = colours.color(QPalette::Shadow).rgb();
    edge.Light = colours.color(QPalette::Midlight).rgb();
    DrawColorTable(*m_canvas, m_state.Colors, EditedSwatch, edge);
}

void TForm2::ReDrawColorTable()
{
    RenderColorTable();
    update(kTableArea);
}

void TForm2::paintEvent(QPaintEvent* event)
{
    QDialog::paintEvent(event);
    if (!event->rect().intersects(kTableArea))
        return;
    RenderColorTable();
    QPainter painter(this);
    painter.drawImage(kTableArea.topLeft(), m_table, kTableArea);
}

void TForm2::mousePressEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    ChangePenColor(at.x(), at.y());
    event->accept();
}

void TForm2::ChangePenColor(int x, int y)
{
    const int swatch = SwatchAt(x, y);
    if (swatch == kNoSwatch)
        return;
    EditedSwatch = swatch;
    ReDrawColorTable();

    struct EndEditing {
        TForm2& Form;
        ~EndEditing()
        {
            Form.EditedSwatch = kNoSwatch;
            Form.ReDrawColorTable();
        }
    } endEditing{*this};

    TColor& color = m_state.Colors[swatch];
    const std::optional<QColor> picked = m_dialogs.PickColor(this, QColorOf(m_canvas->PixelOf(color)));
    // Cancel keeps the value as it was, palette or system flag included.
    if (picked && picked->isValid())
        color = PlainColorOf(*picked);
}

void TForm2::ChangeWheelUnit()
{
    int n = 0;
    try {
        n = StrToInt(MouseSens->text().toStdString());
    } catch (const EConvertError& error) {
        // The text stays as typed so the user can go on editing it.
        ShowHandlerError(m_dialogs, this, error);
        return;
    }
    n = std::clamp(n, 1, 99);
    const QString text = QString::fromStdString(FormatText("%d", n));
    if (MouseSens->text() != text)
        MouseSens->setText(text);
}

bool TForm2::StoreOptions()
{
    try {
        m_state.UnitWheel = StrToInt(MouseSens->text().toStdString());
    } catch (const EConvertError& error) {
        ShowHandlerError(m_dialogs, this, error);
        MouseSens->setFocus();
        return false;
    }
    m_state.FileDialogFilter = Filters->Filter();

    const bool autoDet = Y_AutoDetermine->isChecked();
    try {
        ProfileFile ini(m_optionFilePath);
        ProfileFile::Batch batch(ini);
        ini.WriteString(kOptionSection, kFileDialogKey, "\"" + m_state.FileDialogFilter + "\"");
        ini.WriteInteger(kOptionSection, kUnitWheelKey, m_state.UnitWheel);
        ini.WriteBool(kOptionSection, kAutoDetKey, autoDet);
        ini.WriteBool(kOptionSection, kNoMulExecKey, ChkNoMulExec->isChecked());
        batch.Commit();
    } catch (const EIniFileException& error) {
        ShowHandlerError(m_dialogs, this, error);
        const bool leave = m_lastWriteFailed;
        m_lastWriteFailed = true;
        return leave;
    }
    m_lastWriteFailed = false;
    m_state.AutoDet = autoDet;
    return true;
}

void TForm2::done(int result)
{
    if (!StoreOptions())
        return;
    QDialog::done(result);
}

void TForm2::ReturnToMain()
{
    close();
}

int TForm2::KanrenCasesIndex() const
{
    return m_kanrenButtons->checkedId();
}

AssociationManager& TForm2::Associations()
{
    if (!m_associations)
        m_associations.emplace(m_makeAssociations(m_dialogs, this, m_optionFilePath));
    return *m_associations;
}

void TForm2::ChangeKanren()
{
    Associations().ChangeKanren(Kakucho->text(), KanrenCasesIndex());
}

void TForm2::RestoreAll()
{
    Associations().RestoreAll();
}
