// Modal windows nesting on the fake toolkit, which keeps its modal showings in the same stack as
// the real one and the enabled state of every window in the fake world.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/fake/fake_platform.h"
#include "platform/fake/fake_toolkit.h"
#include "platform/form.h"

namespace folvane {
namespace {

FormLayout LayoutNamed(const std::string& name) {
  FormLayout layout;
  layout.name = name;
  layout.caption = name;
  return layout;
}

// One step of the user's session: 'o' shows a window modally (inside the modal window shown
// last), 'e' ends the showing of a window by unloading it. After each step, `enabled` names the
// windows that can be used, out of those that still exist; every other one is disabled.
struct Step {
  char op;
  char window;
  std::string enabled;
};

// The main window M stays loaded throughout; A, B and C are shown modally.
class ModalNesting {
 public:
  explicit ModalNesting(std::vector<Step> steps) : steps_(std::move(steps)) {
    for (char name : std::string("MABC")) {
      layouts_[name] = LayoutNamed(std::string(1, name));
      forms_[name] = std::make_unique<Form>(toolkit_, layouts_[name]);
    }
    toolkit_.onModal = [this](Form& form) {
      Expect(opened_);
      Run(form);
    };
  }

  void Play() {
    forms_['M']->load();
    Run(*forms_['M']);
    EXPECT_EQ(next_, steps_.size()) << "steps left unplayed";
  }

 private:
  // Plays steps for as long as `owner` stays loaded.
  void Run(Form& owner) {
    while (owner.isLoaded() && next_ < steps_.size()) {
      const Step& step = steps_[next_++];
      Form& form = *forms_[step.window];
      SCOPED_TRACE(std::string(1, step.op) + step.window);
      if (step.op == 'o') {
        opened_ = step;
        form.showModal();
      } else {
        form.unload();
        Expect(step);
      }
    }
  }

  void Expect(const Step& step) {
    SCOPED_TRACE(std::string("after ") + step.op + step.window);
    for (auto& [name, form] : forms_) {
      if (!form->isLoaded()) continue;
      const bool expected = step.enabled.find(name) != std::string::npos;
      EXPECT_EQ(platform_.isWindowEnabled(form->window()), expected) << "window " << name;
    }
  }

  FakePlatform platform_;
  FakeToolkit toolkit_{platform_};
  std::map<char, FormLayout> layouts_;
  std::map<char, std::unique_ptr<Form>> forms_;
  std::vector<Step> steps_;
  size_t next_ = 0;
  Step opened_{};
};

TEST(ModalNesting, OnlyTheEndOfTheLastModalWindowGivesTheWindowsBack) {
  struct Case {
    const char* what;
    std::vector<Step> steps;
  };
  const std::vector<Case> cases = {
      {"one", {{'o', 'A', "A"}, {'e', 'A', "M"}}},
      {"inner ends first", {{'o', 'A', "A"}, {'o', 'B', "B"}, {'e', 'B', "A"}, {'e', 'A', "M"}}},
      // The about box closing by its timer under a password dialog.
      {"outer ends first", {{'o', 'A', "A"}, {'o', 'B', "B"}, {'e', 'A', "B"}, {'e', 'B', "M"}}},
      {"middle ends first",
       {{'o', 'A', "A"},
        {'o', 'B', "B"},
        {'o', 'C', "C"},
        {'e', 'B', "C"},
        {'e', 'C', "A"},
        {'e', 'A', "M"}}},
      {"oldest first",
       {{'o', 'A', "A"},
        {'o', 'B', "B"},
        {'o', 'C', "C"},
        {'e', 'A', "C"},
        {'e', 'B', "C"},
        {'e', 'C', "M"}}},
      {"newest ends after the others",
       {{'o', 'A', "A"},
        {'o', 'B', "B"},
        {'o', 'C', "C"},
        {'e', 'A', "C"},
        {'e', 'C', "B"},
        {'e', 'B', "M"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ModalNesting(c.steps).Play();
  }
}

}  // namespace
}  // namespace folvane
