#include "ui/win32/Dialogs.h"

#include "base/State.h"
#include "ui/Layout.h"
#include "ui/win32/ProgressGauge.h"

namespace {

void InitialiseStage(HWND dialog) {
  SetWindowTextA(dialog, StageCaption);
  GaugeSetUp(dialog);
  SetFocus(GetDlgItem(dialog, IDCANCEL));
  PostMessageA(dialog, StageMessage, 0, 0);
}

void RunStageWork(HWND dialog, StageWorkFn work) {
  work(dialog);
  GaugeTearDown(dialog);
  EndDialog(dialog, StageActive);
}

}  // namespace

HGLOBAL LoadDialogTemplate(const char* name) {
  const HRSRC resource = FindResourceA(nullptr, name, MAKEINTRESOURCEA(5));  // RT_DIALOG
  if (!resource) return nullptr;
  return LoadResource(nullptr, resource);
}

INT_PTR RunDialog(const char* name, DLGPROC procedure) {
  if (!procedure) return -1;
  return DialogBoxParamA(GetModuleHandleA(nullptr), name, BackgroundWindow, procedure, 0);
}

void CentreOnScreen(HWND dialog) {
  RECT outer{};
  GetWindowRect(dialog, &outer);
  const ScreenPoint at = CentredOrigin(ScreenWidth, ScreenHeight, outer.right - outer.left,
                                       outer.bottom - outer.top);
  SetWindowPos(dialog, HWND_TOP, at.X, at.Y, 0, 0, SWP_NOSIZE);
}

bool ConfirmExit() {
  FixedText<TitleFieldWidth + 5> caption = "Exit ";
  caption.Append(MessageTable.Caption);
  return MessageBoxA(nullptr, MessageTable.ConfirmExit, caption.c_str(), MB_YESNO) == IDYES;
}

void DrainMessageQueue() {
  MSG message{};
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) continue;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

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
      if (LOWORD(wParam) == IDCANCEL && ConfirmExit()) StageActive = 0;
      return 0;
    case WM_DESTROY:
      StageActive = 0;
      return 0;
    default:
      return 0;
  }
}
