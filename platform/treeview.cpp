// The tree view: a forest of items by handle, each expanded or collapsed, one selected; drawn as
// indented rows with dotted lines, +/- boxes and small images. Every change the user makes goes
// through the parent's "-ING" notification first, so a dialog can refuse it or fill an item's
// children just before it opens.
#include <algorithm>
#include <functional>

#include "platform/controls.h"

namespace plat {

namespace {

constexpr int kIndent = 19;  // pixels per level
constexpr int kImageSide = 16;
constexpr int kButtonSide = 9;

}  // namespace

int TreeView::insertItem(std::wstring_view text, int parent, int image, int selectedImage) {
  if (parent != kRoot && !exists(parent)) return 0;
  int handle = next_++;
  Node node;
  node.text = text;
  node.parent = parent;
  node.image = image;
  node.selectedImage = selectedImage < 0 ? image : selectedImage;
  nodes_.emplace(handle, std::move(node));
  (parent == kRoot ? roots_ : nodes_.at(parent).children).push_back(handle);
  return handle;
}

bool TreeView::deleteItem(int item) {
  auto it = nodes_.find(item);
  if (it == nodes_.end()) return false;
  for (int child : std::vector<int>(it->second.children)) deleteItem(child);
  std::erase(it->second.parent == kRoot ? roots_ : nodes_.at(it->second.parent).children, item);
  nodes_.erase(item);
  if (selected_ == item) selected_ = 0;
  top_ = std::clamp(top_, 0, std::max(0, int(visibleItems().size()) - 1));
  return true;
}

void TreeView::deleteAllItems() {
  nodes_.clear();
  roots_.clear();
  selected_ = 0;
  top_ = 0;
}

std::wstring TreeView::itemText(int item) const {
  auto it = nodes_.find(item);
  return it == nodes_.end() ? L"" : it->second.text;
}

bool TreeView::setItemText(int item, std::wstring_view text) {
  auto it = nodes_.find(item);
  if (it == nodes_.end()) return false;
  it->second.text = text;
  return true;
}

void TreeView::setItemData(int item, long long data) {
  if (auto it = nodes_.find(item); it != nodes_.end()) it->second.data = data;
}

long long TreeView::itemData(int item) const {
  auto it = nodes_.find(item);
  return it == nodes_.end() ? 0 : it->second.data;
}

void TreeView::setItemImage(int item, int image, int selectedImage) {
  if (auto it = nodes_.find(item); it != nodes_.end())
    it->second.image = image, it->second.selectedImage = selectedImage;
}

void TreeView::setHasChildren(int item, bool has) {
  if (auto it = nodes_.find(item); it != nodes_.end()) it->second.hasChildrenHint = has;
}

bool TreeView::hasChildren(int item) const {
  auto it = nodes_.find(item);
  return it != nodes_.end() && (!it->second.children.empty() || it->second.hasChildrenHint);
}

int TreeView::parentItem(int item) const {
  auto it = nodes_.find(item);
  return it == nodes_.end() ? kRoot : it->second.parent;
}

const std::vector<int>& TreeView::childItems(int item) const {
  static const std::vector<int> none;
  if (item == kRoot) return roots_;
  auto it = nodes_.find(item);
  return it == nodes_.end() ? none : it->second.children;
}

int TreeView::findPath(const std::vector<std::wstring>& path) const {
  int at = kRoot;
  for (const std::wstring& step : path) {
    const auto& kids = childItems(at);
    auto found = std::find_if(kids.begin(), kids.end(), [&](int c) { return nodes_.at(c).text == step; });
    if (found == kids.end()) return 0;
    at = *found;
  }
  return at;
}

std::vector<std::wstring> TreeView::pathOf(int item) const {
  std::vector<std::wstring> path;
  for (int at = item; exists(at); at = parentItem(at)) path.insert(path.begin(), itemText(at));
  return path;
}

bool TreeView::expanded(int item) const {
  auto it = nodes_.find(item);
  return it != nodes_.end() && it->second.expanded;
}

bool TreeView::expand(int item, int action) {
  auto it = nodes_.find(item);
  if (it == nodes_.end() || !hasChildren(item)) return false;
  bool open = action == TVE_TOGGLE ? !it->second.expanded : action == TVE_EXPAND;
  if (open == it->second.expanded) return false;
  Notification n;
  n.code = TVN_ITEMEXPANDING;
  n.item = item;
  n.action = open ? TVE_EXPAND : TVE_COLLAPSE;
  notifyParent(n);
  // The parent may have deleted the item, or refused.
  if (!n.result || !exists(item)) return false;
  nodes_.at(item).expanded = open;
  // A selection hidden by the collapse moves to the collapsed item, as the user sees it.
  if (!open) {
    int at = parentItem(selected_);
    while (at != kRoot && at != item) at = parentItem(at);
    if (at == item && selected_ != item) selectItem(item);
  }
  n.code = TVN_ITEMEXPANDED;
  n.result = true;
  notifyParent(n);
  int shown = int(visibleItems().size());
  if (top_ >= shown) top_ = std::max(0, shown - 1);
  return true;
}

bool TreeView::selectItem(int item) {
  if (item != 0 && !exists(item)) return false;
  if (item == selected_) return true;
  Notification n;
  n.code = TVN_SELCHANGING;
  n.item = item;
  n.oldItem = selected_;
  notifyParent(n);
  if (!n.result || (item != 0 && !exists(item))) return false;
  selected_ = item;
  if (item) ensureVisible(item);
  n.code = TVN_SELCHANGED;
  n.result = true;
  notifyParent(n);
  return true;
}

std::vector<int> TreeView::visibleItems() const {
  std::vector<int> out;
  std::function<void(const std::vector<int>&)> walk = [&](const std::vector<int>& level) {
    for (int item : level) {
      out.push_back(item);
      const Node& node = nodes_.at(item);
      if (node.expanded) walk(node.children);
    }
  };
  walk(roots_);
  return out;
}

int TreeView::rowHeight() const { return std::max(font()->metrics().height + 2, 18); }

Rect TreeView::itemRect(int item) const {
  auto shown = visibleItems();
  auto at = std::find(shown.begin(), shown.end(), item);
  if (at == shown.end()) return {};
  int y = (int(at - shown.begin()) - top_) * rowHeight();
  return {0, y, clientRect().width(), y + rowHeight()};
}

int TreeView::depth(int item) const {
  int d = 0;
  for (int at = parentItem(item); at != kRoot; at = parentItem(at)) ++d;
  return d;
}

// The x where an item's button column starts; top-level items have that column only with
// TVS_LINESATROOT, so without it their column is to the left of the control (negative).
int TreeView::indentOf(int item) const {
  int levels = depth(item) + ((style() & TVS_LINESATROOT) ? 1 : 0);
  return (levels - 1) * kIndent;
}

// True when an item shows a +/- box: the style asks for them and the item has (or may have)
// children, and it is not a top-level item without TVS_LINESATROOT.
bool TreeView::showsButton(int item) const {
  return (style() & TVS_HASBUTTONS) && indentOf(item) >= 0 && hasChildren(item);
}

Rect TreeView::buttonRect(int item) const {
  Rect row = itemRect(item);
  if (row.empty() || !showsButton(item)) return {};
  int cx = indentOf(item) + kIndent / 2, cy = (row.top + row.bottom) / 2;
  return {cx - kButtonSide / 2, cy - kButtonSide / 2, cx + kButtonSide / 2 + 1, cy + kButtonSide / 2 + 1};
}

int TreeView::hitTest(Point p) const {
  if (p.y < 0) return 0;
  auto shown = visibleItems();
  int index = top_ + p.y / rowHeight();
  return index < int(shown.size()) ? shown[index] : 0;
}

void TreeView::ensureVisible(int item) {
  if (!exists(item)) return;
  std::vector<int> ancestors;
  for (int at = parentItem(item); at != kRoot; at = parentItem(at)) ancestors.insert(ancestors.begin(), at);
  for (int a : ancestors)
    if (!expanded(a)) expand(a, TVE_EXPAND);
  auto shown = visibleItems();
  auto at = std::find(shown.begin(), shown.end(), item);
  if (at == shown.end()) return;
  int index = int(at - shown.begin());
  int rows = std::max(1, clientRect().height() / rowHeight());
  if (index < top_) top_ = index;
  if (index >= top_ + rows) top_ = index - rows + 1;
}

// Dotted lines: the item's own elbow, and the lines of ancestors whose siblings go on below.
void TreeView::paintLines(DC& dc, int item, Rect row) {
  int x = indentOf(item);
  if (!(style() & TVS_HASLINES) || x < 0) return;
  dc.setPen({colors::shadow, 1, PenStyle::Dot});
  int cx = x + kIndent / 2, cy = (row.top + row.bottom) / 2;
  auto hasNextSibling = [&](int at) {
    const auto& level = childItems(parentItem(at));
    return level.back() != at;
  };
  bool firstOfAll = !roots_.empty() && roots_.front() == item;
  dc.line({cx, firstOfAll ? cy : row.top}, {cx, hasNextSibling(item) ? row.bottom : cy});
  dc.line({cx, cy}, {x + kIndent + 1, cy});
  for (int at = parentItem(item); at != kRoot; at = parentItem(at)) {
    int ax = indentOf(at);
    if (ax >= 0 && hasNextSibling(at)) dc.line({ax + kIndent / 2, row.top}, {ax + kIndent / 2, row.bottom});
  }
}

void TreeView::onPaint(DC& dc) {
  Rect client = clientRect();
  dc.fillRect(client, colors::window);
  auto shown = visibleItems();
  int h = rowHeight();
  for (int i = top_; i < int(shown.size()); ++i) {
    int item = shown[i];
    const Node& node = nodes_.at(item);
    Rect row{0, (i - top_) * h, client.right, (i - top_ + 1) * h};
    if (row.top >= client.bottom) break;
    paintLines(dc, item, row);
    if (Rect box = buttonRect(item); !box.empty()) {
      dc.setPen({colors::border, 1});
      dc.setBrush({colors::window});
      dc.rectangle(box);
      int mx = (box.left + box.right) / 2, my = (box.top + box.bottom) / 2;
      dc.setPen({colors::text, 1});
      dc.line({box.left + 2, my}, {box.right - 2, my});
      if (!node.expanded) dc.line({mx, box.top + 2}, {mx, box.bottom - 2});
    }
    int x = indentOf(item) + kIndent + 2;
    bool isSelected = item == selected_;
    int image = isSelected ? node.selectedImage : node.image;
    if (image >= 0 && image < int(images_.size())) {
      int top = row.top + (h - kImageSide) / 2;
      dc.stretchBlt({x, top, x + kImageSide, top + kImageSide}, images_[image]);
      x += kImageSide + 3;
    }
    Rect label{x, row.top + 1, x + dc.textExtent(node.text).cx + 4, row.bottom - 1};
    bool lit = isSelected && hasFocus();
    if (lit) dc.fillRect(label, colors::highlight);
    else if (isSelected && (style() & TVS_SHOWSELALWAYS)) dc.fillRect(label, colors::light);
    dc.setTextColor(lit ? colors::highlightText : colors::text);
    dc.drawText(label.inflate(-2, 0), node.text, DT_SINGLELINE | DT_VCENTER);
    if (lit) dc.focusRect(label);
  }
}

void TreeView::onMouseDown(MouseButton button, Point p) {
  setFocus();
  int item = hitTest(p);
  if (button == MouseButton::Left && item) {
    if (buttonRect(item).inflate(2, 2).contains(p)) {
      expand(item, TVE_TOGGLE);
      return;
    }
    selectItem(item);
  }
  Notification n;
  n.code = button == MouseButton::Right ? NM_RCLICK : NM_CLICK;
  n.item = item;
  n.point = p;
  notifyParent(n);
}

void TreeView::onDoubleClick(MouseButton button, Point p) {
  int item = hitTest(p);
  if (button != MouseButton::Left || !item) return;
  // A double click on the box is two clicks on it; on the row it opens or closes the item.
  if (buttonRect(item).inflate(2, 2).contains(p)) return void(expand(item, TVE_TOGGLE));
  Notification n;
  n.code = NM_DBLCLK;
  n.item = item;
  n.point = p;
  notifyParent(n);
  if (n.result && exists(item)) expand(item, TVE_TOGGLE);
}

bool TreeView::wantsKey(int vk) const { return vk != VK_RETURN && vk != VK_ESCAPE && vk != VK_TAB; }

bool TreeView::onKeyDown(int vk) {
  auto shown = visibleItems();
  if (shown.empty()) return true;
  auto at = std::find(shown.begin(), shown.end(), selected_);
  int index = at == shown.end() ? -1 : int(at - shown.begin());
  auto selectRow = [&](int row) { selectItem(shown[std::clamp(row, 0, int(shown.size()) - 1)]); };
  switch (vk) {
    case VK_DOWN: selectRow(index + 1); break;
    case VK_UP: selectRow(std::max(index - 1, 0)); break;
    case VK_HOME: selectRow(0); break;
    case VK_END: selectRow(int(shown.size()) - 1); break;
    case VK_ADD: expand(selected_, TVE_EXPAND); break;
    case VK_SUBTRACT: expand(selected_, TVE_COLLAPSE); break;
    case VK_LEFT:
      if (expanded(selected_)) expand(selected_, TVE_COLLAPSE);
      else if (parentItem(selected_) != kRoot) selectItem(parentItem(selected_));
      break;
    case VK_RIGHT:
      if (hasChildren(selected_) && !expanded(selected_)) expand(selected_, TVE_EXPAND);
      else if (!childItems(selected_).empty() && selected_) selectItem(childItems(selected_).front());
      break;
    default: break;
  }
  return true;
}

}  // namespace plat
