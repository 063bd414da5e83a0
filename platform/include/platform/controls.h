// The standard controls, drawn and driven headless: static text, frames, icons and pictures; push,
// check, radio, icon and group buttons; single and multi-line edits (selection, upper case,
// numbers only, read-only, undo of the last replacement); list box; combo box; list view in report
// style; tree view; scroll bar; tooltip. Each sends its parent the notifications Windows sends. The
// ready-made controls (line-numbered edit, HTML view) are in readymade.h. Controls made from a
// dialog resource are created by class name (createControl).
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/window.h"

namespace plat {

// Control styles (the values Windows gives them).
constexpr unsigned SS_LEFT = 0x0, SS_CENTER = 0x1, SS_RIGHT = 0x2, SS_ICON = 0x3,
                   SS_BLACKRECT = 0x4, SS_GRAYRECT = 0x5, SS_BLACKFRAME = 0x7,
                   SS_GRAYFRAME = 0x8, SS_BITMAP = 0xE, SS_ETCHEDFRAME = 0x12,
                   SS_TYPEMASK = 0x1F, SS_NOTIFY = 0x100, SS_CENTERIMAGE = 0x200,
                   SS_SUNKEN = 0x1000;
constexpr unsigned BS_PUSHBUTTON = 0x0, BS_DEFPUSHBUTTON = 0x1, BS_CHECKBOX = 0x2,
                   BS_AUTOCHECKBOX = 0x3, BS_RADIOBUTTON = 0x4, BS_3STATE = 0x5,
                   BS_AUTO3STATE = 0x6, BS_GROUPBOX = 0x7, BS_AUTORADIOBUTTON = 0x9,
                   BS_TYPEMASK = 0xF, BS_ICON = 0x40, BS_BITMAP = 0x80, BS_PUSHLIKE = 0x1000;
constexpr unsigned ES_LEFT = 0x0, ES_CENTER = 0x1, ES_RIGHT = 0x2, ES_MULTILINE = 0x4,
                   ES_UPPERCASE = 0x8, ES_LOWERCASE = 0x10, ES_PASSWORD = 0x20,
                   ES_AUTOVSCROLL = 0x40, ES_AUTOHSCROLL = 0x80, ES_READONLY = 0x800,
                   ES_WANTRETURN = 0x1000, ES_NUMBER = 0x2000;
constexpr unsigned LBS_NOTIFY = 0x1, LBS_SORT = 0x2, LBS_NOINTEGRALHEIGHT = 0x100;
constexpr unsigned CBS_SIMPLE = 0x1, CBS_DROPDOWN = 0x2, CBS_DROPDOWNLIST = 0x3, CBS_SORT = 0x100,
                   CBS_AUTOHSCROLL = 0x40;
constexpr unsigned LVS_ICON = 0x0, LVS_REPORT = 0x1, LVS_SMALLICON = 0x2, LVS_LIST = 0x3,
                   LVS_SINGLESEL = 0x4, LVS_SHOWSELALWAYS = 0x8, LVS_SORTASCENDING = 0x10,
                   LVS_SORTDESCENDING = 0x20, LVS_EDITLABELS = 0x200, LVS_NOCOLUMNHEADER = 0x4000,
                   LVS_NOSORTHEADER = 0x8000;
constexpr unsigned LVS_EX_GRIDLINES = 0x1, LVS_EX_CHECKBOXES = 0x4, LVS_EX_FULLROWSELECT = 0x20;
constexpr unsigned TVS_HASBUTTONS = 0x1, TVS_HASLINES = 0x2, TVS_LINESATROOT = 0x4,
                   TVS_SHOWSELALWAYS = 0x20;
constexpr int TVE_COLLAPSE = 0x1, TVE_EXPAND = 0x2, TVE_TOGGLE = 0x3;
constexpr unsigned SBS_HORZ = 0x0, SBS_VERT = 0x1;
constexpr int BST_UNCHECKED = 0, BST_CHECKED = 1, BST_INDETERMINATE = 2;
constexpr int LB_ERR = -1, CB_ERR = -1;

// An icon or bitmap of the current resources by number; empty when none has it.
Bitmap loadIcon(int id);
Bitmap loadBitmap(int id);

class Static : public Window {
 public:
  Static() { setClassName(L"Static"); }
  void setIcon(Bitmap icon) { picture_ = std::move(icon); }
  void setBitmap(Bitmap bitmap) { picture_ = std::move(bitmap); }
  const Bitmap& picture() const { return picture_; }
  void onPaint(DC& dc) override;
  void onMouseUp(MouseButton button, Point p) override;

