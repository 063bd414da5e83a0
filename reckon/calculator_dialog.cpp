// The calculator dialog: a line-numbered editor of expressions, one a line, with a total
// recalculated on every change; unit and precision boxes; single-expression mode; joining the
// selected lines into one sum; a help panel that widens the dialog. It holds no arithmetic of its
// own: running_total does the sums.
#include "calculator_dialog.h"

#include <cstdlib>
#include <cwchar>
#include <vector>

#include "frame/module.h"
#include "platform/dialog.h"
#include "platform/readymade.h"
#include "running_total.h"

namespace reckon {

namespace {

constexpr int IDD_CALC = 101, IDI_CALC = 103;
constexpr int IDC_LINES = 1002, IDC_UNIT = 1003, IDC_SUBTOTAL = 1004, IDC_TOTAL = 1005,
              IDC_SINGLE = 1006, IDC_RESULT = 1008, IDC_HELP = 1009, IDC_JOIN = 1010, IDC_PAGE = 2058;

// The restore list and the state the dialog returns.
struct CalcState {
  int unit = 7, subtotal = 2, total = 2, single = 0;
  std::wstring lines;  // the editor text, lines joined by CR LF
  std::wstring result;
};

// acdbRToS in decimal mode into a 32-character buffer.
std::wstring decimal(double value, int decimals) {
  ACHAR text[32];
  if (acdbRToS(value, 2, decimals, text) != RTNORM) return L"?";
  return text;
}

// Reads the ExpCal arguments by position; an item of another type keeps its default.
CalcState readRestoreList(const resbuf* rb) {
  CalcState state;
  int* shorts[] = {&state.unit, &state.subtotal, &state.total, &state.single};
  for (int* target : shorts) {
    if (!rb) return state;
    if (rb->restype == RTSHORT) *target = rb->resval.rint;
    rb = rb->rbnext;
  }
  if (!rb || rb->restype != RTLB) return state;
  for (rb = rb->rbnext; rb && rb->restype != RTLE; rb = rb->rbnext) {
    if (rb->restype != RTSTR) continue;
    if (!state.lines.empty()) state.lines += L"\r\n";
    state.lines += rb->resval.rstring;
  }
  return state;
}

resbuf* node(int type) {
  resbuf* rb = acutNewRb(type);
  return rb;
}

resbuf* stringNode(const std::wstring& text) {
  resbuf* rb = acutNewRb(RTSTR);
  rb->resval.rstring = static_cast<ACHAR*>(std::malloc((text.size() + 1) * sizeof(ACHAR)));
  std::wmemcpy(rb->resval.rstring, text.c_str(), text.size() + 1);
  return rb;
}

resbuf* shortNode(int value) {
  resbuf* rb = acutNewRb(RTSHORT);
  rb->resval.rint = static_cast<short>(value);
  return rb;
}

// The return list: the four settings, the result text, then the lines in a list.
resbuf* returnList(const CalcState& state) {
  std::vector<resbuf*> nodes = {shortNode(state.unit), shortNode(state.subtotal),
                                shortNode(state.total), shortNode(state.single),
                                stringNode(state.result), node(RTLB)};
  for (const std::wstring& line : returnedLines(state.lines)) nodes.push_back(stringNode(line));
  nodes.push_back(node(RTLE));
  for (std::size_t i = 0; i + 1 < nodes.size(); ++i) nodes[i]->rbnext = nodes[i + 1];
  return nodes.front();
}

class fnCalc : public plat::Dialog {
 public:
  fnCalc(CalcState state, std::wstring helpPage, plat::Window* parent)
      : Dialog(IDD_CALC, parent), state_(std::move(state)), helpPage_(std::move(helpPage)) {}
  const CalcState& state() const { return state_; }

