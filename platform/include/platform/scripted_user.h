// The scripted user: the person in front of the headless platform. Tests (and kchost --ui) queue
// scenes; when a window opens (a dialog, a message box) the next matching scene acts on it —
// clicks, types, picks, checks, scrolls, presses and holds keys, moves and clicks the mouse,
// waits for timers — and reads back control states, texts and pixels. A window nobody acts on
// is closed the way an absent user would leave it: a dialog with Cancel, a message box with its
// default button. Every window can be written to a PNG when it first shows and when it closes.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "platform/window.h"

namespace plat {
class Dialog;
class TreeView;
}

namespace plat::scripted {

// Acts on one open window, as a user would; ids are control ids of that window.
class Ui {
 public:
  explicit Ui(Window& window) : window_(window) {}
  Window& window() const { return window_; }
  Dialog* dialog() const;
  // The control with an id; throws std::runtime_error naming the id when there is none.
  Window& control(int id) const;

  void click(int id);  // a left click in the middle of the control
  void doubleClick(int id);
  void rightClick(int id);
  void check(int id, bool on);  // clicks a check box or radio button when its state differs
  void type(int id, std::wstring_view text);  // focuses the control and types the characters
  void replaceText(int id, std::wstring_view text);  // selects all of an edit and types
  void selectRange(int id, int start, int end);  // the selection of an edit
  // Picks an item of a list box, combo box, list view or tree view (a click on it), by index or
  // by text; a tree view counts the rows it shows.
  void select(int id, int index);
  void select(int id, std::wstring_view text);
  void clickItem(int id, int item, MouseButton button = MouseButton::Left);
  // A tree view's item by the texts from the top level down: the user opens each closed
  // ancestor with its +/- box, then clicks the item (selectPath) or its box (expandPath).
  void selectPath(int id, const std::vector<std::wstring>& path);
  void expandPath(int id, const std::vector<std::wstring>& path, bool open);
  void clickColumn(int id, int column);  // a list view's header
  void press(int virtualKey);  // down and up, to the window with the focus
  void hold(int virtualKey);
  void release(int virtualKey);
  void clickAt(Point client, MouseButton button = MouseButton::Left);  // the window's client area
  void moveMouse(Point client);
  void hover(int id);  // rests the mouse on a control
  void scroll(int id, int position);  // a scroll bar
  void wait(unsigned milliseconds);  // timers fire as they fall due
  void close();  // the window's close box: Cancel

  std::wstring text(int id) const;
  bool checked(int id) const;
  bool enabled(int id) const;
  bool visible(int id) const;
  int selection(int id) const;  // -1 for none; a tree view's row
  // A list's items; a list view's first column; the rows a tree view shows.
  std::vector<std::wstring> items(int id) const;
  std::wstring itemText(int id, int item, int subItem = 0) const;
  Bitmap snapshot() const;  // the window as it looks now

 private:
  void mouseClick(Window& target, Point client, MouseButton button, bool twice);
  // Opens the ancestors of a tree view's item as the user would; the item, or a throw naming
  // the path when it is not there.
  int revealPath(TreeView& tree, const std::vector<std::wstring>& path);
  void finish();  // frees what the action destroyed
  Window& window_;
};

using Scene = std::function<void(Ui&)>;

// Queues a scene for the next window that opens whose caption equals `match`, or whose dialog
// resource is "#id"; an empty match takes the next window of any kind. Scenes run in order.
void onNextWindow(Scene scene, std::wstring match = L"");
std::size_t pendingScenes();
void clearScenes();

// Writes "NNN-<caption>-open.png" when a window first shows and "NNN-<caption>-close.png" when
// it closes into a folder; an empty path stops it.
void setSnapshotFolder(const std::filesystem::path& folder);
const std::vector<std::filesystem::path>& writtenSnapshots();

// Scripts of scenes as text (the format of kchost --ui); a fault throws ScriptError naming the
// line. "expect" lines that do not hold are collected as failures.
struct ScriptError : std::runtime_error {
  using std::runtime_error::runtime_error;
};
void loadScript(std::wstring_view text);
const std::vector<std::wstring>& scriptFailures();

// Answers for the next file-open or folder-browse dialogs: a path, or nothing for Cancel.
void answerNextFileDialog(std::optional<std::wstring> path);

}  // namespace plat::scripted

namespace plat::detail {
// The message loop tells the scripted user when a window shows and closes.
void windowShown(Window& window);
void windowClosing(Window& window);
// Takes a queued file-dialog answer; nullopt when none is queued.
std::optional<std::optional<std::wstring>> takeFileDialogAnswer();
}  // namespace plat::detail
