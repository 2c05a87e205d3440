// Windows described as data: what a toolkit backend needs to build a real window, and the
// design values every portable control starts from each time its window is loaded.
#pragma once

#include <string>
#include <vector>

namespace folvane {

enum class ControlKind {
  Frame,
  Label,
  TextBox,
  Button,
  ListBox,
  CheckBox,
  UpDown,
  Shape,
  Image,
  Line,
  Timer
};

enum class Align { Left, Right, Center };

// Boxes are in twips (1/1440 inch), relative to the container: the client area or a frame.
struct ControlLayout {
  std::string name;  // the form's own control name, e.g. "txtPassword1", "lblLabels(0)"
  ControlKind kind = ControlKind::Label;
  std::string text;  // caption or initial text (UTF-8)
  int left = 0, top = 0, width = 0, height = 0;
  int tabIndex = -1;      // -1: takes no place in the tab order
  std::string parent;     // name of the frame it sits in, empty for the client area
  double fontPoints = 9;  // "MS UI Gothic", regular, Shift-JIS charset
  Align align = Align::Left;
  bool autoSize = false;  // label sized to its text
  bool wordWrap = false;
  bool password = false;             // text box shows '*'
  bool readOnly = false;             // text box: only the program writes it; the user can copy
  bool isDefault = false;            // pressed by Enter
  bool isCancel = false;             // pressed by Esc
  unsigned foreColor = 0xFFFFFFFFu;  // 0x00BBGGRR; 0xFFFFFFFF: the system colour
  unsigned backColor = 0xFFFFFFFFu;
  int timerInterval = 0;  // Timer: milliseconds
  bool timerEnabled = false;
  std::string buddy;  // UpDown: the text box it steps
  int minValue = 0, maxValue = 0, step = 1;
  int x2 = 0, y2 = 0;             // Line: end point (left/top is the start point)
  bool systemDarkShadow = false;  // Line colours: 3-D dark shadow or 3-D highlight
};

struct MenuLayout {
  std::string name;     // e.g. "mnuFileExit"
  std::string caption;  // "-" is a separator
  std::vector<MenuLayout> items;
};

enum class FormBorder { FixedSingle, FixedDialog };

struct FormLayout {
  std::string name;  // "frmScan", "frmLogin", "frmSet", "frmSplash"
  std::string caption;
  int clientWidth = 0, clientHeight = 0;  // twips
  FormBorder border = FormBorder::FixedSingle;
  bool titleBar = true;  // false: no caption and no control box
  bool closeBox = true;
  bool showInTaskbar = true;
  bool centerScreen = false;  // false: where the system places new windows
  bool mainIcon = false;      // true: the main window's own icon, else the application icon
  std::vector<ControlLayout> controls;
  std::vector<MenuLayout> menu;
};

}  // namespace folvane
