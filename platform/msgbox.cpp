// Message boxes. A box answered from the scripted user's queue takes that answer at once;
// otherwise it is a real window — icon, text, buttons, caption — shown through the modal loop,
// where a scene may act on it, and snapshots see it. A box nobody answers gets its default
// button and is printed on the console sink as "caption: text". Every box is recorded.
#include "platform/msgbox.h"

#include <cstdio>
#include <deque>

#include "platform/codepage.h"
#include "platform/dialog.h"

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

// The buttons of a box type, left to right.
const std::vector<int>& buttonsOf(unsigned flags) {
  static const std::vector<int> buttons[] = {
      {IDOK},          {IDOK, IDCANCEL},  {IDABORT, IDRETRY, IDIGNORE},
      {IDYES, IDNO, IDCANCEL}, {IDYES, IDNO}, {IDRETRY, IDCANCEL},
  };
  unsigned type = flags & 0xF;
  return type < std::size(buttons) ? buttons[type] : buttons[MB_OK];
}

// The button a box gets when nobody answers: MB_DEFBUTTONn over the buttons of its type, the first
// button when n is beyond them.
int defaultButton(unsigned flags) {
  const auto& set = buttonsOf(flags);
  unsigned index = (flags >> 8) & 0xF;
  return index < set.size() ? set[index] : set.front();
}

const wchar_t* buttonText(int id) {
  switch (id) {
    case IDOK: return L"確定";
    case IDCANCEL: return L"取消";
    case IDABORT: return L"中止(&A)";
    case IDRETRY: return L"重試(&R)";
    case IDIGNORE: return L"略過(&I)";
    case IDYES: return L"是(&Y)";
    default: return L"否(&N)";
  }
}

// The icon of a box, drawn as the platform's message icons look: a red stop, a yellow warning
// triangle, a blue question or information mark.
class MessageIcon : public Window {
 public:
  explicit MessageIcon(unsigned kind) : kind_(kind) {}
  void onPaint(DC& dc) override {
    Rect r = clientRect();
    dc.fillRect(r, colors::face);
    wchar_t mark = kind_ == MB_ICONERROR ? L'X' : kind_ == MB_ICONWARNING ? L'!' : kind_ == MB_ICONQUESTION ? L'?' : L'i';
    Color fill = kind_ == MB_ICONERROR ? rgb(200, 40, 40) : kind_ == MB_ICONWARNING ? rgb(240, 190, 20) : rgb(30, 100, 200);
    dc.setPen({fill, 1});
    dc.setBrush({fill});
    if (kind_ == MB_ICONWARNING) {
      for (int y = 2; y < r.bottom - 1; ++y) {
        int half = (y - 2) * r.width() / (2 * (r.height() - 3));
        dc.fillRect({r.width() / 2 - half, y, r.width() / 2 + half + 1, y + 1}, fill);
      }
    } else {
      dc.ellipse(r.inflate(-1, -1));
    }
    dc.setFont(Font::create(L"Arial", r.height() * 2 / 3, true));
    dc.setTextColor(kind_ == MB_ICONWARNING ? colors::text : colors::highlightText);
    dc.drawText(kind_ == MB_ICONWARNING ? r.offset(0, 3) : r, std::wstring(1, mark),
                DT_SINGLELINE | DT_CENTER | DT_VCENTER);
  }

 private:
  unsigned kind_;
};

class MessageBoxDialog : public Dialog {
 public:
  MessageBoxDialog(Window* owner, std::wstring_view text, std::wstring_view caption, unsigned flags)
      : Dialog(boxTemplate(caption, flags), owner), text_(text), flags_(flags) {}
  bool answeredByNobody() const { return unattended_; }

 protected:
  bool onInitDialog() override {
    FontHandle f = font();
    DC measure(scratch_);
    measure.setFont(f);
    unsigned kind = flags_ & 0xF0;
    int iconSide = kind ? 32 : 0;
    int textLeft = 12 + (kind ? iconSide + 12 : 0);
    int textWidth = 0;
    auto lines = measure.wrap(text_, 420);
    for (const auto& line : lines) textWidth = std::max(textWidth, f->textWidth(line));
    int lineHeight = f->metrics().height;
    int textHeight = std::max<int>(lines.size() * lineHeight, iconSide);
    const auto& buttons = buttonsOf(flags_);
    int buttonW = 80, buttonH = 26, gap = 8;
    int buttonsW = int(buttons.size()) * buttonW + (int(buttons.size()) - 1) * gap;
    int clientW = std::max(textLeft + textWidth + 16, buttonsW + 24);
    clientW = std::max(clientW, f->textWidth(text()) + 60);
    int clientH = 16 + textHeight + 16 + buttonH + 12;
    if (kind) {
      auto* icon = adopt(std::make_unique<MessageIcon>(kind));
      icon->create(this, 20, L"", {12, 16, 12 + iconSide, 16 + iconSide}, WS_CHILD | WS_VISIBLE);
    }
    auto* label = adopt(std::make_unique<Static>());
    int textTop = 16 + (textHeight - int(lines.size()) * lineHeight) / 2;
    label->create(this, 0xFFFF, text_, {textLeft, textTop, clientW - 12, textTop + int(lines.size()) * lineHeight},
                  WS_CHILD | WS_VISIBLE | SS_LEFT);
    int x = clientW - 12 - buttonsW, y = clientH - 12 - buttonH;
    Button* focus = nullptr;
    int preferred = defaultButton(flags_);
    for (int id : buttons) {
      auto* b = adopt(std::make_unique<Button>());
      b->create(this, id, buttonText(id), {x, y, x + buttonW, y + buttonH},
                WS_CHILD | WS_VISIBLE | WS_TABSTOP | (id == preferred ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON));
      if (id == preferred) focus = b;
      x += buttonW + gap;
    }
    resizeClient({clientW, clientH});
    if (focus) focus->setFocus();
    return false;
  }
  bool onCommand(int id, int code, Window*) override {
    if (code != BN_CLICKED) return false;
    endDialog(id);
    return true;
  }
  void onCancel() override {
    // Escape answers Cancel only when the box has it (an OK-only box takes OK).
    const auto& buttons = buttonsOf(flags_);
    if (std::find(buttons.begin(), buttons.end(), IDCANCEL) != buttons.end()) return endDialog(IDCANCEL);
    if (buttons.size() == 1) endDialog(buttons.front());
  }
  void onUnattended() override {
    unattended_ = true;
    endDialog(defaultButton(flags_));
  }

 private:
  static DialogTemplate boxTemplate(std::wstring_view caption, unsigned flags) {
    DialogTemplate t;
    t.caption = caption;
    t.cx = 180;
    t.cy = 60;
    t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    t.exStyle = (flags & MB_TOPMOST) ? WS_EX_TOPMOST : 0;
    t.fontFace = L"新細明體";
    t.fontPoints = 9;
    return t;
  }
  std::wstring text_;
  unsigned flags_;
  bool unattended_ = false;
  Bitmap scratch_{1, 1};
};

}  // namespace

int messageBox(Window* owner, std::wstring_view text, std::wstring_view caption, unsigned flags) {
  auto& s = state();
  int answer;
  if (!s.answers.empty()) {
    answer = s.answers.front();
    s.answers.pop_front();
  } else {
    MessageBoxDialog box(owner, text, caption, flags);
    answer = box.doModal();
    if (answer < 0 || box.answeredByNobody()) {
      answer = defaultButton(flags);
      printToConsole(std::wstring(caption) + L": " + std::wstring(text) + L"\n");
    }
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