 private:
  Bitmap picture_;
};

class Button : public Window {
 public:
  Button() { setClassName(L"Button"); }
  int checked() const { return check_; }
  void setCheck(int state);
  void setIcon(Bitmap icon) { icon_ = std::move(icon), greyed_ = Bitmap(); }
  const Bitmap& icon() const { return icon_; }
  // A click by mouse or keyboard: toggles automatic boxes, then tells the parent.
  void click();
  bool isCheckBox() const;
  bool isRadio() const;
  bool isGroupBox() const { return (style() & BS_TYPEMASK) == BS_GROUPBOX; }
  bool isDefault() const { return (style() & BS_TYPEMASK) == BS_DEFPUSHBUTTON; }
  void onPaint(DC& dc) override;
  void onMouseDown(MouseButton button, Point p) override;
  void onMouseUp(MouseButton button, Point p) override;
  bool onKeyDown(int virtualKey) override;
  bool canTakeFocus() const override { return !isGroupBox() && Window::canTakeFocus(); }

 private:
  const Bitmap& greyed() const;
  int check_ = BST_UNCHECKED;
  bool pressed_ = false;
  Bitmap icon_;
  mutable Bitmap greyed_;
};

class Edit : public Window {
 public:
  Edit() { setClassName(L"Edit"); }
  std::wstring text() const override { return text_; }
  void setText(std::wstring_view text) override;  // EN_CHANGE follows, as SetWindowText sends it
  std::pair<int, int> selection() const { return {selStart_, selEnd_}; }
  void setSelection(int start, int end);  // -1 end: to the end of the text
  std::wstring selectedText() const;
  // Replaces the selection (typing, pasting, ReplaceSel); `undoable` keeps the old text for undo.
  void replaceSelection(std::wstring_view text, bool undoable = true);
  bool canUndo() const { return undo_.has_value(); }
  void undo();
  void setReadOnly(bool readOnly);
  bool multiLine() const { return (style() & ES_MULTILINE) != 0; }
  int lineCount() const;
  std::wstring line(int index) const;
  int firstVisibleLine() const { return topLine_; }
  void setLimitText(std::size_t limit) { limit_ = limit; }

  void onPaint(DC& dc) override;
  void onChar(wchar_t c) override;
  bool onKeyDown(int virtualKey) override;
  void onMouseDown(MouseButton button, Point p) override;
  void onSetFocus() override;
  bool wantsKey(int virtualKey) const override;
  bool canTakeFocus() const override { return true; }

 protected:
  // The text area inside the control (the line-numbered edit keeps its gutter out of it).
  virtual Rect textArea() const;
  // True when a typed character may go in (ES_NUMBER).
  virtual bool accepts(wchar_t c) const;
  void changed();  // EN_CHANGE to the parent
  void scrollToCaret();

 private:
  int selStart_ = 0, selEnd_ = 0;
  int topLine_ = 0;
  std::optional<std::wstring> undo_;
  std::size_t limit_ = 30000;
};

class ListBox : public Window {
 public:
  ListBox() { setClassName(L"ListBox"); }
  int addString(std::wstring_view text);  // sorted in place with LBS_SORT; returns the index
  int insertString(int index, std::wstring_view text);
  void deleteString(int index);
  void resetContent();
  int count() const { return int(items_.size()); }
  std::wstring itemText(int index) const;
  int curSel() const { return sel_; }
  void setCurSel(int index);
  int findStringExact(std::wstring_view text) const;
  void onPaint(DC& dc) override;
  void onMouseDown(MouseButton button, Point p) override;
  void onDoubleClick(MouseButton button, Point p) override;
  bool onKeyDown(int virtualKey) override;
  bool canTakeFocus() const override { return true; }
  int itemHeight() const;
  int itemAt(Point p) const;
  int topIndex() const { return top_; }

 private:
  std::vector<std::wstring> items_;
  int sel_ = -1;
  int top_ = 0;
};

class ComboBox : public Window {
 public:
  ComboBox() { setClassName(L"ComboBox"); }
  int addString(std::wstring_view text);
  int insertString(int index, std::wstring_view text);
  void deleteString(int index);
  void resetContent();
  int count() const { return int(items_.size()); }
  std::wstring itemText(int index) const;
  int curSel() const { return sel_; }  // CB_ERR when the typed text is no item
  void setCurSel(int index);  // no notification, as CB_SETCURSEL
  int findStringExact(std::wstring_view text) const;
  std::wstring text() const override;
  void setText(std::wstring_view text) override;
  // The user picks an item from the list: selection, then CBN_SELCHANGE.
  void pick(int index);
  // The user types into an editable combo box: the text, then CBN_EDITCHANGE.
  void typeText(std::wstring_view text);
  bool editable() const { return (style() & 3) == CBS_DROPDOWN || (style() & 3) == CBS_SIMPLE; }
  void onPaint(DC& dc) override;
  void onChar(wchar_t c) override;
  bool onKeyDown(int virtualKey) override;
  bool canTakeFocus() const override { return true; }

