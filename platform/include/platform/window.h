// Windows of the headless platform: top-level windows with owners and child windows (controls)
// with ids, text, a rectangle, styles, visibility, enabling, a font, keyboard focus and mouse
// capture; timers on a simulated clock; the screen; the clipboard. A window paints itself through
// a DC and renders, with its children, to a bitmap. Input arrives from the scripted user as calls
// of the event handlers, one at a time on the one thread, as Windows delivers messages.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/dc.h"
#include "platform/fonts.h"
#include "platform/graphics.h"
#include "platform/keyboard.h"

namespace plat {

// Window styles (the values Windows gives them).
constexpr unsigned WS_POPUP = 0x80000000, WS_CHILD = 0x40000000, WS_VISIBLE = 0x10000000,
                   WS_DISABLED = 0x08000000, WS_CAPTION = 0x00C00000, WS_BORDER = 0x00800000,
                   WS_DLGFRAME = 0x00400000, WS_VSCROLL = 0x00200000, WS_HSCROLL = 0x00100000,
                   WS_SYSMENU = 0x00080000, WS_THICKFRAME = 0x00040000, WS_GROUP = 0x00020000,
                   WS_TABSTOP = 0x00010000;
constexpr unsigned WS_EX_TOPMOST = 0x8, WS_EX_CLIENTEDGE = 0x200, WS_EX_STATICEDGE = 0x20000;

// Notification codes a control sends its parent.
constexpr int BN_CLICKED = 0, BN_DOUBLECLICKED = 5, EN_SETFOCUS = 0x100, EN_KILLFOCUS = 0x200,
              EN_CHANGE = 0x300, EN_UPDATE = 0x400, LBN_SELCHANGE = 1, LBN_DBLCLK = 2,
              CBN_SELCHANGE = 1, CBN_DBLCLK = 2, CBN_EDITCHANGE = 5, CBN_DROPDOWN = 7,
              STN_CLICKED = 0;
constexpr int NM_CLICK = -2, NM_DBLCLK = -3, NM_RETURN = -4, NM_RCLICK = -5, NM_SETFOCUS = -7,
              LVN_ITEMCHANGED = -101, LVN_COLUMNCLICK = -108, LVN_BEGINLABELEDIT = -175,
              LVN_ENDLABELEDIT = -176, LVN_KEYDOWN = -155, TVN_SELCHANGING = -401,
              TVN_SELCHANGED = -402, TVN_ITEMEXPANDING = -405, TVN_ITEMEXPANDED = -406;

// More virtual-key codes than keyboard.h names: the keys the scripted user presses.
constexpr int VK_INSERT = 0x2D, VK_HOME = 0x24, VK_END = 0x23, VK_PRIOR = 0x21, VK_NEXT = 0x22,
              VK_NUMPAD0 = 0x60, VK_NUMPAD9 = 0x69, VK_ADD = 0x6B, VK_SUBTRACT = 0x6D,
              VK_DECIMAL = 0x6E, VK_CAPITAL = 0x14;

enum class MouseButton { Left, Right, Middle };

// A notification with data (WM_NOTIFY): list views, tree views and the like.
struct Notification {
  int code = 0;
  int id = 0;
  class Window* from = nullptr;
  int item = -1;
  int subItem = -1;
  int oldItem = 0;  // TVN_SELCHANGING, TVN_SELCHANGED: the item selected before
  int action = 0;  // TVN_ITEMEXPANDING, TVN_ITEMEXPANDED: TVE_EXPAND or TVE_COLLAPSE
  Point point;  // in the sender's client coordinates
  int key = 0;
  std::wstring text;  // the edited label of LVN_ENDLABELEDIT
  bool cancelled = false;  // LVN_ENDLABELEDIT: Escape, or no change
  bool result = true;  // what the parent answers: accept the label, allow the change
};

class Window {
 public:
  Window();
  virtual ~Window();
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  // A child of `parent` when the style has WS_CHILD, otherwise a top-level window owned by
  // `parent` (null: the desktop). The rectangle is in the parent's client coordinates for a child,
  // on the screen for a top-level window, and is the whole window with its frame.
  void create(Window* parent, int id, std::wstring_view text, Rect rect, unsigned style,
              unsigned exStyle = 0);
  // Destroys the window and its children; the windows the platform made for it are freed once
  // the event that destroyed them is over.
  void destroy();
  bool exists() const { return created_; }
  // Makes the window own a child object, freed when the window is destroyed or deleted.
  template <class T>
  T* adopt(std::unique_ptr<T> child) {
    T* raw = child.get();
    owned_.push_back(std::move(child));
    return raw;
  }

  Window* parent() const { return parent_; }  // the parent of a child, the owner of a top-level
  bool isChild() const { return (style_ & WS_CHILD) != 0; }
  Window* topLevel();
  const std::vector<Window*>& children() const { return children_; }
  Window* child(int id) const;  // GetDlgItem: a direct child first, then deeper ones
  int id() const { return id_; }
  unsigned style() const { return style_; }
  unsigned exStyle() const { return exStyle_; }
  void setStyle(unsigned style) { style_ = style; }
  void setExStyle(unsigned exStyle) { exStyle_ = exStyle; }
  const std::wstring& className() const { return className_; }

