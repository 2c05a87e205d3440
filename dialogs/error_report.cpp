#include "dialogs/error_report.h"

#include "dialogs/messages.h"

namespace folvane {

RunTimeError InvalidCallError() {
  return RunTimeError(5, "プロシージャの呼び出し、または引数が不正です。");
}

RunTimeError OverflowError() {
  return RunTimeError(6, "オーバーフローしました。");
}

RunTimeError TypeMismatchError() {
  return RunTimeError(13, "型が一致しません。");
}

void ShowErrorReport(Platform& platform, const RunTimeError& error) {
  ShowMessage(platform, "エラー " + std::to_string(error.number()) + "\r\n" + error.description(),
              MsgIcon::Warning, MsgButtons::Ok);
}

}  // namespace folvane
