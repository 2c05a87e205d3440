// Every control the program's four windows give behaviour to is what its layout entry says it
// is, so the toolkits, which build and feed each control by its layout, never take one kind for
// another; and a window whose control is of another kind refuses to load.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "app/mdl_command.h"
#include "platform/fake/fake_platform.h"
#include "platform/fake/fake_toolkit.h"

namespace folvane {
namespace {

const ControlLayout* LayoutOf(const Form& form, const std::string& name) {
  for (const ControlLayout& entry : form.layout().controls)
    if (entry.name == name) return &entry;
  return nullptr;
}

TEST(ControlKinds, EveryControlOfTheFourWindowsIsOfItsLayoutsKind) {
  FakePlatform platform;
  FakeToolkit toolkit(platform);
  Program program(platform, toolkit);
  const std::vector<Form*> forms = {&program.frmScan, &program.frmLogin,
                                    &program.frmScan.settings(), &program.frmSplash};
  for (Form* form : forms) {
    SCOPED_TRACE(form->name());
    EXPECT_FALSE(form->controls().empty());
    for (const Control* control : form->controls()) {
      SCOPED_TRACE(control->name());
      const ControlLayout* entry = LayoutOf(*form, control->name());
      ASSERT_NE(entry, nullptr) << "a control without a place in its window";
      EXPECT_EQ(control->kind(), entry->kind);
    }
  }
}

// A form whose list box is laid out as a text box.
class MislaidForm : public Form {
 public:
  MislaidForm(Toolkit& toolkit, const FormLayout& layout) : Form(toolkit, layout) { add(list); }
  ListBox list{"lstFolders"};
};

TEST(ControlKinds, AControlOfAnotherKindThanItsLayoutStopsTheLoad) {
  FakePlatform platform;
  FakeToolkit toolkit(platform);
  FormLayout layout;
  layout.name = "frmTest";
  ControlLayout entry;
  entry.name = "lstFolders";
  entry.kind = ControlKind::TextBox;
  layout.controls = {entry};
  MislaidForm form(toolkit, layout);
  EXPECT_THROW(form.load(), std::logic_error);
  EXPECT_FALSE(form.isLoaded());

  layout.controls[0].kind = ControlKind::ListBox;
  form.load();
  EXPECT_TRUE(form.isLoaded());
}

}  // namespace
}  // namespace folvane