 private:
  std::vector<std::wstring> items_;
  int sel_ = -1;
  std::wstring edit_;  // the edit field's text of an editable box
};

struct ListColumn {
  std::wstring text;
  int width = 60;
  int format = 0;  // 0 left, 1 right, 2 centre
};

class ListView : public Window {
 public:
  ListView() { setClassName(L"SysListView32"); }
  void setExtendedStyle(unsigned ex) { lvEx_ = ex; }
  unsigned extendedStyle() const { return lvEx_; }
  int insertColumn(int index, ListColumn column);
  int columnCount() const { return int(columns_.size()); }
  const ListColumn& column(int index) const { return columns_.at(index); }
  void setColumnWidth(int index, int width);
  // Items: with a sorting style the item goes to its sorted place; returns its index.
  int insertItem(int index, std::wstring_view text, int image = -1);
  bool setItemText(int item, int subItem, std::wstring_view text);
  std::wstring itemText(int item, int subItem = 0) const;
  bool deleteItem(int item);
  void deleteAllItems();
  int itemCount() const { return int(items_.size()); }
  void setItemData(int item, long long data);
  long long itemData(int item) const;
  // Images by icon resource number, 16 by 16 in report style.
  void setImageList(std::vector<Bitmap> images) { images_ = std::move(images); }
  // Selection and focus.
  bool selected(int item) const;
  void setSelected(int item, bool on);  // LVN_ITEMCHANGED follows
  int selectionMark() const;  // the first selected item, -1 for none
  std::vector<int> selectedItems() const;
  int focusedItem() const { return focus_; }
  void setFocusedItem(int item) { focus_ = item; }
  bool checkedState(int item) const;
  void setCheckState(int item, bool on);
  // Geometry.
  Rect itemRect(int item) const;  // the row, in client coordinates
  Rect subItemRect(int item, int subItem) const;
  int hitTest(Point p, int* subItem = nullptr) const;
  int topIndex() const { return top_; }
  void ensureVisible(int item);
  int rowHeight() const;
  int headerHeight() const;
  // The in-place label editor of LVS_EDITLABELS: opens over the item's first column; Enter or a
  // click elsewhere ends it with LVN_ENDLABELEDIT, Escape cancels it.
  Edit* editLabel(int item);
  Edit* labelEditor() const { return labelEdit_; }
  void endLabelEdit(bool cancelled);
  // Sorts by a comparison of item texts, as LVM_SORTITEMS does.
  void sortItems(const std::function<bool(int, int)>& less);

  void onPaint(DC& dc) override;
  void onMouseDown(MouseButton button, Point p) override;
  void onDoubleClick(MouseButton button, Point p) override;
  bool onKeyDown(int virtualKey) override;
  bool wantsKey(int virtualKey) const override;
  bool canTakeFocus() const override { return true; }

 private:
  struct Item {
    std::vector<std::wstring> texts;
    int image = -1;
    long long data = 0;
    bool selected = false;
    bool checked = false;
  };
  int sortedPlace(std::wstring_view text) const;
  void changeSelection(int item, bool on);
  std::vector<ListColumn> columns_;
  std::vector<Item> items_;
  std::vector<Bitmap> images_;
  unsigned lvEx_ = 0;
  int focus_ = -1;
  int top_ = 0;
  Edit* labelEdit_ = nullptr;
  int labelItem_ = -1;
};

// A tree view: items with parents, expanded and collapsed, one selected, with small images, text
// and data. Items are handles (never 0, never reused while the control lives); 0 stands for the
// root, above the top-level items. Drawn with +/- boxes (TVS_HASBUTTONS) and dotted lines
// (TVS_HASLINES, TVS_LINESATROOT). The parent hears TVN_SELCHANGING and TVN_ITEMEXPANDING first and
// may refuse the change (Notification::result = false), then TVN_SELCHANGED and TVN_ITEMEXPANDED.
class TreeView : public Window {
 public:
  static constexpr int kRoot = 0;
  TreeView() { setClassName(L"SysTreeView32"); }
  // Appends an item under `parent` (kRoot: a top-level item); 0 when the parent does not exist.
  // A selected image of -1 is the item's image.
  int insertItem(std::wstring_view text, int parent = kRoot, int image = -1, int selectedImage = -1);
  bool deleteItem(int item);  // with its children; a deleted selection leaves none selected
  void deleteAllItems();
  bool exists(int item) const { return nodes_.contains(item); }
  int count() const { return int(nodes_.size()); }
  std::wstring itemText(int item) const;
  bool setItemText(int item, std::wstring_view text);
  void setItemData(int item, long long data);
  long long itemData(int item) const;
  void setItemImage(int item, int image, int selectedImage);
  // Shows a +/- box on an item whose children are filled only when it expands (cChildren).
  void setHasChildren(int item, bool has);
  bool hasChildren(int item) const;
  int parentItem(int item) const;  // kRoot for a top-level item
  const std::vector<int>& childItems(int item) const;  // kRoot: the top-level items
  // The item reached by following texts down from the root; 0 when a step has no such child.
  int findPath(const std::vector<std::wstring>& path) const;
  std::vector<std::wstring> pathOf(int item) const;
  // Images, 16 by 16.
  void setImageList(std::vector<Bitmap> images) { images_ = std::move(images); }

