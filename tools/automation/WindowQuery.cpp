#include "WindowQuery.h"

namespace {

BOOL CALLBACK CollectVisible(HWND window, LPARAM into) {
  if (IsWindowVisible(window)) {
    auto* found = reinterpret_cast<std::vector<FoundWindow>*>(into);
    found->push_back({window, TextOf(window), ClassOf(window)});
  }
  return TRUE;
}

BOOL CALLBACK FindStaticText(HWND child, LPARAM into) {
  auto* text = reinterpret_cast<std::string*>(into);
  if (ClassOf(child) != "Static") return TRUE;
  const std::string found = TextOf(child);
  if (found.empty()) return TRUE;
  *text = found;
  return FALSE;
}

BOOL CALLBACK CollectStaticText(HWND child, LPARAM into) {
  if (ClassOf(child) == "Static")
    reinterpret_cast<std::vector<std::string>*>(into)->push_back(TextOf(child));
  return TRUE;
}

}  // namespace

std::vector<std::string> StaticTexts(HWND window) {
  std::vector<std::string> texts;
  EnumChildWindows(window, CollectStaticText, reinterpret_cast<LPARAM>(&texts));
  return texts;
}

std::vector<FoundWindow> VisibleWindows() {
  std::vector<FoundWindow> found;
  EnumWindows(CollectVisible, reinterpret_cast<LPARAM>(&found));
  return found;
}

HWND FindByCaption(const std::string& caption, bool dialogOnly, HWND except) {
  for (const FoundWindow& window : VisibleWindows()) {
    if (window.Handle == except) continue;
    if (caption != "*" && window.Caption != caption) continue;
    if (dialogOnly && window.ClassName != "#32770") continue;
    return window.Handle;
  }
  return nullptr;
}

std::string TextOf(HWND window) {
  char text[1024] = {};
  // Another process's window: WM_GETTEXT with a timeout, so a busy one cannot hang us.
  DWORD_PTR copied = 0;
  SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                      SMTO_ABORTIFHUNG, 2000, &copied);
  return text;
}

std::string ClassOf(HWND window) {
  char name[256] = {};
  GetClassNameA(window, name, sizeof name);
  return name;
}

std::string MessageBoxText(HWND box) {
  std::string text;
  EnumChildWindows(box, FindStaticText, reinterpret_cast<LPARAM>(&text));
  return text;
}

HWND FocusOf(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) return nullptr;
  return info.hwndFocus;
}

std::string OneLine(const std::string& text) {
  std::string line;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    if (text[i] == '\n') {
      line += "\\n";
    } else {
      line += text[i];
    }
  }
  return line;
}
