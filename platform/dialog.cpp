// Dialogs: creation from a resource in dialog units, data exchange, bound handlers, keyboard
// navigation and the modal loop. The loop is the headless one: the scripted user acts when the
// dialog shows, then the simulated clock runs the dialog's timers until it ends; a dialog that
// nobody ends and no timer will end is cancelled, so no call ever hangs.
#include "platform/dialog.h"

#include <cwchar>

#include "platform/codepage.h"
#include "platform/keyboard.h"
#include "platform/scripted_user.h"

namespace plat {

namespace {

// How long the loop lets timers run after the scripted user is done before giving up on a
// dialog that stays open: a minute of simulated time.
constexpr unsigned kUnattendedLimit = 60000;

// The text of a control through its kind (combo boxes keep theirs apart).
std::wstring controlText(Window* w) { return w ? w->text() : L""; }

// True when a window is one of the windows that exist now (it may have been destroyed since a
// pointer to it was kept).
bool isLiveWindow(const Window* target) {
  std::function<bool(const Window*)> within = [&](const Window* w) {
    if (w == target) return true;
    for (const Window* c : w->children())
      if (within(c)) return true;
    return false;
  };
  for (const Window* top : topLevelWindows())
    if (within(top)) return true;
  return false;
}

}  // namespace

Dialog::Dialog(int templateId, Window* owner) : requestedId_(templateId), owner_(owner) {
  setClassName(L"#32770");
}

Dialog::Dialog(DialogTemplate dialogTemplate, Window* owner)
    : owner_(owner), template_(std::move(dialogTemplate)), haveTemplate_(true) {
  setClassName(L"#32770");
}

Dialog::~Dialog() {
  if (exists()) destroy();
  collectDestroyedWindows();
}

Point Dialog::baseUnits() const {
  FontMetrics m = font()->metrics();
  return {std::max(1, m.averageWidth), std::max(1, m.height)};
}

Rect Dialog::mapDialogRect(Rect du) const {
  Point base = baseUnits();
  return {du.left * base.x / 4, du.top * base.y / 8, du.right * base.x / 4, du.bottom * base.y / 8};
}

void Dialog::resizeClient(Size client) {
  Rect area = clientArea();
  int w = client.cx + (rect().width() - area.width()), h = client.cy + (rect().height() - area.height());
  Size screen = screenSize();
  move({(screen.cx - w) / 2, (screen.cy - h) / 2, (screen.cx - w) / 2 + w, (screen.cy - h) / 2 + h});
}

bool Dialog::create(bool modal) {
  if (!haveTemplate_) {
    const DialogTemplate* found = findDialog(requestedId_);
    if (!found) return false;
    template_ = *found;
    haveTemplate_ = true;
  }
  modal_ = modal;
  ended_ = false;
  setFont(Font::fromPoints(template_.fontFace, template_.fontPoints));
  unsigned style = (template_.style & ~(WS_VISIBLE | WS_CHILD)) | WS_POPUP;
  // The template gives the client area; the window adds its frame and caption around it.
  Window::create(owner_, template_.id, template_.caption, {0, 0, 100, 100}, style, template_.exStyle);
  Rect client = mapDialogRect({0, 0, template_.cx, template_.cy});
  Rect area = clientArea();
  int w = client.width() + (100 - area.width()), h = client.height() + (100 - area.height());
  Size screen = screenSize();
  int x = (screen.cx - w) / 2, y = (screen.cy - h) / 2;  // centred, as DS_CENTER and most owners place it
  move({x, y, x + w, y + h});
  createControls();
  DataExchange dx(*this, false);
  doDataExchange(dx);
  // onInitDialog answers false when it set the focus itself.
  if (onInitDialog() || !Window::focus() || Window::focus()->topLevel() != this) nextFocus();
  show(true);
  return true;
}

void Dialog::createControls() {
  for (const ControlTemplate& t : template_.controls) {
    std::unique_ptr<Window> control = createControl(t.className);
    if (!control) control = std::make_unique<Static>();  // an unknown class still holds its place
    Rect r = mapDialogRect({t.x, t.y, t.x + t.cx, t.y + t.cy});
    Window* raw = adopt(std::move(control));
    raw->create(this, t.id, t.text, r, t.style | WS_CHILD, t.exStyle);
    // Icons named by number in a control's text ("#4018"), as resource scripts give them.
    if (t.text.size() > 1 && t.text[0] == L'#') {
      int iconId = std::wcstol(t.text.c_str() + 1, nullptr, 10);
      if (auto* s = dynamic_cast<Static*>(raw)) {
        s->setIcon((t.style & SS_TYPEMASK) == SS_BITMAP ? loadBitmap(iconId) : loadIcon(iconId));
        s->setText(L"");
      } else if (auto* b = dynamic_cast<Button*>(raw)) {
        b->setIcon(loadIcon(iconId));
        b->setText(L"");
      }
    }
  }
}

int Dialog::doModal() {
  Window* previousFocus = Window::focus();
  if (!create(true)) return -1;
  runModalLoop();
  onClose();
  detail::windowClosing(*this);
  Window* previous = parent();
  destroy();
  if (previous) setForegroundWindow(previous->topLevel());
  // The focus goes back where it was, when that window is still there.
  if (previousFocus && isLiveWindow(previousFocus)) previousFocus->setFocus();
  return result_;
}

void Dialog::runModalLoop() {
  // The owner is disabled while the dialog runs, as a modal dialog disables it.
  Window* owner = parent();
  bool ownerWasEnabled = owner && owner->enabled();
  if (owner) owner->enable(false);
  detail::windowShown(*this);
  unsigned start = tickCount();
  while (!ended_) {
    unsigned spent = tickCount() - start;
    if (spent >= kUnattendedLimit || !fireNextTimer(kUnattendedLimit - spent)) {
      onUnattended();
      if (!ended_) endDialog(2);
    }
  }
  if (owner && ownerWasEnabled) owner->enable(true);
}

bool Dialog::createModeless() {
  if (!create(false)) return false;
  detail::windowShown(*this);
  return true;
}

void Dialog::endDialog(int result) {
  result_ = result;
  ended_ = true;
  if (!modal_ && exists()) {
    onClose();
    detail::windowClosing(*this);
    destroy();
  }
}

bool Dialog::updateData(bool save) {
  DataExchange dx(*this, save);
  doDataExchange(dx);
  return !dx.failed();
}

void Dialog::onOK() {
  if (updateData(true)) endDialog(1);
}

std::wstring Dialog::itemText(int id) const { return controlText(child(id)); }

void Dialog::setItemText(int id, std::wstring_view text) {
  if (Window* w = child(id)) w->setText(text);
}

void Dialog::onCommand(int code, int id, std::function<void()> handler) {
  commandHandlers_[{code, id}] = std::move(handler);
}

void Dialog::onNotification(int code, int id, std::function<void(Notification&)> handler) {
  notifyHandlers_[{code, id}] = std::move(handler);
}

bool Dialog::onCommand(int id, int code, Window* from) {
  if (auto it = commandHandlers_.find({code, id}); it != commandHandlers_.end()) {
    it->second();
    return true;
  }
  if (code == BN_CLICKED && id == 1) return onOK(), true;
  if (code == BN_CLICKED && id == 2) return onCancel(), true;
  return false;
}

void Dialog::onNotify(Notification& n) {
  if (auto it = notifyHandlers_.find({n.code, n.id}); it != notifyHandlers_.end()) it->second(n);
}

void Dialog::onPaint(DC& dc) { dc.fillRect(clientRect(), colors::face); }

void Dialog::nextFocus(bool backwards) {
  std::vector<Window*> order;
  for (Window* c : children())
    if (c->isVisible() && c->isEnabled() && c->canTakeFocus()) order.push_back(c);
  if (order.empty()) return;
  auto it = std::find(order.begin(), order.end(), Window::focus());
  std::size_t index;
  if (it == order.end())
    index = 0;
  else
    index = (std::size_t(it - order.begin()) + (backwards ? order.size() - 1 : 1)) % order.size();
  order[index]->setFocus();
}

bool Dialog::keyDown(int vk) {
  if (preTranslateKey(vk, true)) return false;
  Window* focus = Window::focus();
  bool inDialog = focus && focus->topLevel() == this;
  if (inDialog && focus->isEnabled() && focus->wantsKey(vk)) {
    focus->onKeyDown(vk);
    return true;
  }
  switch (vk) {
    case VK_RETURN: {
      // Enter clicks the focused push button, else the default button, else OK.
      auto* button = inDialog ? dynamic_cast<Button*>(focus) : nullptr;
      if (button && !button->isCheckBox() && !button->isRadio()) return button->click(), false;
      for (Window* c : children())
        if (auto* b = dynamic_cast<Button*>(c); b && b->isDefault() && b->isEnabled())
          return b->click(), false;
      if (auto* ok = item<Button>(1); ok && !ok->isEnabled()) return false;
      onCommand(1, BN_CLICKED, nullptr);
      return false;
    }
    case VK_ESCAPE:
      if (auto* cancel = item<Button>(2); cancel && !cancel->isEnabled()) return false;
      onCommand(2, BN_CLICKED, nullptr);
      return false;
    case VK_TAB:
      nextFocus(keyState(VK_SHIFT) < 0);
      return false;
    default:
      if (!inDialog || !focus->isEnabled()) return false;
      focus->onKeyDown(vk);
      return true;
  }
}

void Dialog::keyUp(int vk) {
  if (preTranslateKey(vk, false)) return;
  if (Window* focus = Window::focus(); focus && focus->topLevel() == this) focus->onKeyUp(vk);
}

void Dialog::character(wchar_t c) {
  Window* focus = Window::focus();
  if (focus && focus->topLevel() == this && focus->isEnabled()) focus->onChar(c);
}

// ---- data exchange

void ddxText(DataExchange& dx, int id, std::wstring& value) {
  Window* w = dx.dialog().child(id);
  if (!w) return;
  if (dx.saving())
    value = w->text();
  else if (w->text() != value)
    w->setText(value);
}

void ddxText(DataExchange& dx, int id, int& value) {
  std::wstring text = std::to_wstring(value);
  ddxText(dx, id, text);
  if (!dx.saving()) return;
  wchar_t* end = nullptr;
  long parsed = std::wcstol(text.c_str(), &end, 10);
  if (end == text.c_str()) return dx.fail();
  value = int(parsed);
}

void ddxText(DataExchange& dx, int id, double& value) {
  wchar_t buffer[64];
  std::swprintf(buffer, 64, L"%g", value);
  std::wstring text = buffer;
  ddxText(dx, id, text);
  if (!dx.saving()) return;
  wchar_t* end = nullptr;
  double parsed = std::wcstod(text.c_str(), &end);
  if (end == text.c_str()) return dx.fail();
  value = parsed;
}

void ddxCheck(DataExchange& dx, int id, int& value) {
  auto* b = dx.dialog().item<Button>(id);
  if (!b) return;
  if (dx.saving())
    value = b->checked();
  else
    b->setCheck(value);
}

void ddxRadio(DataExchange& dx, int firstId, int& index) {
  Window* first = dx.dialog().child(firstId);
  if (!first || !first->parent()) return;
  const auto& siblings = first->parent()->children();
  auto it = std::find(siblings.begin(), siblings.end(), first);
  int i = 0;
  if (dx.saving()) index = -1;
  for (; it != siblings.end(); ++it) {
    if (it != std::find(siblings.begin(), siblings.end(), first) && ((*it)->style() & WS_GROUP)) break;
    auto* b = dynamic_cast<Button*>(*it);
    if (!b || !b->isRadio()) continue;
    if (dx.saving()) {
      if (b->checked()) index = i;
    } else {
      b->setCheck(i == index ? BST_CHECKED : BST_UNCHECKED);
    }
    ++i;
  }
}

void ddxCBIndex(DataExchange& dx, int id, int& index) {
  auto* c = dx.dialog().item<ComboBox>(id);
  if (!c) return;
  if (dx.saving())
    index = c->curSel();
  else
    c->setCurSel(index);
}

void ddxCBString(DataExchange& dx, int id, std::wstring& value) {
  auto* c = dx.dialog().item<ComboBox>(id);
  if (!c) return;
  if (dx.saving())
    value = c->text();
  else
    c->setText(value);
}

void ddxLBIndex(DataExchange& dx, int id, int& index) {
  auto* l = dx.dialog().item<ListBox>(id);
  if (!l) return;
  if (dx.saving())
    index = l->curSel();
  else
    l->setCurSel(index);
}

}  // namespace plat
