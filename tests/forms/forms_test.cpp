#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "forms/forms.h"

namespace folvane {
namespace {

const std::vector<const FormSpec*>& AllForms() {
  static const std::vector<const FormSpec*> forms = {&frmScanSpec(), &frmLoginSpec(), &frmSetSpec(),
                                                     &frmSplashSpec()};
  return forms;
}

const ControlSpec* Find(const FormSpec& form, const std::string& name) {
  for (const auto& control : form.controls)
    if (control.name == name) return &control;
  return nullptr;
}

// The sampler knows the program's own windows by these exact bytes.
TEST(Forms, CaptionsTheSamplerKnows) {
  EXPECT_EQ(frmScanSpec().caption, "Kelmora");
  EXPECT_EQ(frmLoginSpec().caption,
            "Kelmora-\xE3\x83\x91\xE3\x82\xB9\xE3\x83\xAF\xE3\x83\xBC"
            "\xE3\x83\x89\xE5\x85\xA5\xE5\x8A\x9B");                    // パスワード入力
  EXPECT_EQ(frmSetSpec().caption, "Kelmora-\xE8\xA8\xAD\xE5\xAE\x9A");  // 設定
}

TEST(Forms, EnterAndEscButtons) {
  struct Case {
    const FormSpec* form;
    std::vector<std::string> enter, esc;
  };
  const std::vector<Case> cases = {
      {&frmScanSpec(), {"Button3"}, {}},
      {&frmLoginSpec(), {"cmdOK"}, {"cmdCancel"}},
      {&frmSetSpec(), {"Command2"}, {}},  // Esc does nothing in the settings dialog
      {&frmSplashSpec(), {}, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.form->name);
    std::vector<std::string> enter, esc;
    for (const auto& control : c.form->controls) {
      if (control.isDefault) enter.push_back(control.name);
      if (control.isCancel) esc.push_back(control.name);
    }
    EXPECT_EQ(enter, c.enter);
    EXPECT_EQ(esc, c.esc);
  }
}

TEST(Forms, WindowFrames) {
  const FormSpec& splash = frmSplashSpec();
  EXPECT_FALSE(splash.titleBar);
  EXPECT_FALSE(splash.closeBox);
  EXPECT_FALSE(splash.showInTaskbar);
  EXPECT_TRUE(frmLoginSpec().closeBox);
  EXPECT_FALSE(frmLoginSpec().showInTaskbar);
  EXPECT_TRUE(frmScanSpec().mainIcon);
  for (const FormSpec* form : {&frmLoginSpec(), &frmSetSpec(), &frmSplashSpec()})
    EXPECT_FALSE(form->mainIcon) << form->name;
}

TEST(Forms, PasswordBoxesAreMasked) {
  for (const char* name : {"txtPassword1", "txtPassword2"}) {
    const ControlSpec* box = Find(frmLoginSpec(), name);
    ASSERT_NE(box, nullptr) << name;
    EXPECT_TRUE(box->password) << name;
  }
}

// Mistakes a table of this size invites: a duplicated name or tab number, a gap in the focus
// order, a control placed in a frame that is not there, an up-down bound to nothing.
TEST(Forms, TablesHoldTogether) {
  for (const FormSpec* form : AllForms()) {
    SCOPED_TRACE(form->name);
    std::set<std::string> names;
    std::vector<int> tabs;
    for (const auto& control : form->controls) {
      EXPECT_TRUE(names.insert(control.name).second) << "twice: " << control.name;
      if (control.tabIndex >= 0) tabs.push_back(control.tabIndex);
      if (!control.parent.empty()) {
        const ControlSpec* frame = Find(*form, control.parent);
        ASSERT_NE(frame, nullptr) << control.name << " in " << control.parent;
        EXPECT_EQ(frame->kind, ControlKind::Frame) << control.parent;
      }
      if (control.kind == ControlKind::UpDown) {
        const ControlSpec* buddy = Find(*form, control.buddy);
        ASSERT_NE(buddy, nullptr) << control.name;
        EXPECT_EQ(buddy->kind, ControlKind::TextBox);
        EXPECT_LT(control.minValue, control.maxValue);
      }
      if (control.kind == ControlKind::Timer) {
        EXPECT_GT(control.timerInterval, 0);
      }
    }
    std::sort(tabs.begin(), tabs.end());
    for (int i = 0; i < static_cast<int>(tabs.size()); ++i) EXPECT_EQ(tabs[i], i);
  }
}

TEST(Forms, MainMenu) {
  std::map<std::string, std::vector<std::string>> seen;
  std::vector<std::string> top;
  for (const auto& entry : frmScanSpec().menu) {
    top.push_back(entry.name);
    for (const auto& item : entry.items) seen[entry.name].push_back(item.name);
  }
  EXPECT_EQ(top, (std::vector<std::string>{"mnuFile", "mnuEdit", "mnuSet", "mnuHelp"}));
  EXPECT_EQ(seen["mnuFile"], std::vector<std::string>{"mnuFileExit"});
  EXPECT_EQ(seen["mnuEdit"], std::vector<std::string>{"mnuEditPassSet"});
  EXPECT_EQ(seen["mnuSet"], std::vector<std::string>{"mnuSetHenkou"});
  EXPECT_EQ(seen["mnuHelp"],
            (std::vector<std::string>{"mnuHelpOpen", "mnuHelpBar1", "mnuHelpAbout"}));
  EXPECT_EQ(frmScanSpec().menu[3].items[1].caption, "-");
}

}  // namespace
}  // namespace folvane
