// What the automation helper can ask about another program's windows: find
// them by caption, read their texts, and describe them for the log.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct FoundWindow {
  HWND Handle = nullptr;
  std::string Caption;
  std::string ClassName;
};

// Visible top-level windows, in Z order.
std::vector<FoundWindow> VisibleWindows();

// The visible top-level window with exactly this caption, "*" for any but
// `except`; with `dialogOnly` only dialogs and message boxes (class #32770)
// count.
HWND FindByCaption(const std::string& caption, bool dialogOnly, HWND except = nullptr);

std::string TextOf(HWND window);
std::string ClassOf(HWND window);

// The text of a message box: its static control that holds text.
std::string MessageBoxText(HWND box);

// The texts of every static control of the window, in child order.
std::vector<std::string> StaticTexts(HWND window);

// The control that has the keyboard focus in the thread owning `window`.
HWND FocusOf(HWND window);

// Line breaks shown as \n, so one log line holds one window.
std::string OneLine(const std::string& text);
