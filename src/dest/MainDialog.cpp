#include "dest/MainDialog.h"

#include <string>

#include "config/MessageTable.h"
#include "dest/DestinationForm.h"
#include "dest/PathChecks.h"
#include "driver/HeldFailure.h"
#include "driver/ProcessState.h"
#include "ui/CentreOnScreen.h"
#include "ui/ResourceIds.h"

namespace {

void InitialiseDestination(HWND dialog) {
  // Until the user confirms, the temporaries would be looked for beside the stub.
  DestDir = SourceDir;
  SetWindowTextA(dialog, DestinationCaption);
  SendDlgItemMessageA(dialog, DestinationEditId, WM_SETTEXT, 0,
                      reinterpret_cast<LPARAM>(MessageTable.DefaultDir.c_str()));
  CentreOnScreen(dialog);
  SetFocus(GetDlgItem(dialog, IDOK));
}

std::string ReadEntry(HWND dialog) {
  char entry[MaxDestinationLength + 1] = {};
  SendDlgItemMessageA(dialog, DestinationEditId, WM_GETTEXT, sizeof entry,
                      reinterpret_cast<LPARAM>(entry));
  return entry;
}

void ConfirmDestination(HWND dialog) {
  DestDir = ReadEntry(dialog);
  if (!HasDestinationForm(DestDir)) {
    MessageBeep(0);
    return;
  }
  bool created = true;
  CreateDirs(DestDir, created);
  if (created) EndDialog(dialog, 1);
}

void AskToCancel(HWND dialog) {
  const std::string caption = ExitCaptionPrefix + MessageTable.Caption;
  if (MessageBoxA(nullptr, MessageTable.ConfirmExit.c_str(), caption.c_str(), MB_YESNO) == IDYES)
    EndDialog(dialog, 0);
}

void HandleMainMessage(HWND dialog, UINT message, WPARAM wParam) {
  switch (message) {
    case WM_INITDIALOG:
      InitialiseDestination(dialog);
      break;
    case WM_COMMAND:
    case WM_SYSCOMMAND:
      if (LOWORD(wParam) == IDOK) ConfirmDestination(dialog);
      if (LOWORD(wParam) == IDCANCEL) AskToCancel(dialog);
      break;
    case WM_DESTROY:
      EndDialog(dialog, 0);
      break;
    default:
      break;
  }
}

}  // namespace

INT_PTR CALLBACK MainDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  try {
    HandleMainMessage(dialog, message, wParam);
  } catch (...) {
    HoldFailure();
    EndDialog(dialog, 0);
  }
  return 0;
}