  virtual std::wstring text() const { return text_; }
  virtual void setText(std::wstring_view text);

  Rect rect() const { return rect_; }  // in the parent's client coordinates (screen: top level)
  void move(Rect rect);  // MoveWindow; onSize follows when the size changed
  Rect clientRect() const;  // {0, 0, width, height} of the client area
  Rect clientArea() const;  // the client area inside the window, in window coordinates
  Point clientToScreen(Point p) const;
  Point screenToClient(Point p) const;
  Rect screenRect() const;

  void show(bool visible);
  bool visible() const { return (style_ & WS_VISIBLE) != 0; }
  bool isVisible() const;  // this window and every ancestor visible
  void enable(bool enabled);
  bool enabled() const { return (style_ & WS_DISABLED) == 0; }
  bool isEnabled() const;  // this window and every ancestor enabled

  // The window's icon (SetIcon), shown at the left of its caption.
  void setIcon(Bitmap icon) { icon_ = std::move(icon); }
  const Bitmap& windowIcon() const { return icon_; }

  void setFont(FontHandle font) { font_ = std::move(font); }
  FontHandle font() const;  // own, else the parent's, else the dialog font

  // Focus and capture.
  void setFocus();
  bool hasFocus() const { return focus() == this; }
  static Window* focus();
  void setCapture();
  static void releaseCapture();
  static Window* capture();

  // Timers, on the platform's simulated clock (see timers below).
  void setTimer(int id, unsigned milliseconds);
  void killTimer(int id);

  // The window with its children and the popups it owns, as the screen would show it.
  Bitmap render();
  // Paints this window and its visible children into a bitmap with the window at `origin`.
  void paintInto(Bitmap& target, Point origin, Rect clip);

  // The deepest visible child (or this window) at a point of the client area.
  Window* windowAt(Point client);

  // Event handlers. Mouse points are client coordinates.
  virtual void onPaint(DC& dc);  // the client area; the default fills it with the face colour
  virtual void onPaintFrame(DC& dc, Rect whole);  // border and caption, in window coordinates
  virtual void onMouseDown(MouseButton button, Point p) {}
  virtual void onMouseUp(MouseButton button, Point p) {}
  virtual void onDoubleClick(MouseButton button, Point p) { onMouseDown(button, p); }
  virtual void onMouseMove(Point p) {}
  virtual bool onKeyDown(int virtualKey) { return false; }  // true when handled
  virtual void onKeyUp(int virtualKey) {}
  virtual void onChar(wchar_t c) {}
  virtual void onTimer(int id) {}
  // A child's notification (WM_COMMAND); true when handled. The default passes it up.
  virtual bool onCommand(int id, int code, Window* from);
  virtual void onNotify(Notification& n);  // the default passes it up
  virtual void onSetFocus() {}
  virtual void onKillFocus() {}
  virtual void onSize() {}
  virtual void onCaptureLost() {}
  virtual void onDestroy() {}
  // Keys the control handles itself instead of the dialog (Enter in a multi-line edit...).
  virtual bool wantsKey(int virtualKey) const { return false; }
  virtual bool canTakeFocus() const { return (style_ & WS_TABSTOP) != 0; }

 protected:
  // Sends a notification to the parent (WM_COMMAND) / with data (WM_NOTIFY); the parent's answer
  // comes back in the notification's `result`.
  void notifyParent(int code);
  void notifyParent(Notification& n);
  void setClassName(std::wstring name) { className_ = std::move(name); }
  std::wstring text_;

 private:
  void detach();
  int frameWidth() const;
  int captionHeight() const;

  bool created_ = false;
  Window* parent_ = nullptr;
  std::vector<Window*> children_;
  std::vector<std::unique_ptr<Window>> owned_;
  int id_ = 0;
  unsigned style_ = 0, exStyle_ = 0;
  Rect rect_;
  FontHandle font_;
  Bitmap icon_;
  std::wstring className_ = L"Window";
};

// Top-level windows, in the order they were created (last: on top).
std::vector<Window*> topLevelWindows();
Window* findWindow(std::wstring_view title);  // FindWindow by title
Window* foregroundWindow();  // the last top-level window shown or activated; null: the desktop
void setForegroundWindow(Window* window);
// The host's main window, owner of the dialogs the host opens; null until the host makes one.
Window* mainWindow();
void setMainWindow(Window* window);

// The screen: 1920 by 1080 unless the scripted user says otherwise.
Size screenSize();

// The simulated clock: milliseconds since the platform started, advanced only by waiting, so
// timers fire in a reproducible order.
unsigned tickCount();
// Advances the clock by `milliseconds`, firing each timer as it falls due, in time order.
void advanceTime(unsigned milliseconds);
// Fires the next timer that falls due within `limit` milliseconds from now (the clock moves to
// it); false when none does.
bool fireNextTimer(unsigned limit);
bool timersPending();

// Frees the windows destroyed during the event that is ending.
void collectDestroyedWindows();

// The clipboard's text.
void setClipboardText(std::wstring_view text);
std::wstring clipboardText();

namespace scripted {
void setScreenSize(Size size);
}

}  // namespace plat
