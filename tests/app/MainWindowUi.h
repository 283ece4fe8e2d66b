// SPDX-License-Identifier: MIT
// The main window's controls as a user (or an accessibility tool) finds them:
// by their object names. Tests type into them and click them; nothing reaches
// past them into the window.
#pragma once

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

#include "Unit1.h"

#include <array>
#include <cstddef>

struct MainWindowUi {
    explicit MainWindowUi(const TForm1& form);

    QLabel* Label1;
    QLineEdit* MaskEdit1;
    QToolButton* SpeedButton1;
    QToolButton* SaveSettings;
    QToolButton* SpeedButton2;
    QToolButton* SpeedButton3;
    QLabel* Label12;
    QLineEdit* NumofTraces;
    QLabel* Label13;
    QGroupBox* RadioGroup1;
    QPushButton* PrevFile;
    QPushButton* ReDraw;
    QPushButton* NextFile;
    QCheckBox* TopMostToggle;
    QCheckBox* DispNameToggle;
    QCheckBox* Cursor;
    QLineEdit* Y1_upper;
    QLineEdit* Y2_upper;
    QLineEdit* Y3_upper;
    QLabel* L_Y1_upper;
    QLabel* L_Y2_upper;
    QLabel* L_Y3_upper;
    QCheckBox* LinkageYsBox;
    QCheckBox* Y1_auto;
    QCheckBox* Y2_auto;
    QCheckBox* Y3_auto;
    QLineEdit* Y1_lower;
    QLineEdit* Y2_lower;
    QLineEdit* Y3_lower;
    QLabel* L_Y1_lower;
    QLabel* L_Y2_lower;
    QLabel* L_Y3_lower;
    QLineEdit* X0_lower;
    QCheckBox* X0_auto;
    QLineEdit* X0_upper;
    QLineEdit* X0column;
    QLineEdit* Y1column;
    QLineEdit* Y2column;
    QLineEdit* Y3column;
    QLabel* L_X0column;
    QLabel* L_Y1column;
    QLabel* L_Y2column;
    QLabel* L_Y3column;
    QLineEdit* CurrentX;
    QLineEdit* CurrentY1;
    QLineEdit* CurrentY2;
    QLineEdit* CurrentY3;
    QLineEdit* DeltaX;
    QLineEdit* DeltaY1;
    QLineEdit* DeltaY2;
    QLineEdit* DeltaY3;
    QLabel* L_CurrentY1;
    QLabel* L_CurrentX;
    QLabel* L_DeltaY1;
    QLabel* L_DeltaX;
    std::array<QRadioButton*, 3> RadioGroup1Items;

    std::array<AxisControlGroup, kAxisCount> AxisControls;
};

// The controls of form, found afresh (a test may hold them across events).
inline MainWindowUi Ui(const TForm1& form)
{
    return MainWindowUi(form);
}
