// SPDX-License-Identifier: MIT
// The options dialog TForm2 ("オプション設定"): the 16 trace colours, the
// AutoDet and single-instance options, the wheel sensitivity, the open
// dialog's filters, and the file-type association tool.
//
// It is made for one opening and works on the caller's PlotState: a colour
// picked from the table is stored at once, everything else when the dialog
// closes (StoreOptions), whichever way it is closed ("戻る", the close box, Esc).
// StoreOptions refuses to close while the wheel field holds no integer, so the
// user can correct it. When the option file cannot be written the error is
// shown and the dialog stays open once, so the user can make the file
// writable and close again; a second failure in a row lets the dialog close
// with the values kept in memory only.
#pragma once

#include "AssociationManager.h"
#include "Canvas.h"
#include "ColorTable.h"
#include "Dialogs.h"
#include "FilterGrid.h"
#include "PlotState.h"
#include "QtTextRenderer.h"

#include <QDialog>
#include <QImage>

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

class TForm2 : public QDialog {
    Q_OBJECT

public:
    static constexpr int kClientWidth = 334;
    static constexpr int kClientHeight = 356;

    // Makes the association tool on the first press of "Go!" or "全てリセット".
    using AssociationFactory =
        std::function<AssociationManager(const Dialogs& dialogs, QWidget* parent, const std::string& optionFilePath)>;

    // optionFilePath is the program's option file; dialogs answers every
    // modal window the dialog opens (message boxes, the colour chooser).
    TForm2(PlotState& state, Dialogs dialogs, std::string optionFilePath, QWidget* parent = nullptr,
           AssociationFactory associations = AssociationManager::ForThisProgram);
    ~TForm2() override;

    // Controls, named as the program names them.
    QLabel* StaticText1 = nullptr;
    QLabel* Label1 = nullptr;
    QCheckBox* Y_AutoDetermine = nullptr;
    QCheckBox* ChkNoMulExec = nullptr;
    QLineEdit* MouseSens = nullptr;
    QLabel* StaticText2 = nullptr;
    QLabel* StaticText3 = nullptr;
    QLineEdit* Kakucho = nullptr;
    QPushButton* Go = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QGroupBox* KanrenCases = nullptr;
    std::array<QRadioButton*, 3> KanrenCasesItems{};
    QPushButton* KanrenReset = nullptr;
    QPushButton* Button1 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label5 = nullptr;
    FilterGrid* Filters = nullptr;

    // Swatch whose colour chooser is open; kNoSwatch for none.
    int EditedSwatch = kNoSwatch;

    // --- Handlers ---
    void ReDrawColorTable();
    // x, y in client pixels; any mouse button.
    void ChangePenColor(int x, int y);
    void ChangeWheelUnit();
    // Stores everything back; false when the dialog has to stay open.
    bool StoreOptions();
    void ChangeKanren();
    void RestoreAll();
    void ReturnToMain();

    // Selected item of KanrenCases, -1 when none.
    int KanrenCasesIndex() const;

    // The colour table as last drawn, in client pixels from (0, 0).
    const QImage& ColorTablePicture() const { return m_table; }

    // Every way of closing ends here; it closes only when StoreOptions agrees.
    void done(int result) override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void CreateControls();
    void PlaceControls();
    void SetTabOrder();
    void ConnectHandlers();
    void ReadOptionFile();
    void RenderColorTable();
    AssociationManager& Associations();

    PlotState& m_state;
    Dialogs m_dialogs;
    std::string m_optionFilePath;
    AssociationFactory m_makeAssociations;
    std::optional<AssociationManager> m_associations;
    QButtonGroup* m_kanrenButtons = nullptr;

    QImage m_table;
    QtTextRenderer m_textRenderer{true};
    std::unique_ptr<RasterCanvas> m_canvas;
    bool m_lastWriteFailed = false;
};