 protected:
  bool onInitDialog() override {
    setIcon(plat::loadIcon(IDI_CALC));
    resizeBy(-panelWidth());
    plat::FontHandle f = font();
    item<plat::Window>(IDC_RESULT)->setFont(plat::Font::create(f->face(), f->pixels() * 2));
    fillBoxes();
    auto* unit = item<plat::ComboBox>(IDC_UNIT);
    unit->setCurSel(state_.unit);
    item<plat::ComboBox>(IDC_SUBTOTAL)->setCurSel(state_.subtotal);
    item<plat::ComboBox>(IDC_TOTAL)->setCurSel(state_.total);
    item<plat::Button>(IDC_SINGLE)->setCheck(state_.single ? plat::BST_CHECKED : plat::BST_UNCHECKED);
    item<plat::Edit>(IDC_LINES)->setText(state_.lines);
    onCommand(plat::EN_CHANGE, IDC_LINES, [this] { recalculate(); });
    onCommand(plat::CBN_SELCHANGE, IDC_SUBTOTAL, [this] { recalculate(); });
    onCommand(plat::CBN_SELCHANGE, IDC_TOTAL, [this] { recalculate(); });
    onClicked(IDC_SINGLE, [this] { recalculate(); });
    onClicked(IDC_JOIN, [this] { joinSelection(); });
    onClicked(IDC_HELP, [this] { toggleHelp(); });
    recalculate();
    item<plat::Edit>(IDC_LINES)->setFocus();
    return false;
  }

  void doDataExchange(plat::DataExchange& dx) override {
    plat::ddxText(dx, IDC_LINES, state_.lines);
    plat::ddxText(dx, IDC_RESULT, state_.result);
    plat::ddxCBIndex(dx, IDC_UNIT, state_.unit);
    plat::ddxCBIndex(dx, IDC_SUBTOTAL, state_.subtotal);
    plat::ddxCBIndex(dx, IDC_TOTAL, state_.total);
    plat::ddxCheck(dx, IDC_SINGLE, state_.single);
  }

  void onOK() override {
    if (!updateData(true)) return;
    std::erase(state_.lines, L'\r');
    endDialog(plat::IDOK);
  }

 private:
  void fillBoxes() {
    auto* unit = item<plat::ComboBox>(IDC_UNIT);
    for (const wchar_t* name : {L"公尺", L"公分", L"公厘", L"㎡", L"ｃ㎡", L"ｍ㎡", L"坪", L"無"})
      unit->addString(name);
    for (int box : {IDC_SUBTOTAL, IDC_TOTAL}) {
      auto* decimals = item<plat::ComboBox>(box);
      for (int n = 0; n <= 8; ++n) decimals->addString(n == 0 ? L"0" : L"0." + std::wstring(n, L'0'));
    }
  }

  // The help panel's width and the 9-pixel margin the dialog narrows or widens by.
  int panelWidth() const { return child(IDC_PAGE)->rect().width() + 9; }

  void resizeBy(int dx) {
    plat::Rect r = rect();
    r.right += dx;
    move(r);
  }

  void recalculate() {
    bool single = item<plat::Button>(IDC_SINGLE)->checked() == plat::BST_CHECKED;
    item<plat::Window>(IDC_SUBTOTAL)->enable(!single);
    std::wstring shown = runningTotal(itemText(IDC_LINES), single,
                                      item<plat::ComboBox>(IDC_SUBTOTAL)->curSel(),
                                      item<plat::ComboBox>(IDC_TOTAL)->curSel(), decimal);
    setItemText(IDC_RESULT, shown);
  }

  void joinSelection() {
    auto* editor = item<plat::Edit>(IDC_LINES);
    auto [start, end] = editor->selection();
    if (start == end) return;
    editor->replaceSelection(joinedLines(editor->selectedText()), true);
  }

  void toggleHelp() {
    auto* button = item<plat::Button>(IDC_HELP);
    helpOpen_ = !helpOpen_;
    resizeBy(helpOpen_ ? panelWidth() : -panelWidth());
    button->setText(helpOpen_ ? L"說明 <<" : L"說明 >>");
    if (helpOpen_) item<plat::HtmlView>(IDC_PAGE)->navigate(helpPage_);  // again on every opening
  }

  CalcState state_;
  std::wstring helpPage_;
  bool helpOpen_ = false;
};

}  // namespace

int runCalculator(resbuf* args, const std::wstring& helpFolder) {
  CalcState state = readRestoreList(args);
  plat::ResourceOverride own(kc::thisModule().resources());
  fnCalc dialog(std::move(state), helpFolder + L"rCaCal.html", plat::foregroundWindow());
  if (dialog.doModal() != plat::IDOK) return RTNORM;
  resbuf* list = returnList(dialog.state());
  acedRetList(list);
  acutRelRb(list);
  return RTNORM;
}

}  // namespace reckon
