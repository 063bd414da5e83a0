// Windows, focus, capture, timers on the simulated clock, the screen and the clipboard. A
// destroyed window leaves every list (top level, focus, capture, timers) at once; the objects the
// platform owned for it are freed only when the current event is over, so a handler may destroy
// its own window.
#include "platform/window.h"

#include <algorithm>
#include <map>
#include <utility>

namespace plat {

namespace {

struct Timer {
  Window* window;
  int id;
  unsigned interval;
  unsigned long long due;
  unsigned long long order;  // ties fire in the order they were set
};

struct WindowSystem {
  std::vector<Window*> topLevel;
  Window* focus = nullptr;
  Window* capture = nullptr;
  Window* foreground = nullptr;
  Window* mainWindow = nullptr;
  Size screen{1920, 1080};
  unsigned long long now = 0;
  unsigned long long timerOrder = 0;
  std::vector<Timer> timers;
  std::vector<std::unique_ptr<Window>> destroyed;
  std::wstring clipboard;
};

WindowSystem& sys() {
  static WindowSystem s;
  return s;
}

constexpr int kCaptionHeight = 24;

}  // namespace

Window::Window() = default;

Window::~Window() {
  if (created_) {
    for (Window* c : std::vector<Window*>(children_)) c->detach();
    detach();
  }
}

void Window::create(Window* parent, int id, std::wstring_view text, Rect rect, unsigned style,
                    unsigned exStyle) {
  parent_ = parent;
  id_ = id;
  text_ = text;
  rect_ = rect;
  style_ = style;
  exStyle_ = exStyle;
  created_ = true;
  if (isChild() && parent)
    parent->children_.push_back(this);
  else
    sys().topLevel.push_back(this);
}

// Takes the window out of every list of the window system and of its parent.
void Window::detach() {
  auto& s = sys();
  if (!created_) return;
  created_ = false;
  if (s.focus == this) s.focus = nullptr;
  if (s.capture == this) s.capture = nullptr;
  if (s.foreground == this) s.foreground = nullptr;
  if (s.mainWindow == this) s.mainWindow = nullptr;
  std::erase_if(s.timers, [this](const Timer& t) { return t.window == this; });
  std::erase(s.topLevel, this);
  if (isChild() && parent_) std::erase(parent_->children_, this);
}

void Window::destroy() {
  if (!created_) return;
  // Popups owned by this window go first, as Windows destroys owned windows with their owner.
  for (Window* w : topLevelWindows())
    if (w->parent_ == this) w->destroy();
  for (Window* c : std::vector<Window*>(children_)) c->destroy();
  onDestroy();
  detach();
  if (parent_) {
    auto& owned = parent_->owned_;
    auto it = std::find_if(owned.begin(), owned.end(), [this](auto& p) { return p.get() == this; });
    if (it != owned.end()) {
      sys().destroyed.push_back(std::move(*it));
      owned.erase(it);
    }
  }
  for (auto& o : owned_) sys().destroyed.push_back(std::move(o));
  owned_.clear();
}

void collectDestroyedWindows() {
  auto dead = std::move(sys().destroyed);
  sys().destroyed.clear();
}

Window* Window::topLevel() {
  Window* w = this;
  while (w->isChild() && w->parent_) w = w->parent_;
  return w;
}

Window* Window::child(int id) const {
  for (Window* c : children_)
    if (c->id_ == id) return c;
  for (Window* c : children_)
    if (Window* deeper = c->child(id)) return deeper;
  return nullptr;
}

void Window::setText(std::wstring_view text) { text_ = text; }

void Window::move(Rect rect) {
  bool resized = rect.width() != rect_.width() || rect.height() != rect_.height();
  rect_ = rect;
  if (resized) onSize();
}

int Window::frameWidth() const {
  if (style_ & (WS_CAPTION | WS_DLGFRAME | WS_THICKFRAME)) return 3;
  if ((style_ & WS_BORDER) || (exStyle_ & (WS_EX_CLIENTEDGE | WS_EX_STATICEDGE)))
    return (exStyle_ & WS_EX_CLIENTEDGE) ? 2 : 1;
  return 0;
}

int Window::captionHeight() const {
  return (style_ & WS_CAPTION) == WS_CAPTION && !isChild() ? kCaptionHeight : 0;
}

Rect Window::clientArea() const {
  int f = frameWidth();
  Rect r{f, f + captionHeight(), rect_.width() - f, rect_.height() - f};
  if (style_ & WS_VSCROLL) r.right -= 16;
  if (style_ & WS_HSCROLL) r.bottom -= 16;
  if (r.right < r.left) r.right = r.left;
  if (r.bottom < r.top) r.bottom = r.top;
  return r;
}

Rect Window::clientRect() const {
  Rect a = clientArea();
  return {0, 0, a.width(), a.height()};
}

Point Window::clientToScreen(Point p) const {
  Rect a = clientArea();
  Point q{p.x + a.left + rect_.left, p.y + a.top + rect_.top};
  if (isChild() && parent_) return parent_->clientToScreen(q);
  return q;
}

Point Window::screenToClient(Point p) const {
  Point origin = clientToScreen({0, 0});
  return {p.x - origin.x, p.y - origin.y};
}

Rect Window::screenRect() const {
  if (!isChild() || !parent_) return rect_;
  Point tl = parent_->clientToScreen({rect_.left, rect_.top});
  return {tl.x, tl.y, tl.x + rect_.width(), tl.y + rect_.height()};
}

void Window::show(bool visible) {
  if (visible) {
    style_ |= WS_VISIBLE;
    if (!isChild()) sys().foreground = this;
  } else {
    style_ &= ~WS_VISIBLE;
    if (sys().focus && (sys().focus == this)) sys().focus = nullptr;
  }
}

bool Window::isVisible() const {
  for (const Window* w = this; w; w = w->isChild() ? w->parent_ : nullptr)
    if (!w->visible()) return false;
  return true;
}

void Window::enable(bool enabled) {
  if (enabled)
    style_ &= ~WS_DISABLED;
  else
    style_ |= WS_DISABLED;
  if (!enabled && sys().focus == this) sys().focus = nullptr;
}

bool Window::isEnabled() const {
  for (const Window* w = this; w; w = w->isChild() ? w->parent_ : nullptr)
    if (!w->enabled()) return false;
  return true;
}

FontHandle Window::font() const {
  if (font_) return font_;
  if (isChild() && parent_) return parent_->font();
  return Font::dialogDefault();
}

void Window::setFocus() {
  auto& s = sys();
  if (s.focus == this) return;
  Window* old = s.focus;
  s.focus = this;
  if (old) old->onKillFocus();
  if (s.focus == this) onSetFocus();
}

Window* Window::focus() { return sys().focus; }

void Window::setCapture() { sys().capture = this; }

void Window::releaseCapture() {
  Window* old = std::exchange(sys().capture, nullptr);
  if (old) old->onCaptureLost();
}

Window* Window::capture() { return sys().capture; }

void Window::setTimer(int id, unsigned milliseconds) {
  killTimer(id);
  auto& s = sys();
  s.timers.push_back({this, id, std::max(milliseconds, 1u), s.now + std::max(milliseconds, 1u),
                      s.timerOrder++});
}

void Window::killTimer(int id) {
  std::erase_if(sys().timers, [&](const Timer& t) { return t.window == this && t.id == id; });
}

bool Window::onCommand(int id, int code, Window* from) {
  return isChild() && parent_ ? parent_->onCommand(id, code, from) : false;
}

void Window::onNotify(Notification& n) {
  if (isChild() && parent_) parent_->onNotify(n);
}

void Window::notifyParent(int code) {
  if (parent_ && isChild()) parent_->onCommand(id_, code, this);
}

void Window::notifyParent(Notification& n) {
  n.id = id_;
  n.from = this;
  if (parent_ && isChild()) parent_->onNotify(n);
}

void Window::onPaint(DC& dc) { dc.fillRect(clientRect(), colors::face); }

void Window::onPaintFrame(DC& dc, Rect whole) {
  int f = frameWidth();
  if (f == 0) return;
  if (style_ & (WS_CAPTION | WS_DLGFRAME | WS_THICKFRAME)) {
    dc.fillRect(whole, colors::face);
    dc.frameRect(whole, colors::border);
  } else if (exStyle_ & WS_EX_CLIENTEDGE) {
    dc.drawEdge(whole, Edge::Sunken);
  } else {
    dc.frameRect(whole, colors::border);
  }
  if (int h = captionHeight()) {
    Rect bar{f, f, whole.right - f, f + h};
    bool active = sys().foreground == this;
    dc.fillRect(bar, active ? rgb(0, 84, 153) : rgb(150, 170, 190));
    dc.setTextColor(colors::highlightText);
    FontHandle old = dc.setFont(Font::dialogDefault());
    int textLeft = bar.left + 8;
    if (!icon_.empty()) {
      int side = h - 6;
      dc.stretchBlt({bar.left + 4, bar.top + 3, bar.left + 4 + side, bar.top + 3 + side}, icon_);
      textLeft += side + 2;
    }
    dc.drawText({textLeft, bar.top, bar.right - 30, bar.bottom}, text_,
                DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
    if (style_ & WS_SYSMENU) {  // the close box
      Rect x{bar.right - 22, bar.top + 4, bar.right - 6, bar.bottom - 4};
      dc.setPen({colors::highlightText, 1});
      dc.line({x.left + 3, x.top + 3}, {x.right - 3, x.bottom - 3});
      dc.line({x.right - 4, x.top + 3}, {x.left + 2, x.bottom - 3});
    }
    dc.setFont(old);
  }
}

void Window::paintInto(Bitmap& target, Point origin, Rect clip) {
  Rect whole{0, 0, rect_.width(), rect_.height()};
  Rect myClip = clip.intersect(whole.offset(origin.x, origin.y));
  if (myClip.empty()) return;
  {
    DC frame(target, origin, myClip);
    frame.setFont(font());
    onPaintFrame(frame, whole);
  }
  Rect area = clientArea();
  Point clientOrigin{origin.x + area.left, origin.y + area.top};
  Rect clientClip = myClip.intersect(area.offset(origin.x, origin.y));
  {
    DC dc(target, clientOrigin, clientClip);
    dc.setFont(font());
    onPaint(dc);
  }
  // Children paint over the client area, the first created at the bottom.
  for (Window* c : std::vector<Window*>(children_))
    if (c->visible())
      c->paintInto(target, {clientOrigin.x + c->rect_.left, clientOrigin.y + c->rect_.top},
                   clientClip);
}

Bitmap Window::render() {
  // The window and the popups it owns (tooltips, drop-down lists), on a desktop-coloured ground
  // wide enough for all of them.
  Rect mine = screenRect();
  std::vector<Window*> popups;
  Rect all = mine;
  for (Window* w : topLevelWindows())
    if (w != this && w->parent_ == this && w->visible()) {
      popups.push_back(w);
      Rect r = w->screenRect();
      all = {std::min(all.left, r.left), std::min(all.top, r.top), std::max(all.right, r.right),
             std::max(all.bottom, r.bottom)};
    }
  Bitmap image(all.width(), all.height(), rgb(58, 110, 165));
  Rect whole{0, 0, image.width(), image.height()};
  paintInto(image, {mine.left - all.left, mine.top - all.top}, whole);
  for (Window* w : popups) {
    Rect r = w->screenRect();
    w->paintInto(image, {r.left - all.left, r.top - all.top}, whole);
  }
  return image;
}

Window* Window::windowAt(Point client) {
  for (auto it = children_.rbegin(); it != children_.rend(); ++it) {
    Window* c = *it;
    if (c->visible() && c->rect_.contains(client)) {
      Rect a = c->clientArea();
      return c->windowAt({client.x - c->rect_.left - a.left, client.y - c->rect_.top - a.top});
    }
  }
  return this;
}

std::vector<Window*> topLevelWindows() { return sys().topLevel; }

Window* findWindow(std::wstring_view title) {
  for (Window* w : sys().topLevel)
    if (w->text() == title) return w;
  return nullptr;
}

Window* foregroundWindow() { return sys().foreground; }
void setForegroundWindow(Window* window) { sys().foreground = window; }
Window* mainWindow() { return sys().mainWindow; }
void setMainWindow(Window* window) { sys().mainWindow = window; }

Size screenSize() { return sys().screen; }

unsigned tickCount() { return unsigned(sys().now); }

bool timersPending() { return !sys().timers.empty(); }

bool fireNextTimer(unsigned limit) {
  auto& s = sys();
  auto next = std::min_element(s.timers.begin(), s.timers.end(), [](auto& a, auto& b) {
    return a.due != b.due ? a.due < b.due : a.order < b.order;
  });
  if (next == s.timers.end() || next->due > s.now + limit) return false;
  s.now = std::max(s.now, next->due);
  next->due = s.now + next->interval;
  next->order = s.timerOrder++;
  Window* window = next->window;
  int id = next->id;
  window->onTimer(id);
  collectDestroyedWindows();
  return true;
}

void advanceTime(unsigned milliseconds) {
  auto& s = sys();
  unsigned long long end = s.now + milliseconds;
  while (fireNextTimer(unsigned(end - s.now))) {
  }
  s.now = end;
}

void setClipboardText(std::wstring_view text) { sys().clipboard = text; }
std::wstring clipboardText() { return sys().clipboard; }

namespace scripted {
void setScreenSize(Size size) { sys().screen = size; }
}  // namespace scripted

}  // namespace plat
