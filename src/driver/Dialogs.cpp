#include "driver/Dialogs.h"

#include "driver/HeldFailure.h"
#include "ui/BackgroundWindow.h"

HGLOBAL LoadDialogTemplate(const char* name) {
  const HRSRC resource = FindResourceA(nullptr, name, MAKEINTRESOURCEA(5));  // RT_DIALOG
  if (!resource) return nullptr;
  return LoadResource(nullptr, resource);
}

INT_PTR RunDialog(const char* name, DLGPROC procedure) {
  if (!procedure) return -1;
  const INT_PTR result =
      DialogBoxParamA(GetModuleHandleA(nullptr), name, BackgroundWindow, procedure, 0);
  RethrowHeldFailure();
  return result;
}
