#include "dest/win32/MainDialog.h"

#include "base/State.h"
#include "dest/DirectoryRules.h"
#include "dest/win32/PathChecks.h"
#include "ui/win32/Dialogs.h"
#include "ui/win32/ResourceIds.h"

namespace {

constexpr const char* DestinationCaption = "Destination Directory";

void InitialiseDestination(HWND dialog) {
  // Until the user confirms, the temporaries would be looked for beside the stub.
  DestDir = SourceDir;
  SetWindowTextA(dialog, DestinationCaption);
  SendDlgItemMessageA(dialog, DestinationEditId, WM_SETTEXT, 0,
                      reinterpret_cast<LPARAM>(MessageTable.DefaultDir.c_str()));
  CentreOnScreen(dialog);
  SetFocus(GetDlgItem(dialog, IDOK));
}

void ConfirmDestination(HWND dialog) {
  char entry[MaxDestinationLength + 1] = {};
  SendDlgItemMessageA(dialog, DestinationEditId, WM_GETTEXT, sizeof entry,
                      reinterpret_cast<LPARAM>(entry));
  DestDir = entry;
  // A wildcard or a letter with no drive behind it could never hold the
  // temporaries: the entry is refused like one of the wrong form.
  if (!HasDestinationForm(DestDir) || HasWildcard(DestDir) || !DriveExists(DestDir.Bytes[0])) {
    MessageBeep(0);
    return;
  }
  if (CreateDirs(DestDir)) EndDialog(dialog, 1);
}

}  // namespace

INT_PTR CALLBACK MainDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      InitialiseDestination(dialog);
      break;
    case WM_COMMAND:
    case WM_SYSCOMMAND:
      if (LOWORD(wParam) == IDOK) ConfirmDestination(dialog);
      if (LOWORD(wParam) == IDCANCEL && ConfirmExit()) EndDialog(dialog, 0);
      break;
    case WM_DESTROY:
      EndDialog(dialog, 0);
      break;
    default:
      break;
  }
  return 0;
}
