#include "Steps.h"

#include <windows.h>

#include <cstdio>
#include <stdexcept>

#include "WindowQuery.h"

namespace {

struct StepFailure : std::runtime_error {
  using std::runtime_error::runtime_error;
};

HWND Current = nullptr;
std::string CurrentCaption;
int TimeoutMs = 20000;

void Log(const std::string& line) {
  std::printf("%s\n", line.c_str());
  std::fflush(stdout);
}

std::string Quoted(const std::string& text) { return "\"" + OneLine(text) + "\""; }

// Polls often: a step such as "press Cancel as soon as the stage dialog
// appears" must act while a short stage is still running.
HWND WaitForCaption(const std::string& caption, bool dialogOnly) {
  for (int waited = 0; waited < TimeoutMs; waited += 5) {
    HWND except = caption == "*" ? Current : nullptr;
    if (HWND found = FindByCaption(caption, dialogOnly, except)) return found;
    Sleep(5);
  }
  throw StepFailure("no window " + Quoted(caption));
}

HWND Control(const std::string& id) {
  HWND control = GetDlgItem(Current, std::stoi(id));
  if (!control) throw StepFailure("no control " + id + " in " + Quoted(CurrentCaption));
  return control;
}

void Wait(const std::string& caption) {
  Current = WaitForCaption(caption, false);
  CurrentCaption = caption;
  Log("window " + Quoted(caption) + " class " + ClassOf(Current));
}

WPARAM ButtonFor(const std::string& answer) {
  if (answer == "ok") return IDOK;
  if (answer == "yes") return IDYES;
  if (answer == "no") return IDNO;
  if (answer == "cancel") return IDCANCEL;
  if (answer == "retry") return IDRETRY;
  if (answer == "abort") return IDABORT;
  if (answer == "ignore") return IDIGNORE;
  throw StepFailure("unknown answer " + answer);
}

void WaitUntilClosed(HWND window, const std::string& what) {
  for (int waited = 0; waited < TimeoutMs; waited += 20) {
    if (!IsWindow(window) || !IsWindowVisible(window)) return;
    Sleep(20);
  }
  throw StepFailure(what + " did not close");
}

// The answered box is gone before the next step looks for a window, which
// may have the same caption.
void AnswerBox(const std::string& caption, const std::string& answer) {
  const WPARAM button = ButtonFor(answer);
  HWND box = WaitForCaption(caption, true);
  Log("box " + Quoted(TextOf(box)) + " text " + Quoted(MessageBoxText(box)) + " answer " + answer);
  PostMessageA(box, WM_COMMAND, button, 0);
  WaitUntilClosed(box, "the box " + Quoted(caption));
}

// Waits for a box and logs it, leaving it open for a later answer.
void SeeBox(const std::string& caption) {
  HWND box = WaitForCaption(caption, true);
  Log("seen " + Quoted(TextOf(box)) + " text " + Quoted(MessageBoxText(box)));
}

void TypeInto(const std::string& id, const std::string& text) {
  HWND edit = Control(id);
  SendMessageA(edit, EM_SETSEL, 0, -1);
  // Sent, not posted: the next step must see the text already typed.
  for (unsigned char c : text) {
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(edit, WM_CHAR, c, 1, SMTO_ABORTIFHUNG, 2000, &ignored);
  }
  Log("typed " + id + " " + Quoted(text));
}

void SetField(const std::string& id, const std::string& text) {
  SendMessageA(Control(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
  Log("set " + id + " " + Quoted(text));
}

void PressEnter() {
  HWND focus = FocusOf(Current);
  if (!focus) throw StepFailure("nothing has the focus in " + Quoted(CurrentCaption));
  PostMessageA(focus, WM_KEYDOWN, VK_RETURN, 0x001C0001);
  PostMessageA(focus, WM_KEYUP, VK_RETURN, 0xC01C0001);
  Log("enter");
}

void StillThere(const std::string& milliseconds) {
  Sleep(std::stoi(milliseconds));
  if (!IsWindow(Current) || !IsWindowVisible(Current))
    throw StepFailure(Quoted(CurrentCaption) + " has closed");
  Log("still " + Quoted(CurrentCaption));
}

void Gone() {
  for (int waited = 0; waited < TimeoutMs; waited += 50) {
    if (!IsWindow(Current) || !IsWindowVisible(Current)) {
      Log("gone " + Quoted(CurrentCaption));
      return;
    }
    Sleep(50);
  }
  throw StepFailure(Quoted(CurrentCaption) + " is still open");
}

void LogRect() {
  RECT r{};
  GetWindowRect(Current, &r);
  Log("rect " + Quoted(CurrentCaption) + " " + std::to_string(r.left) + " " +
      std::to_string(r.top) + " " + std::to_string(r.right - r.left) + " " +
      std::to_string(r.bottom - r.top));
}

void LogWindows(const char* prefix) {
  for (const FoundWindow& w : VisibleWindows())
    Log(std::string(prefix) + Quoted(w.Caption) + " class " + w.ClassName +
        (w.ClassName == "#32770" ? " text " + Quoted(MessageBoxText(w.Handle)) : ""));
}

void LogFocus() {
  HWND focus = FocusOf(Current);
  Log("focus " + std::to_string(focus ? GetDlgCtrlID(focus) : 0));
}

void PressButton(const std::string& id) {
  PostMessageA(Current, WM_COMMAND, std::stoi(id), 0);
  Log("pressed " + id);
}

void LogStaticTexts() {
  std::string line = "texts " + Quoted(CurrentCaption);
  for (const std::string& text : StaticTexts(Current)) line += " " + Quoted(text);
  Log(line);
}

// Stops or resumes the thread that owns the current window, so that a
// screenshot sees a stage between two steps of its work.
void SuspendOwner(bool suspend) {
  const DWORD threadId = GetWindowThreadProcessId(Current, nullptr);
  const HANDLE thread = OpenThread(THREAD_SUSPEND_RESUME, FALSE, threadId);
  if (!thread) throw StepFailure("cannot open the thread of " + Quoted(CurrentCaption));
  const DWORD result = suspend ? SuspendThread(thread) : ResumeThread(thread);
  CloseHandle(thread);
  if (result == static_cast<DWORD>(-1)) throw StepFailure("cannot suspend or resume");
  Log(std::string(suspend ? "frozen " : "thawed ") + Quoted(CurrentCaption));
}

// Waits until the current stage's progress bar (drawn over the frame,
// control 101) is red at its left end and still white at its right end, and
// freezes the stage there: a bar seen partway, on a fast machine or a slow
// one. The pixels are read from the screen, where the stub draws.
void FreezePartway() {
  RECT frame{};
  GetWindowRect(Control("101"), &frame);
  const int y = (frame.top + frame.bottom - 4) / 2;
  const HDC screen = GetDC(nullptr);
  bool partway = false;
  for (int waited = 0; waited < TimeoutMs && !partway; waited += 2) {
    partway = GetPixel(screen, frame.left + 10, y) == RGB(255, 0, 0) &&
              GetPixel(screen, frame.right - 8, y) == RGB(255, 255, 255);
    if (!partway) Sleep(2);
  }
  ReleaseDC(nullptr, screen);
  if (!partway) throw StepFailure("the bar of " + Quoted(CurrentCaption) + " was never seen partway");
  SuspendOwner(true);
}

void ReadField(const std::string& id) {
  Log("field " + id + " " + Quoted(TextOf(Control(id))));
}

// Runs the step at `at` and gives the index of the next one.
std::size_t RunStep(const std::vector<std::string>& a, std::size_t at) {
  const std::string& step = a[at];
  auto operand = [&](std::size_t k) -> const std::string& {
    if (at + k >= a.size()) throw StepFailure(step + " needs more operands");
    return a[at + k];
  };
  if (step == "wait") { Wait(operand(1)); return at + 2; }
  if (step == "box") { AnswerBox(operand(1), operand(2)); return at + 3; }
  if (step == "see") { SeeBox(operand(1)); return at + 2; }
  if (step == "read") { ReadField(operand(1)); return at + 2; }
  if (step == "set") { SetField(operand(1), operand(2)); return at + 3; }
  if (step == "type") { TypeInto(operand(1), operand(2)); return at + 3; }
  if (step == "press") { PressButton(operand(1)); return at + 2; }
  if (step == "enter") { PressEnter(); return at + 1; }
  if (step == "focus") { LogFocus(); return at + 1; }
  if (step == "still") { StillThere(operand(1)); return at + 2; }
  if (step == "gone") { Gone(); return at + 1; }
  if (step == "rect") { LogRect(); return at + 1; }
  if (step == "texts") { LogStaticTexts(); return at + 1; }
  if (step == "freeze") { SuspendOwner(true); return at + 1; }
  if (step == "partway") { FreezePartway(); return at + 1; }
  if (step == "thaw") { SuspendOwner(false); return at + 1; }
  if (step == "list") { LogWindows("visible "); return at + 1; }
  if (step == "sleep") { Sleep(std::stoi(operand(1))); return at + 2; }
  throw StepFailure("unknown step " + step);
}

}  // namespace

int RunSteps(const std::vector<std::string>& arguments, int timeoutSeconds) {
  TimeoutMs = timeoutSeconds * 1000;
  try {
    for (std::size_t at = 0; at < arguments.size();) at = RunStep(arguments, at);
    return 0;
  } catch (const std::exception& failure) {
    Log(std::string("FAILED ") + failure.what());
    LogWindows("visible ");
    return 1;
  }
}
