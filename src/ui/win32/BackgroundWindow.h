// The full-screen window of class "RizorOvuDe" behind every dialog: the
// gradient, the title with its shadow and the notice line. It owns the
// three dialogs and the final message box (BackgroundWindow, base/State.h).
#pragma once

#include <windows.h>

inline constexpr const char* BackgroundClassName = "RizorOvuDe";
inline constexpr const char* BackgroundWindowText = "Installation";

// Registers the class and creates the window; neither step is checked.
void CreateBackgroundWindow();

LRESULT CALLBACK BackgroundWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Draws the whole window from the configuration values, one brush per pixel
// row, straight into the window's context.
void PaintBackground();
