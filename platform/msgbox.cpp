// Headless message boxes: the scripted user's queued answer is taken in order; an unanswered box
// is printed on the console sink as "caption: text" and gets its default button. Every box is
// recorded for tests.
#include "platform/msgbox.h"

#include <cstdio>
#include <deque>

#include "platform/codepage.h"

namespace plat {

namespace {

struct MessageBoxState {
  std::deque<int> answers;
  std::vector<MessageBoxRecord> shown;
  std::function<void(std::wstring_view)> sink;
};

MessageBoxState& state() {
  static MessageBoxState s;
  return s;
}

// The button a box gets when nobody answers: MB_DEFBUTTONn over the buttons of its type, the first
// button when n is beyond them.
int defaultButton(unsigned flags) {
  static const std::vector<int> buttons[] = {
      {IDOK},          {IDOK, IDCANCEL},  {IDABORT, IDRETRY, IDIGNORE},
      {IDYES, IDNO, IDCANCEL}, {IDYES, IDNO}, {IDRETRY, IDCANCEL},
  };
  unsigned type = flags & 0xF;
  const auto& set = type < std::size(buttons) ? buttons[type] : buttons[MB_OK];
  unsigned index = (flags >> 8) & 0xF;
  return index < set.size() ? set[index] : set.front();
}

}  // namespace

int messageBox(Window* owner, std::wstring_view text, std::wstring_view caption, unsigned flags) {
  auto& s = state();
  int answer;
  if (!s.answers.empty()) {
    answer = s.answers.front();
    s.answers.pop_front();
  } else {
    answer = defaultButton(flags);
    printToConsole(std::wstring(caption) + L": " + std::wstring(text) + L"\n");
  }
  s.shown.push_back({std::wstring(text), std::wstring(caption), flags, answer});
  return answer;
}

namespace scripted {

void answerNextMessageBox(int button) { state().answers.push_back(button); }

const std::vector<MessageBoxRecord>& shownMessageBoxes() { return state().shown; }

void reset() {
  state().answers.clear();
  state().shown.clear();
}

}  // namespace scripted

void setConsoleSink(std::function<void(std::wstring_view)> sink) { state().sink = std::move(sink); }

void printToConsole(std::wstring_view text) {
  if (state().sink) return state().sink(text);
  std::string bytes = utf8(text);
  std::fwrite(bytes.data(), 1, bytes.size(), stdout);
  std::fflush(stdout);
}

}  // namespace plat
