// The quick number pad. The handler reads the mode and its arguments, runs the dialog modally in
// kcCore's resources and checks the value the user confirmed against the range or the sign
// constraint. The dialog types digits into its edit, keeps the common values (list view 2054,
// stored by quick_numbers), lets them be edited in place, and switches the keyboard to the US
// layout while it is open.
#include "number_pad.h"

#include <cmath>
#include <cwchar>
#include <optional>

#include "frame/args.h"
#include "frame/module.h"
#include "platform/dialog.h"
#include "platform/keyboard.h"
#include "platform/msgbox.h"
#include "quick_numbers.h"

namespace core {

namespace {

constexpr int IDD_DIGIT = 3004;
constexpr int IDC_VALUE = 218, IDC_MINIMUM = 2059, IDC_MAXIMUM = 2060, IDC_POINT = 2027,
              IDC_DIGIT0 = 2087, IDC_VALUES = 2054, IDC_HELP = 2050, IDC_OK = 101;
constexpr int IDI_POINT = 4007, IDI_DIGIT0 = 4018, IDI_OK = 4028, IDI_CANCEL = 4012;
constexpr int kCloseTimer = 1, kBlinkTimer = 2;

enum class Kind { Range, Constraint, Free };

struct PadRequest {
  bool real = true;
  Kind kind = Kind::Free;
  double minimum = -1e100, maximum = 1e100;
  int constraint = -1;
  double value = 0;
};

// The drawing's insunits, 0 when it cannot be read.
int drawingUnits() {
  resbuf rb;
  return acedGetVar(L"insunits", &rb) == RTNORM && rb.restype == RTSHORT ? rb.resval.rint : 0;
}

std::wstring formatted(const wchar_t* format, double value) {
  wchar_t text[400];
  std::swprintf(text, 400, format, value);
  return text;
}

// The in-place editor over a common value: digits, the point and backspace only; Enter, Tab or
// a click outside commits, Escape cancels.
class ValueEditor : public plat::Edit {
 public:
  explicit ValueEditor(std::function<void(bool)> done) : done_(std::move(done)) {}
  bool wantsKey(int) const override { return true; }
  bool onKeyDown(int vk) override {
    if (vk == plat::VK_RETURN || vk == plat::VK_TAB || vk == plat::VK_ESCAPE) {
      finish(vk != plat::VK_ESCAPE);
      return true;
    }
    return Edit::onKeyDown(vk);
  }
  void onChar(wchar_t c) override {
    if ((c >= L'0' && c <= L'9') || c == L'.' || c == L'\b') Edit::onChar(c);
  }
  void onMouseDown(plat::MouseButton button, plat::Point p) override {
    if (!clientRect().contains(p)) return finish(true);
    Edit::onMouseDown(button, p);
  }

 private:
  void finish(bool commit) {
    if (finished_) return;
    finished_ = true;
    releaseCapture();
    done_(commit);
  }
  std::function<void(bool)> done_;
  bool finished_ = false;
};

class fnDigit : public plat::Dialog {
 public:
  fnDigit(const PadRequest& request, plat::Window* owner)
      : Dialog(IDD_DIGIT, owner), request_(request), factor_(displayFactor(drawingUnits())) {}
  double value() const { return value_; }

 protected:
  bool onInitDialog() override {
    previousLayout_ = plat::activeKeyboardLayout();
    plat::loadKeyboardLayout(L"0x0409");
    setIcon(plat::loadIcon(4002));
    setLabels();
    placeBesideCentre();
    setIcons();
    item<plat::Window>(IDC_POINT)->enable(request_.real);
    fillValues();
    attachTooltip();
    for (int d = 0; d <= 9; ++d) onClicked(IDC_DIGIT0 + d, [this, d] { append(wchar_t(L'0' + d)); });
    onClicked(IDC_POINT, [this] { append(L'.'); });
    onClicked(IDC_OK, [this] { onOK(); });
    onCommand(plat::EN_CHANGE, IDC_VALUE, [this] { value_ = std::wcstod(itemText(IDC_VALUE).c_str(), nullptr); });
    onNotification(plat::NM_CLICK, IDC_VALUES, [this](plat::Notification& n) { pickValue(n.item); });
    onNotification(plat::NM_RCLICK, IDC_VALUES, [this](plat::Notification& n) {
      if (n.item >= 0) editValue(n.item);
    });
    auto* edit = item<plat::Edit>(IDC_VALUE);
    edit->setText(request_.real ? formatted(L"%f", request_.value)
                                : std::to_wstring(static_cast<int>(request_.value)));
    edit->setFocus();
    edit->setSelection(0, -1);
    return false;
  }

