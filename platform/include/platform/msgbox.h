// Message boxes and the scripted user who answers them. The platform runs headless: an answer the
// scripted user queued is taken; with none queued, the box is printed on the console sink (the
// host's command line) with its caption and gets its default button.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace plat {

class Window;  // a top-level or child window of the platform; null means the desktop

constexpr unsigned MB_OK = 0x0, MB_OKCANCEL = 0x1, MB_ABORTRETRYIGNORE = 0x2, MB_YESNOCANCEL = 0x3,
                   MB_YESNO = 0x4, MB_RETRYCANCEL = 0x5;
constexpr unsigned MB_ICONHAND = 0x10, MB_ICONERROR = 0x10, MB_ICONQUESTION = 0x20,
                   MB_ICONEXCLAMATION = 0x30, MB_ICONWARNING = 0x30, MB_ICONINFORMATION = 0x40,
                   MB_ICONASTERISK = 0x40;
constexpr unsigned MB_DEFBUTTON1 = 0x000, MB_DEFBUTTON2 = 0x100, MB_DEFBUTTON3 = 0x200;
constexpr unsigned MB_TOPMOST = 0x40000, MB_SETFOREGROUND = 0x10000;
constexpr int IDOK = 1, IDCANCEL = 2, IDABORT = 3, IDRETRY = 4, IDIGNORE = 5, IDYES = 6, IDNO = 7;

int messageBox(Window* owner, std::wstring_view text, std::wstring_view caption, unsigned flags);

// What a message box showed, for tests and the scripted user.
struct MessageBoxRecord {
  std::wstring text;
  std::wstring caption;
  unsigned flags = 0;
  int answer = 0;
};

namespace scripted {
void answerNextMessageBox(int button);  // queued; taken by the next box in order
const std::vector<MessageBoxRecord>& shownMessageBoxes();
void reset();  // forgets queued answers and what was shown
}  // namespace scripted

// Where the platform prints what a user would otherwise see (unanswered boxes). The host sets it
// to its command line; the default prints to standard output.
void setConsoleSink(std::function<void(std::wstring_view)> sink);
void printToConsole(std::wstring_view text);

}  // namespace plat