  bool expanded(int item) const;
  // Expands, collapses or toggles an item with children; false when refused or nothing to do.
  bool expand(int item, int action);
  int selectedItem() const { return selected_; }
  // Selects an item (0: none), opening its ancestors; false when the parent refused.
  bool selectItem(int item);

  // Geometry: the items shown, top to bottom, each with its row.
  std::vector<int> visibleItems() const;
  Rect itemRect(int item) const;  // the row, in client coordinates; empty when not shown
  Rect buttonRect(int item) const;  // the +/- box; empty when the item has none
  int hitTest(Point p) const;  // the item on a row, 0 for none
  void ensureVisible(int item);
  int rowHeight() const;
  int topIndex() const { return top_; }

  void onPaint(DC& dc) override;
  void onMouseDown(MouseButton button, Point p) override;
  void onDoubleClick(MouseButton button, Point p) override;
  bool onKeyDown(int virtualKey) override;
  bool wantsKey(int virtualKey) const override;
  bool canTakeFocus() const override { return true; }

 private:
  struct Node {
    std::wstring text;
    int parent = kRoot;
    std::vector<int> children;
    int image = -1, selectedImage = -1;
    long long data = 0;
    bool expanded = false;
    bool hasChildrenHint = false;
  };
  int depth(int item) const;
  int indentOf(int item) const;  // where the item's button column starts
  bool showsButton(int item) const;
  void paintLines(DC& dc, int item, Rect row);
  std::map<int, Node> nodes_;
  std::vector<int> roots_;
  std::vector<Bitmap> images_;
  int selected_ = 0;
  int next_ = 1;
  int top_ = 0;
};

class ScrollBar : public Window {
 public:
  ScrollBar() { setClassName(L"ScrollBar"); }
  void setRange(int low, int high) { low_ = low, high_ = std::max(low, high); setPos(pos_); }
  int position() const { return pos_; }
  void setPos(int pos) { pos_ = std::clamp(pos, low_, high_); }
  // The user scrolls to a position: the parent hears of it as a command with the new position.
  void scrollTo(int pos);
  void onPaint(DC& dc) override;

 private:
  int low_ = 0, high_ = 100, pos_ = 0;
};

// A tooltip: a popup owned by a window, with a title and lines of text for each tool (a control)
// it watches; it shows while the mouse rests over a tool.
class ToolTip : public Window {
 public:
  ToolTip() { setClassName(L"tooltips_class32"); }
  void create(Window* owner);
  void setTitle(std::wstring_view title) { title_ = title; }
  const std::wstring& title() const { return title_; }
  void addTool(Window* tool, std::wstring_view text);
  std::wstring toolText(const Window* tool) const;
  // The mouse is over a window (or none): shows or hides the tip beside it.
  void relayMouse(Window* under);
  void onPaint(DC& dc) override;

 private:
  Size measure(const std::wstring& text) const;
  std::wstring title_;
  std::vector<std::pair<Window*, std::wstring>> tools_;
  Window* shownFor_ = nullptr;
};

// Creates a control by its window class name ("Button", "Edit", "SysListView32", ... or a
// registered ready-made class); null for an unknown class.
std::unique_ptr<Window> createControl(std::wstring_view className);
// Registers a control class for dialog resources.
void registerControlClass(std::wstring_view className, std::function<std::unique_ptr<Window>()> make);

}  // namespace plat
