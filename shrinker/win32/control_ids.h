// Identifiers of the main window's controls (also used by the tests).
#pragma once

namespace vantilo {

enum ControlId : int {
  kBitBtn2 = 101,  // "Help"
  kBitBtn1,        // "Exit"
  kLabel7,
  kRadioGroup1 = 110,
  kRadioGroup1Item0,  // items 0..7 follow
  kEditPxX = 120,
  kEditPxY,
  kLabel4,
  kRadioButton3 = 130,
  kComboBox1,
  kEdit4,
  kLabel5,
  kRadioButton4,
  kLabel6,
  kEdit5,
  kGroupBox1 = 140,
  kCheckBox1,
  kTrackBar1,
  kCheckBox2,
  kCheckBox3,
  kCheckBox4,
  kCheckHtml,
  kRadioButton1,
  kEdit2,
  kRadioButton2,
  kEdit3,
  kImage1 = 160,
  kLabel2,
  kLabel3,
  kProgressBar1,
};

constexpr char kMainWindowClass[] = "TForm1";

}  // namespace vantilo