  bool preTranslateKey(int vk, bool down) override {
    if (!down) return false;
    if (vk == plat::VK_INSERT && !editor_) {
      addValue();
      return true;
    }
    int button = vk == plat::VK_DECIMAL ? IDC_POINT
                 : (vk >= plat::VK_NUMPAD0 && vk <= plat::VK_NUMPAD9) ? IDC_DIGIT0 + (vk - plat::VK_NUMPAD0)
                                                                       : 0;
    if (!button || editor_) return false;
    blink(button);
    // The key itself goes to the value, wherever the focus is.
    item<plat::Edit>(IDC_VALUE)->onChar(vk == plat::VK_DECIMAL ? L'.' : wchar_t(L'0' + vk - plat::VK_NUMPAD0));
    return true;
  }

  void onTimer(int id) override {
    killTimer(id);
    if (id == kCloseTimer) onOK();
    if (id == kBlinkTimer && blinking_) std::exchange(blinking_, nullptr)->show(true);
  }

  void onClose() override {
    if (editor_) finishEdit(false);
    if (listChanged_) {
      std::vector<double> values;
      auto* list = item<plat::ListView>(IDC_VALUES);
      for (int i = 0; i < list->itemCount(); ++i)
        values.push_back(std::wcstod(list->itemText(i).c_str(), nullptr));
      saveQuickNumbers(values, factor_);
    }
    plat::activateKeyboardLayout(previousLayout_);
  }

 private:
  // The range labels, or the kind of number and its constraint.
  void setLabels() {
    if (request_.kind == Kind::Range) {
      ACHAR text[100];
      acdbRToS(request_.minimum, -1, request_.real ? -1 : 0, text);
      setItemText(IDC_MINIMUM, std::wstring(L"最小值:") + text);
      acdbRToS(request_.maximum, -1, request_.real ? -1 : 0, text);
      setItemText(IDC_MAXIMUM, std::wstring(L"最大值:") + text);
    } else if (request_.kind == Kind::Constraint) {
      const wchar_t* label = request_.constraint == 0 ? L">=0" : request_.constraint == 1 ? L">0"
                             : request_.real ? L"實數" : L"整數";
      setItemText(IDC_MINIMUM, label);
      setItemText(IDC_MAXIMUM, L"");
    } else {
      setItemText(IDC_MINIMUM, L"");
      setItemText(IDC_MAXIMUM, L"");
    }
  }

  // Right of the screen's centre by half the width plus 20 pixels, kept on the screen.
  void placeBesideCentre() {
    plat::Rect r = rect();
    int dx = r.width() / 2 + 20;
    r = r.offset(dx, 0);
    int screen = plat::screenSize().cx;
    if (r.right > screen) r = r.offset(screen - r.right, 0);
    move(r);
  }

  void setIcons() {
    for (int d = 0; d <= 9; ++d) item<plat::Button>(IDC_DIGIT0 + d)->setIcon(plat::loadIcon(IDI_DIGIT0 + d));
    item<plat::Button>(IDC_POINT)->setIcon(plat::loadIcon(IDI_POINT));
    item<plat::Button>(IDC_OK)->setIcon(plat::loadIcon(IDI_OK));
    item<plat::Button>(2)->setIcon(plat::loadIcon(IDI_CANCEL));
  }

  void fillValues() {
    auto* list = item<plat::ListView>(IDC_VALUES);
    list->setExtendedStyle(plat::LVS_EX_GRIDLINES | plat::LVS_EX_FULLROWSELECT);
    list->insertColumn(0, {L"常用數值", list->clientRect().width() - 2, 1});
    for (double v : loadQuickNumbers(factor_)) list->insertItem(-1, entryText(v, factor_));
  }

  void attachTooltip() {
    auto* tip = adopt(std::make_unique<plat::ToolTip>());
    tip->create(this);
    tip->setTitle(L"常用數值編修");
    tip->addTool(child(IDC_HELP),
                 L"● 按[Ins]增加新數值\n● 按滑鼠右鍵修改數值\n● 修改數值時清空即可刪除該數值");
  }

  // Types at the end of the value; the focus stays with the value, so Enter still confirms.
  void append(wchar_t c) {
    auto* edit = item<plat::Edit>(IDC_VALUE);
    edit->setText(edit->text() + c);
    edit->setFocus();
    edit->setSelection(int(edit->text().size()), int(edit->text().size()));
  }

