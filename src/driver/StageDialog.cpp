#include "driver/StageDialog.h"

#include <string>

#include "config/MessageTable.h"
#include "driver/HeldFailure.h"
#include "driver/StageActive.h"
#include "ui/ProgressGauge.h"

namespace {

void InitialiseStage(HWND dialog) {
  SetWindowTextA(dialog, StageCaption);
  GaugeSetUp(dialog);
  SetFocus(GetDlgItem(dialog, IDCANCEL));
  PostMessageA(dialog, StageMessage, 0, 0);
}

void RunStageWork(HWND dialog, StageWorkFn work) {
  try {
    work(dialog);
  } catch (...) {
    // Held for the driver's catch-all, which ends the run silently.
    HoldFailure();
    StageActive = 0;
  }
  GaugeTearDown(dialog);
  EndDialog(dialog, StageActive);
}

// The confirmation has no owner: the stage dialog stays as it is behind it.
void ConfirmCancel() {
  const std::string caption = ExitCaptionPrefix + MessageTable.Caption;
  if (MessageBoxA(nullptr, MessageTable.ConfirmExit.c_str(), caption.c_str(), MB_YESNO) == IDYES)
    StageActive = 0;
}

}  // namespace

INT_PTR StageDialogMessage(HWND dialog, UINT message, WPARAM wParam, StageWorkFn work) {
  switch (message) {
    case WM_INITDIALOG:
      InitialiseStage(dialog);
      return 0;
    case StageMessage:
      RunStageWork(dialog, work);
      return 1;
    case WM_COMMAND:
    case WM_SYSCOMMAND:
      if (LOWORD(wParam) == IDCANCEL) ConfirmCancel();
      return 0;
    case WM_DESTROY:
      StageActive = 0;
      return 0;
    default:
      return 0;
  }
}
