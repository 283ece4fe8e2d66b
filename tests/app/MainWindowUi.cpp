// SPDX-License-Identifier: MIT
#include "MainWindowUi.h"

#include "Unit1.h"

#include <stdexcept>
#include <string>

namespace {

// A control the window no longer has is a broken test set-up, not a failure
// to report per assertion.
template <typename Widget> Widget* Named(const TForm1& form, const char* name)
{
    auto* widget = form.findChild<Widget*>(QString::fromLatin1(name));
    if (widget == nullptr)
        throw std::logic_error(std::string("the main window has no control named ") + name);
    return widget;
}

}   // namespace

MainWindowUi::MainWindowUi(const TForm1& form)
    : Label1(Named<QLabel>(form, "Label1")),
      MaskEdit1(Named<QLineEdit>(form, "MaskEdit1")),
      SpeedButton1(Named<QToolButton>(form, "SpeedButton1")),
      SaveSettings(Named<QToolButton>(form, "SaveSettings")),
      SpeedButton2(Named<QToolButton>(form, "SpeedButton2")),
      SpeedButton3(Named<QToolButton>(form, "SpeedButton3")),
      Label12(Named<QLabel>(form, "Label12")),
      NumofTraces(Named<QLineEdit>(form, "NumofTraces")),
      Label13(Named<QLabel>(form, "Label13")),
      RadioGroup1(Named<QGroupBox>(form, "RadioGroup1")),
      PrevFile(Named<QPushButton>(form, "PrevFile")),
      ReDraw(Named<QPushButton>(form, "ReDraw")),
      NextFile(Named<QPushButton>(form, "NextFile")),
      TopMostToggle(Named<QCheckBox>(form, "TopMostToggle")),
      DispNameToggle(Named<QCheckBox>(form, "DispNameToggle")),
      Cursor(Named<QCheckBox>(form, "Cursor")),
      Y1_upper(Named<QLineEdit>(form, "Y1_upper")),
      Y2_upper(Named<QLineEdit>(form, "Y2_upper")),
      Y3_upper(Named<QLineEdit>(form, "Y3_upper")),
      L_Y1_upper(Named<QLabel>(form, "L_Y1_upper")),
      L_Y2_upper(Named<QLabel>(form, "L_Y2_upper")),
      L_Y3_upper(Named<QLabel>(form, "L_Y3_upper")),
      LinkageYsBox(Named<QCheckBox>(form, "LinkageYs")),
      Y1_auto(Named<QCheckBox>(form, "Y1_auto")),
      Y2_auto(Named<QCheckBox>(form, "Y2_auto")),
      Y3_auto(Named<QCheckBox>(form, "Y3_auto")),
      Y1_lower(Named<QLineEdit>(form, "Y1_lower")),
      Y2_lower(Named<QLineEdit>(form, "Y2_lower")),
      Y3_lower(Named<QLineEdit>(form, "Y3_lower")),
      L_Y1_lower(Named<QLabel>(form, "L_Y1_lower")),
      L_Y2_lower(Named<QLabel>(form, "L_Y2_lower")),
      L_Y3_lower(Named<QLabel>(form, "L_Y3_lower")),
      X0_lower(Named<QLineEdit>(form, "X0_lower")),
      X0_auto(Named<QCheckBox>(form, "X0_auto")),
      X0_upper(Named<QLineEdit>(form, "X0_upper")),
      X0column(Named<QLineEdit>(form, "X0column")),
      Y1column(Named<QLineEdit>(form, "Y1column")),
      Y2column(Named<QLineEdit>(form, "Y2column")),
      Y3column(Named<QLineEdit>(form, "Y3column")),
      L_X0column(Named<QLabel>(form, "L_X0column")),
      L_Y1column(Named<QLabel>(form, "L_Y1column")),
      L_Y2column(Named<QLabel>(form, "L_Y2column")),
      L_Y3column(Named<QLabel>(form, "L_Y3column")),
      CurrentX(Named<QLineEdit>(form, "CurrentX")),
      CurrentY1(Named<QLineEdit>(form, "CurrentY1")),
      CurrentY2(Named<QLineEdit>(form, "CurrentY2")),
      CurrentY3(Named<QLineEdit>(form, "CurrentY3")),
      DeltaX(Named<QLineEdit>(form, "DeltaX")),
      DeltaY1(Named<QLineEdit>(form, "DeltaY1")),
      DeltaY2(Named<QLineEdit>(form, "DeltaY2")),
      DeltaY3(Named<QLineEdit>(form, "DeltaY3")),
      L_CurrentY1(Named<QLabel>(form, "L_CurrentY1")),
      L_CurrentX(Named<QLabel>(form, "L_CurrentX")),
      L_DeltaY1(Named<QLabel>(form, "L_DeltaY1")),
      L_DeltaX(Named<QLabel>(form, "L_DeltaX")),
      RadioGroup1Items{Named<QRadioButton>(form, "RadioGroup1_0"), Named<QRadioButton>(form, "RadioGroup1_1"),
                       Named<QRadioButton>(form, "RadioGroup1_2")},
      AxisControls{{{X0_upper, X0_lower, X0column, X0_auto, nullptr, nullptr, L_X0column},
                    {Y1_upper, Y1_lower, Y1column, Y1_auto, L_Y1_upper, L_Y1_lower, L_Y1column},
                    {Y2_upper, Y2_lower, Y2column, Y2_auto, L_Y2_upper, L_Y2_lower, L_Y2column},
                    {Y3_upper, Y3_lower, Y3column, Y3_auto, L_Y3_upper, L_Y3_lower, L_Y3column}}}
{
}
