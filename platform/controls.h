// Portable controls. The event procedures of every window work on these objects and never see a
// real window. A toolkit backend attaches a ControlSink to mirror program-made changes into the
// real control, and calls the user*() entry points when the user acts on it.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/form_layout.h"

namespace folvane {

class Control;
class Timer;
class TextBox;

// Implemented by a toolkit backend for the controls of a loaded window.
class ControlSink {
 public:
  virtual ~ControlSink() = default;
  virtual void controlChanged(Control& control) = 0;  // text, caption, items, value, colour
  virtual void timerChanged(Timer& timer) = 0;        // enabled or interval
  virtual void focus(Control& control) = 0;
  virtual void selectAll(TextBox& box) = 0;
};

class Control {
 public:
  explicit Control(std::string name) : name_(std::move(name)) {}
  virtual ~Control() = default;
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  const std::string& name() const { return name_; }
  // Called by Form::load, before the window is made, with the control's entry of the layout: every
  // load starts from the design values. Unloading does not reset a control; it is detached from
  // its window and keeps its last values until the next load.
  virtual void reset(const ControlLayout& layout) = 0;
  void attach(ControlSink* sink) { sink_ = sink; }
  void setFocus() {
    if (sink_) sink_->focus(*this);
  }
  // What the control is; its window's layout must give it the same kind.
  virtual ControlKind kind() const = 0;

 protected:
  void changed() {
    if (sink_) sink_->controlChanged(*this);
  }
  ControlSink* sink_ = nullptr;

 private:
  std::string name_;
};

// A single-line text box. Change is raised only when the content really changes. A read-only box
// takes no text from the user: only the program writes it.
class TextBox : public Control {
 public:
  using Control::Control;
  const std::string& text() const { return text_; }
  void setText(const std::string& text);      // by the program: mirrored into the real control
  void userSetText(const std::string& text);  // by the user (the backend, or a test playing one)
  bool readOnly() const { return readOnly_; }
  void selectAll();  // the "{Home}+{End}" key sequence
  bool allSelected() const { return allSelected_; }
  std::function<void()> onChange;
  void reset(const ControlLayout& layout) override;
  static constexpr ControlKind kKind = ControlKind::TextBox;
  ControlKind kind() const override { return kKind; }

 private:
  void store(const std::string& text);
  std::string text_;
  bool allSelected_ = false;
  bool readOnly_ = false;
};

class Label : public Control {
 public:
  using Control::Control;
  const std::string& caption() const { return caption_; }
  void setCaption(const std::string& caption);
  void reset(const ControlLayout& layout) override;
  static constexpr ControlKind kKind = ControlKind::Label;
  ControlKind kind() const override { return kKind; }

 private:
  std::string caption_;
};

class Button : public Control {
 public:
  using Control::Control;
  const std::string& caption() const { return caption_; }
  void setCaption(const std::string& caption);
  void click() {
    if (onClick) onClick();
  }
  std::function<void()> onClick;
  void reset(const ControlLayout& layout) override;
  static constexpr ControlKind kKind = ControlKind::Button;
  ControlKind kind() const override { return kKind; }

 private:
  std::string caption_;
};

class ListBox : public Control {
 public:
  using Control::Control;
  const std::vector<std::string>& items() const { return items_; }
  void clear();
  void addItem(const std::string& text, int index);  // inserts at index (clamped to the end)
  // All rows at once, none selected: one change for the whole list, where adding row by row
  // would have the real control filled again for every row.
  void setItems(std::vector<std::string> items);
  int listIndex() const { return listIndex_; }  // -1: no row selected
  void setListIndex(int index);
  void userSelect(int index) { listIndex_ = index; }
  void dblClick() {
    if (onDblClick) onDblClick();
  }
  std::function<void()> onDblClick;
  void reset(const ControlLayout& layout) override;
  static constexpr ControlKind kKind = ControlKind::ListBox;
  ControlKind kind() const override { return kKind; }

 private:
  std::vector<std::string> items_;
  int listIndex_ = -1;
};

class CheckBox : public Control {
 public:
  using Control::Control;
  int value() const { return value_; }
  void setValue(int value);
  void userSetValue(int value) { value_ = value; }
  void reset(const ControlLayout& layout) override;
  static constexpr ControlKind kKind = ControlKind::CheckBox;
  ControlKind kind() const override { return kKind; }

 private:
  int value_ = 0;
};

// An up-down control bound to a text box: its arrows step the number in that box.
class UpDown : public Control {
 public:
  UpDown(std::string name, TextBox& buddy) : Control(std::move(name)), buddy_(buddy) {}
  void up() { step(+1); }
  void down() { step(-1); }
  int minValue() const { return min_; }
  int maxValue() const { return max_; }
  int increment() const { return step_; }
  void reset(const ControlLayout& layout) override;
  static constexpr ControlKind kKind = ControlKind::UpDown;
  ControlKind kind() const override { return kKind; }

 private:
  void step(int direction);
  TextBox& buddy_;
  int min_ = 0, max_ = 100, step_ = 1;
};

class Shape : public Control {
 public:
  using Control::Control;
  unsigned backColor() const { return backColor_; }  // 0x00BBGGRR
  void setBackColor(unsigned color);
  void reset(const ControlLayout& layout) override;
  static constexpr ControlKind kKind = ControlKind::Shape;
  ControlKind kind() const override { return kKind; }

 private:
  unsigned backColor_ = 0;
};

// A periodic timer. It ticks only while its window is loaded, it is enabled and its interval is
// above zero.
class Timer : public Control {
 public:
  using Control::Control;
  bool enabled() const { return enabled_; }
  int interval() const { return interval_; }
  void setEnabled(bool enabled);
  void setInterval(int milliseconds);
  void tick() {
    if (onTick) onTick();
  }
  std::function<void()> onTick;
  void reset(const ControlLayout& layout) override;
  static constexpr ControlKind kKind = ControlKind::Timer;
  ControlKind kind() const override { return kKind; }

 private:
  bool enabled_ = false;
  int interval_ = 0;
};

// The control as the type its kind names, or nullptr when it is of another kind (or null).
template <typename Kind>
Kind* as(Control* control) {
  return control && control->kind() == Kind::kKind ? static_cast<Kind*>(control) : nullptr;
}

struct MenuCommand {
  std::string name;  // e.g. "mnuFileExit"
  std::function<void()> onClick;
};

}  // namespace folvane
