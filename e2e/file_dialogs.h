// Open and Save dialogs of the driver's own, for the program to guard: a real Open dialog of the
// system (GetOpenFileNameW) on a thread of its own, and a stand-in for the common item dialog of
// Windows 10 and 11, with its exact windows and texts, which Wine does not make.
#pragma once

#include <memory>
#include <string>

#include "e2e/driver.h"

namespace folvane::e2e {

// A real folder of the file system for a dialog to show, removed again at the end.
class RealFolder {
 public:
  // `name` under a fresh folder of its own in the temporary folder.
  explicit RealFolder(const std::string& name);
  ~RealFolder();
  RealFolder(const RealFolder&) = delete;
  RealFolder& operator=(const RealFolder&) = delete;
  const std::string& path() const { return path_; }

 private:
  std::string parent_;
  std::string path_;
};

// The system's Open dialog, opened in `folder` on a thread of its own, as another program opens
// it. It is cancelled, if still open, when this goes.
class OpenDialog {
 public:
  explicit OpenDialog(const std::string& folder);
  ~OpenDialog();
  OpenDialog(const OpenDialog&) = delete;
  OpenDialog& operator=(const OpenDialog&) = delete;

  // The dialog window, once it is shown (0 until then, and after it ended).
  Window id() const;
  // Whether GetOpenFileNameW has returned, and whether it returned as after a cancel.
  bool ended() const;
  bool cancelled() const;
  // Goes into another folder as a person does who types its path into the file-name box and
  // presses Enter.
  void goTo(const std::string& folder);
  void bringForward();

 private:
  struct State;
  std::unique_ptr<State> state_;
};

// The common item dialog's windows as Windows 10 and 11 make them: a "#32770" titled
// "名前を付けて保存" with the address band (WorkerW > ReBarWindow32 > Address Band Root >
// msctls_progress32 > Breadcrumb Parent > ToolbarWindow32, and the address box ComboBoxEx32 >
// ComboBox > Edit), the folder's view and the Cancel button. Its breadcrumb is titled
// "アドレス: " and the folder, and retitled, with the event Windows raises for it, as it moves.
// Cancel ends it as a dialog's Cancel does.
class StandInItemDialog {
 public:
  explicit StandInItemDialog(const std::string& folder);
  ~StandInItemDialog();
  StandInItemDialog(const StandInItemDialog&) = delete;
  StandInItemDialog& operator=(const StandInItemDialog&) = delete;

  Window id() const { return dialog_; }
  bool cancelled() const;
  void goTo(const std::string& folder);
  // Clicks into the address box and types a path there, which is now what the dialog shows.
  void typeAddress(const std::string& path);
  void bringForward();

 private:
  Window dialog_ = 0;
  Window breadcrumb_ = 0;
  Window edit_ = 0;
};

}  // namespace folvane::e2e