  // Hidden for 50 ms, then shown again.
  void blink(int id) {
    if (blinking_) blinking_->show(true);
    blinking_ = child(id);
    blinking_->show(false);
    setTimer(kBlinkTimer, 50);
  }

  void pickValue(int index) {
    if (index < 0 || editor_) return;
    auto* list = item<plat::ListView>(IDC_VALUES);
    double v = std::wcstod(list->itemText(index).c_str(), nullptr);
    item<plat::Edit>(IDC_VALUE)->setText(formatted(L"%f", v));
    setTimer(kCloseTimer, 100);
  }

  void addValue() {
    auto* list = item<plat::ListView>(IDC_VALUES);
    editValue(list->insertItem(0, L""));
  }

  void editValue(int index) {
    if (editor_) finishEdit(true);
    auto* list = item<plat::ListView>(IDC_VALUES);
    listChanged_ = true;
    list->ensureVisible(index);
    editedItem_ = index;
    auto editor = std::make_unique<ValueEditor>([this](bool commit) { finishEdit(commit); });
    editor->setFont(list->font());
    editor->create(list, 0, list->itemText(index), list->subItemRect(index, 0).inflate(1, 1),
                   plat::WS_CHILD | plat::WS_VISIBLE | plat::WS_BORDER | plat::ES_RIGHT);
    editor_ = list->adopt(std::move(editor));
    editor_->setFocus();
    editor_->setSelection(0, -1);
    editor_->setCapture();
  }

  // Commit: the entry goes and the typed value, if any, comes back in its sorted place. Cancel:
  // an entry left empty goes.
  void finishEdit(bool commit) {
    if (!editor_) return;
    auto* list = item<plat::ListView>(IDC_VALUES);
    plat::Edit* editor = std::exchange(editor_, nullptr);
    std::wstring typed = editor->text();
    if (plat::Window::capture() == editor) plat::Window::releaseCapture();
    editor->destroy();
    if (commit) {
      list->deleteItem(editedItem_);
      if (!typed.empty()) list->insertItem(-1, entryText(std::wcstod(typed.c_str(), nullptr), factor_));
    } else if (list->itemText(editedItem_).empty()) {
      list->deleteItem(editedItem_);
    }
    item<plat::Edit>(IDC_VALUE)->setFocus();
  }

  PadRequest request_;
  double factor_;
  double value_ = 0;
  plat::KeyboardLayout previousLayout_ = 0;
  plat::Window* blinking_ = nullptr;
  plat::Edit* editor_ = nullptr;
  int editedItem_ = -1;
  bool listChanged_ = false;
};

// Reads the mode and the arguments of its kind; what is missing keeps its default.
PadRequest readRequest(resbuf* args) {
  PadRequest request;
  kc::Args in(args);
  auto mode = in.takeShort();
  if (!mode) return request;
  request.real = (*mode & 1) != 0;
  int kind = *mode & 6;
  request.kind = kind == 0 ? Kind::Range : kind == 2 ? Kind::Constraint : Kind::Free;
  if (request.kind == Kind::Range) {
    if (auto v = in.takeNumber()) request.minimum = *v;
    if (auto v = in.takeNumber()) request.maximum = *v;
    if (auto v = in.takeNumber()) request.value = *v;
  } else if (request.kind == Kind::Constraint) {
    if (auto v = in.takeNumber()) request.value = *v;
    if (auto c = in.takeShort()) request.constraint = *c;
  }
  return request;
}

// True when the value passes the range or the constraint of the request.
bool passes(const PadRequest& request, double value) {
  if (request.kind == Kind::Range) return value >= request.minimum && value <= request.maximum;
  if (request.kind == Kind::Constraint) {
    if (request.constraint == 0) return value >= 0;
    if (request.constraint == 1) return value > 0;
  }
  return true;
}

}  // namespace

int c_digit(resbuf* args) {
  PadRequest request = readRequest(args);
  double value;
  {
    plat::ResourceOverride own(kc::thisModule().resources());
    fnDigit pad(request, plat::foregroundWindow());
    if (pad.doModal() != plat::IDOK) return RTNORM;
    value = pad.value();
  }
  if (!passes(request, value)) {
    plat::messageBox(plat::foregroundWindow(), L"輸入數字超出範圍", L"計算機訊息",
                     plat::MB_ICONERROR | plat::MB_TOPMOST);
    return RTNORM;
  }
  if (request.kind == Kind::Range)
    acedRetStr(formatted(request.real ? L"%.2f" : L"%.0f", value).c_str());
  else if (request.real)
    acedRetReal(value);
  else
    acedRetInt(static_cast<int>(value));
  return RTNORM;
}

}  // namespace core
