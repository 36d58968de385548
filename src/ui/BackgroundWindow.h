// The full-screen window of class "RizorOvuDe" behind every dialog: the
// gradient, the title with its shadow and the notice line. It owns the
// three dialogs and the final message box.
#pragma once

#include <windows.h>

extern HWND BackgroundWindow;

// Registers the class and creates the window; neither step is checked.
void CreateBackgroundWindow();

LRESULT CALLBACK BackgroundWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Draws the whole window from the configuration values.
void PaintBackground();
