// The four windows as data. Boxes are in twips, relative to the client area or to the frame named
// as parent; tab numbers are each window's focus order (frames count, but never take the focus).
#include "forms/forms.h"

#include "forms/captions.h"

namespace folvane {

namespace {

constexpr unsigned kRed = 0x000000FFu;  // 0x00BBGGRR

ControlLayout control(const char* name, ControlKind kind, const char* text, int left, int top,
                      int width, int height, int tabIndex, const char* parent = "") {
  ControlLayout layout;
  layout.name = name;
  layout.kind = kind;
  layout.text = text;
  layout.left = left;
  layout.top = top;
  layout.width = width;
  layout.height = height;
  layout.tabIndex = tabIndex;
  layout.parent = parent;
  return layout;
}

ControlLayout timer(const char* name, int interval) {
  ControlLayout layout;
  layout.name = name;
  layout.kind = ControlKind::Timer;
  layout.timerInterval = interval;
  layout.timerEnabled = true;
  return layout;
}

// A label that sizes itself to its text.
ControlLayout autoLabel(ControlLayout layout, Align align = Align::Left, double points = 9) {
  layout.autoSize = true;
  layout.align = align;
  layout.fontPoints = points;
  return layout;
}

ControlLayout passwordBox(const char* name, int left, int top, int width, int height, int tab) {
  ControlLayout layout = control(name, ControlKind::TextBox, "", left, top, width, height, tab);
  layout.password = true;
  return layout;
}

// The program writes it; the user can select and copy, never type into it.
ControlLayout readOnlyBox(ControlLayout layout) {
  layout.readOnly = true;
  return layout;
}

ControlLayout defaultButton(ControlLayout layout) {
  layout.isDefault = true;
  return layout;
}

ControlLayout cancelButton(ControlLayout layout) {
  layout.isCancel = true;
  return layout;
}

ControlLayout line(const char* name, int x1, int y1, int x2, int y2, bool darkShadow) {
  ControlLayout layout;
  layout.name = name;
  layout.kind = ControlKind::Line;
  layout.left = x1;
  layout.top = y1;
  layout.x2 = x2;
  layout.y2 = y2;
  layout.systemDarkShadow = darkShadow;
  return layout;
}

FormLayout makeScan() {
  FormLayout form;
  form.name = "frmScan";
  form.caption = kMainCaption;
  form.clientWidth = 4680;
  form.clientHeight = 3450;
  form.border = FormBorder::FixedSingle;
  form.showInTaskbar = true;
  form.centerScreen = false;
  form.mainIcon = true;

  using K = ControlKind;
  ControlLayout shape = control("Shape1", K::Shape, "", 120, 2880, 495, 495, -1);
  shape.backColor = kRed;  // the lamp: red while the watch is off
  form.controls = {
      control("Frame1", K::Frame, "パスワード登録一覧", 120, 0, 4455, 1695, 3),
      control("List1", K::ListBox, "", 120, 240, 4215, 1140, 7, "Frame1"),
      autoLabel(control("Label1", K::Label, "Label1", 3840, 1440, 495, 180, 8, "Frame1"),
                Align::Right),
      control("Frame2", K::Frame, "現在のアクティブフォーム", 120, 1800, 4455, 975, 4),
      readOnlyBox(control("Text", K::TextBox, "Text1", 120, 240, 4215, 270, 5, "Frame2")),
      control("Button4", K::Button, "パスワード追加(&P)", 120, 600, 4215, 300, 6, "Frame2"),
      control("Button1", K::Button, "終了", 720, 2880, 1215, 495, 0),
      control("Button2", K::Button, "ウォッチ停止", 2040, 2880, 1215, 495, 1),
      defaultButton(control("Button3", K::Button, "タクストレイ", 3360, 2880, 1215, 495, 2)),
      shape,
      timer("Timer1", 100),
      timer("Timer2", 300),
  };

  form.menu = {
      {"mnuFile", "ﾌｧｲﾙ(&F)", {{"mnuFileExit", "終了(&X)", {}}}},
      {"mnuEdit", "編集(&E)", {{"mnuEditPassSet", "ﾊﾟｽﾜｰﾄﾞ追加(&P)...", {}}}},
      {"mnuSet", "設定(&S)", {{"mnuSetHenkou", "設定変更(&V)", {}}}},
      {"mnuHelp",
       "ﾍﾙﾌﾟ(&H)",
       {{"mnuHelpOpen", "目次(&C)...", {}},
        {"mnuHelpBar1", "-", {}},
        {"mnuHelpAbout", "ﾊﾞｰｼﾞｮﾝ情報(&A)...", {}}}},
  };
  return form;
}

FormLayout makeLogin() {
  FormLayout form;
  form.name = "frmLogin";
  form.caption = kLoginCaption;
  form.clientWidth = 3750;
  form.clientHeight = 1770;
  form.border = FormBorder::FixedDialog;
  form.showInTaskbar = false;
  form.centerScreen = true;

  using K = ControlKind;
  ControlLayout prompt = control("Label2", K::Label, "Label2", 165, 960, 3420, 195, 6);
  prompt.align = Align::Center;
  prompt.fontPoints = 9.75;
  form.controls = {
      autoLabel(control("lblLabels(0)", K::Label, "ﾊﾟｽﾜｰﾄﾞ(&P)", 120, 240, 870, 180, 0)),
      passwordBox("txtPassword1", 1320, 195, 2175, 270, 1),
      autoLabel(control("lblLabels(1)", K::Label, "ﾊﾟｽﾜｰﾄﾞ(確認)", 120, 600, 1125, 180, 2)),
      passwordBox("txtPassword2", 1320, 555, 2175, 270, 3),
      defaultButton(control("cmdOK", K::Button, "OK", 548, 1320, 1140, 390, 4)),
      cancelButton(control("cmdCancel", K::Button, "ｷｬﾝｾﾙ", 1988, 1320, 1215, 375, 5)),
      prompt,
  };
  return form;
}

FormLayout makeSet() {
  FormLayout form;
  form.name = "frmSet";
  form.caption = kSettingsCaption;
  form.clientWidth = 4680;
  form.clientHeight = 2970;
  form.border = FormBorder::FixedSingle;
  form.showInTaskbar = true;
  form.centerScreen = false;

  using K = ControlKind;
  ControlLayout interval = control("Text1", K::TextBox, "100", 120, 240, 735, 375, 1, "Frame1");
  interval.fontPoints = 12;
  ControlLayout upDown = control("UpDown1", K::UpDown, "", 856, 240, 240, 375, 2, "Frame1");
  upDown.buddy = "Text1";
  upDown.minValue = 10;
  upDown.maxValue = 1000;
  upDown.step = 10;
  form.controls = {
      control("Frame1", K::Frame, "監視頻度", 120, 120, 2295, 735, 0),
      interval,
      upDown,
      autoLabel(control("Label1", K::Label, "mSecond", 1200, 307, 930, 240, 3, "Frame1"),
                Align::Left, 12),
      control("Frame2", K::Frame, "ログイン パスワード", 2520, 120, 2055, 735, 4),
      control("Command1", K::Button, "変更", 120, 240, 1815, 375, 5, "Frame2"),
      control("Frame3", K::Frame, "オプション", 120, 960, 4455, 1215, 6),
      control("Frame4", K::Frame, "起動設定", 120, 240, 4215, 855, 7, "Frame3"),
      control("Check1", K::CheckBox, "パソコンと同時に起動", 120, 240, 3975, 495, 8, "Frame4"),
      // Dark shadow over highlight one twip-row below: an etched rule above the buttons.
      line("Line1", 120, 2280, 4560, 2280, true),
      line("Line2", 120, 2290, 4560, 2290, false),
      defaultButton(control("Command2", K::Button, "決定", 2040, 2400, 1215, 495, 9)),
      // Not a cancel button: Esc does nothing in this dialog.
      control("Command3", K::Button, "キャンセル", 3360, 2400, 1215, 495, 10),
  };
  return form;
}

FormLayout makeSplash() {
  FormLayout form;
  form.name = "frmSplash";
  form.caption = "";
  form.clientWidth = 4785;
  form.clientHeight = 3225;
  form.border = FormBorder::FixedDialog;
  form.titleBar = false;
  form.closeBox = false;
  form.showInTaskbar = false;
  form.centerScreen = true;

  using K = ControlKind;
  ControlLayout notice =
      control("Label3", K::Label, kSplashNotice, 1440, 1560, 2895, 855, 5, "Frame1");
  notice.fontPoints = 9.75;
  notice.foreColor = kRed;
  notice.wordWrap = true;
  form.controls = {
      control("Frame1", K::Frame, "", 120, 60, 4560, 3075, 0),
      autoLabel(control("lblProductName", K::Label, kAppTitle, 240, 240, 3315, 720, 2, "Frame1"),
                Align::Left, 36),
      autoLabel(control("Label1", K::Label, kProductReading, 1320, 1080, 2400, 405, 3, "Frame1"),
                Align::Left, 20.25),
      control("Image1", K::Image, "", 240, 1560, 960, 960, -1, "Frame1"),
      notice,
      autoLabel(control("lblVersion", K::Label, "ﾊﾞｰｼﾞｮﾝ", 3600, 2400, 780, 225, 1, "Frame1"),
                Align::Right, 11.25),
      autoLabel(control("Label2", K::Label, "Label2", 3960, 2760, 495, 180, 4, "Frame1"),
                Align::Right),
      timer("Timer1", 2500),
  };
  return form;
}

}  // namespace

const FormLayout& frmScanLayout() {
  static const FormLayout layout = makeScan();
  return layout;
}

const FormLayout& frmLoginLayout() {
  static const FormLayout layout = makeLogin();
  return layout;
}

const FormLayout& frmSetLayout() {
  static const FormLayout layout = makeSet();
  return layout;
}

const FormLayout& frmSplashLayout() {
  static const FormLayout layout = makeSplash();
  return layout;
}

}  // namespace folvane
