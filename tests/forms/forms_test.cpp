#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "forms/forms.h"

namespace folvane {
namespace {

const std::vector<const FormLayout*>& AllForms() {
  static const std::vector<const FormLayout*> forms = {&frmScanLayout(), &frmLoginLayout(),
                                                       &frmSetLayout(), &frmSplashLayout()};
  return forms;
}

const ControlLayout* Find(const FormLayout& form, const std::string& name) {
  for (const auto& control : form.controls)
    if (control.name == name) return &control;
  return nullptr;
}

// The sampler knows the program's own windows by these exact bytes.
TEST(Forms, CaptionsTheSamplerKnows) {
  EXPECT_EQ(frmScanLayout().caption, "Kelmora");
  EXPECT_EQ(frmLoginLayout().caption,
            "Kelmora-\xE3\x83\x91\xE3\x82\xB9\xE3\x83\xAF\xE3\x83\xBC"
            "\xE3\x83\x89\xE5\x85\xA5\xE5\x8A\x9B");                      // パスワード入力
  EXPECT_EQ(frmSetLayout().caption, "Kelmora-\xE8\xA8\xAD\xE5\xAE\x9A");  // 設定
}

TEST(Forms, EnterAndEscButtons) {
  struct Case {
    const FormLayout* form;
    std::vector<std::string> enter, esc;
  };
  const std::vector<Case> cases = {
      {&frmScanLayout(), {"Button3"}, {}},
      {&frmLoginLayout(), {"cmdOK"}, {"cmdCancel"}},
      {&frmSetLayout(), {"Command2"}, {}},  // Esc does nothing in the settings dialog
      {&frmSplashLayout(), {}, {}},
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
  const FormLayout& splash = frmSplashLayout();
  EXPECT_FALSE(splash.titleBar);
  EXPECT_FALSE(splash.closeBox);
  EXPECT_FALSE(splash.showInTaskbar);
  EXPECT_TRUE(frmLoginLayout().closeBox);
  EXPECT_FALSE(frmLoginLayout().showInTaskbar);
  EXPECT_TRUE(frmScanLayout().mainIcon);
  for (const FormLayout* form : {&frmLoginLayout(), &frmSetLayout(), &frmSplashLayout()})
    EXPECT_FALSE(form->mainIcon) << form->name;
}

TEST(Forms, PasswordBoxesAreMasked) {
  for (const char* name : {"txtPassword1", "txtPassword2"}) {
    const ControlLayout* box = Find(frmLoginLayout(), name);
    ASSERT_NE(box, nullptr) << name;
    EXPECT_TRUE(box->password) << name;
  }
}

// Mistakes a table of this size invites: a duplicated name or tab number, a gap in the focus
// order, a control placed in a frame that is not there, an up-down bound to nothing.
TEST(Forms, TablesHoldTogether) {
  for (const FormLayout* form : AllForms()) {
    SCOPED_TRACE(form->name);
    std::set<std::string> names;
    std::vector<int> tabs;
    for (const auto& control : form->controls) {
      EXPECT_TRUE(names.insert(control.name).second) << "twice: " << control.name;
      if (control.tabIndex >= 0) tabs.push_back(control.tabIndex);
      if (!control.parent.empty()) {
        const ControlLayout* frame = Find(*form, control.parent);
        ASSERT_NE(frame, nullptr) << control.name << " in " << control.parent;
        EXPECT_EQ(frame->kind, ControlKind::Frame) << control.parent;
      }
      if (control.kind == ControlKind::UpDown) {
        const ControlLayout* buddy = Find(*form, control.buddy);
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
  for (const auto& entry : frmScanLayout().menu) {
    top.push_back(entry.name);
    for (const auto& item : entry.items) seen[entry.name].push_back(item.name);
  }
  EXPECT_EQ(top, (std::vector<std::string>{"mnuFile", "mnuEdit", "mnuSet", "mnuHelp"}));
  EXPECT_EQ(seen["mnuFile"], std::vector<std::string>{"mnuFileExit"});
  EXPECT_EQ(seen["mnuEdit"], std::vector<std::string>{"mnuEditPassSet"});
  EXPECT_EQ(seen["mnuSet"], std::vector<std::string>{"mnuSetHenkou"});
  EXPECT_EQ(seen["mnuHelp"],
            (std::vector<std::string>{"mnuHelpOpen", "mnuHelpBar1", "mnuHelpAbout"}));
  EXPECT_EQ(frmScanLayout().menu[3].items[1].caption, "-");
}

}  // namespace
}  // namespace folvane
