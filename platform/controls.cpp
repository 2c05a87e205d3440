#include "platform/controls.h"

#include <algorithm>
#include <string>
#include <utility>

namespace folvane {

void TextBox::store(const std::string& text) {
  allSelected_ = false;
  if (text == text_) return;
  text_ = text;
  if (onChange) onChange();
}

void TextBox::setText(const std::string& text) {
  bool differs = text != text_;
  if (differs) {
    text_ = text;
    allSelected_ = false;
    changed();
    if (onChange) onChange();
  }
}

void TextBox::userSetText(const std::string& text) {
  if (!readOnly_) store(text);
}

void TextBox::selectAll() {
  allSelected_ = true;
  if (sink_) sink_->selectAll(*this);
}

void TextBox::reset(const ControlLayout& layout) {
  text_ = layout.text;
  allSelected_ = false;
  readOnly_ = layout.readOnly;
}

void Label::setCaption(const std::string& caption) {
  caption_ = caption;
  changed();
}

void Label::reset(const ControlLayout& layout) {
  caption_ = layout.text;
}

void Button::setCaption(const std::string& caption) {
  caption_ = caption;
  changed();
}

void Button::reset(const ControlLayout& layout) {
  caption_ = layout.text;
}

void ListBox::clear() {
  items_.clear();
  listIndex_ = -1;
  changed();
}

void ListBox::addItem(const std::string& text, int index) {
  auto at = std::clamp(index, 0, static_cast<int>(items_.size()));
  items_.insert(items_.begin() + at, text);
  changed();
}

void ListBox::setItems(std::vector<std::string> items) {
  items_ = std::move(items);
  listIndex_ = -1;
  changed();
}

void ListBox::setListIndex(int index) {
  listIndex_ = index;
  changed();
}

void ListBox::reset(const ControlLayout&) {
  items_.clear();
  listIndex_ = -1;
}

void CheckBox::setValue(int value) {
  value_ = value;
  changed();
}

void CheckBox::reset(const ControlLayout&) {
  value_ = 0;
}

void UpDown::step(int direction) {
  int current = min_;
  try {
    current = std::stoi(buddy_.text());
  } catch (...) {
    current = min_;
  }
  int next = std::clamp(current + direction * step_, min_, max_);
  buddy_.userSetText(std::to_string(next));
}

void UpDown::reset(const ControlLayout& layout) {
  min_ = layout.minValue;
  max_ = layout.maxValue;
  step_ = layout.step;
}

void Shape::setBackColor(unsigned color) {
  // The lamp is set on every tick of its timer; only a new colour is worth a repaint.
  if (color == backColor_) return;
  backColor_ = color;
  changed();
}

void Shape::reset(const ControlLayout& layout) {
  backColor_ = layout.backColor;
}

void Timer::setEnabled(bool enabled) {
  enabled_ = enabled;
  if (sink_) sink_->timerChanged(*this);
}

void Timer::setInterval(int milliseconds) {
  interval_ = milliseconds;
  if (sink_) sink_->timerChanged(*this);
}

void Timer::reset(const ControlLayout& layout) {
  enabled_ = layout.timerEnabled;
  interval_ = layout.timerInterval;
}

}  // namespace folvane
