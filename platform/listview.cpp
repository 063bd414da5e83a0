// The list view in report style: a header of columns, rows of items with sub-items, optional
// grid lines, check boxes and small images, selection and focus, header clicks, and the
// in-place label editor.
#include "platform/controls.h"

namespace plat {

namespace {

// The in-place label editor: Enter or losing the focus commits, Escape cancels.
class LabelEditor : public Edit {
 public:
  explicit LabelEditor(ListView& list) : list_(list) {}
  bool wantsKey(int vk) const override { return true; }
  bool onKeyDown(int vk) override {
    if (vk == VK_RETURN || vk == VK_ESCAPE) {
      list_.endLabelEdit(vk == VK_ESCAPE);
      return true;
    }
    return Edit::onKeyDown(vk);
  }
  void onKillFocus() override {
    if (exists()) list_.endLabelEdit(false);
  }

 private:
  ListView& list_;
};

}  // namespace

int ListView::rowHeight() const { return std::max(font()->metrics().height + 4, 18); }

int ListView::headerHeight() const {
  return (style() & LVS_NOCOLUMNHEADER) ? 0 : font()->metrics().height + 8;
}

int ListView::insertColumn(int index, ListColumn column) {
  if (index < 0 || index > int(columns_.size())) index = int(columns_.size());
  columns_.insert(columns_.begin() + index, std::move(column));
  for (Item& item : items_)
    if (int(item.texts.size()) > index) item.texts.insert(item.texts.begin() + index, L"");
  return index;
}

void ListView::setColumnWidth(int index, int width) {
  if (index >= 0 && index < int(columns_.size())) columns_[index].width = width;
}

int ListView::sortedPlace(std::wstring_view text) const {
  bool ascending = style() & LVS_SORTASCENDING, descending = style() & LVS_SORTDESCENDING;
  int i = 0;
  if (ascending)
    while (i < int(items_.size()) && items_[i].texts[0].compare(text) <= 0) ++i;
  else if (descending)
    while (i < int(items_.size()) && items_[i].texts[0].compare(text) >= 0) ++i;
  return i;
}

int ListView::insertItem(int index, std::wstring_view text, int image) {
  if (style() & (LVS_SORTASCENDING | LVS_SORTDESCENDING))
    index = sortedPlace(text);
  else if (index < 0 || index > int(items_.size()))
    index = int(items_.size());
  Item item;
  item.texts.assign(std::max<std::size_t>(columns_.size(), 1), L"");
  item.texts[0] = text;
  item.image = image;
  items_.insert(items_.begin() + index, std::move(item));
  if (focus_ >= index) ++focus_;
  if (labelItem_ >= index) ++labelItem_;
  return index;
}

bool ListView::setItemText(int item, int subItem, std::wstring_view text) {
  if (item < 0 || item >= int(items_.size()) || subItem < 0) return false;
  auto& texts = items_[item].texts;
  if (subItem >= int(texts.size())) texts.resize(subItem + 1);
  texts[subItem] = text;
  return true;
}

std::wstring ListView::itemText(int item, int subItem) const {
  if (item < 0 || item >= int(items_.size())) return L"";
  const auto& texts = items_[item].texts;
  return subItem >= 0 && subItem < int(texts.size()) ? texts[subItem] : L"";
}

bool ListView::deleteItem(int item) {
  if (item < 0 || item >= int(items_.size())) return false;
  items_.erase(items_.begin() + item);
  if (focus_ == item) focus_ = -1;
  else if (focus_ > item) --focus_;
  if (top_ > 0 && top_ >= int(items_.size())) --top_;
  return true;
}

void ListView::deleteAllItems() {
  items_.clear();
  focus_ = -1;
  top_ = 0;
}

void ListView::setItemData(int item, long long data) {
  if (item >= 0 && item < int(items_.size())) items_[item].data = data;
}

long long ListView::itemData(int item) const {
  return item >= 0 && item < int(items_.size()) ? items_[item].data : 0;
}

bool ListView::selected(int item) const {
  return item >= 0 && item < int(items_.size()) && items_[item].selected;
}

void ListView::changeSelection(int item, bool on) {
  if (item < 0 || item >= int(items_.size()) || items_[item].selected == on) return;
  items_[item].selected = on;
  Notification n;
  n.code = LVN_ITEMCHANGED;
  n.item = item;
  notifyParent(n);
}

void ListView::setSelected(int item, bool on) {
  if (on && (style() & LVS_SINGLESEL))
    for (int i = 0; i < int(items_.size()); ++i)
      if (i != item) changeSelection(i, false);
  changeSelection(item, on);
}

int ListView::selectionMark() const {
  for (int i = 0; i < int(items_.size()); ++i)
    if (items_[i].selected) return i;
  return -1;
}

std::vector<int> ListView::selectedItems() const {
  std::vector<int> out;
  for (int i = 0; i < int(items_.size()); ++i)
    if (items_[i].selected) out.push_back(i);
  return out;
}

bool ListView::checkedState(int item) const {
  return item >= 0 && item < int(items_.size()) && items_[item].checked;
}

void ListView::setCheckState(int item, bool on) {
  if (item >= 0 && item < int(items_.size())) items_[item].checked = on;
}

Rect ListView::itemRect(int item) const {
  int y = headerHeight() + (item - top_) * rowHeight();
  int width = 0;
  for (const auto& c : columns_) width += c.width;
  return {0, y, std::max(width, clientRect().width()), y + rowHeight()};
}

Rect ListView::subItemRect(int item, int subItem) const {
  Rect row = itemRect(item);
  int x = 0;
  for (int i = 0; i < subItem && i < int(columns_.size()); ++i) x += columns_[i].width;
  int w = subItem < int(columns_.size()) ? columns_[subItem].width : 0;
  return {x, row.top, x + w, row.bottom};
}

int ListView::hitTest(Point p, int* subItem) const {
  if (p.y < headerHeight()) return -1;
  int item = top_ + (p.y - headerHeight()) / rowHeight();
  if (item < 0 || item >= int(items_.size())) return -1;
  if (subItem) {
    *subItem = 0;
    int x = 0;
    for (int i = 0; i < int(columns_.size()); ++i) {
      if (p.x >= x && p.x < x + columns_[i].width) *subItem = i;
      x += columns_[i].width;
    }
  }
  return item;
}

void ListView::ensureVisible(int item) {
  int visible = std::max(1, (clientRect().height() - headerHeight()) / rowHeight());
  if (item < top_) top_ = item;
  if (item >= top_ + visible) top_ = item - visible + 1;
}

void ListView::sortItems(const std::function<bool(int, int)>& less) {
  std::vector<int> order(items_.size());
  for (int i = 0; i < int(order.size()); ++i) order[i] = i;
  std::stable_sort(order.begin(), order.end(), less);
  std::vector<Item> sorted;
  for (int i : order) sorted.push_back(items_[i]);
  items_ = std::move(sorted);
}

Edit* ListView::editLabel(int item) {
  if (item < 0 || item >= int(items_.size())) return nullptr;
  if (labelEdit_) endLabelEdit(true);
  ensureVisible(item);
  auto editor = std::make_unique<LabelEditor>(*this);
  Rect r = subItemRect(item, 0).inflate(0, 1);
  editor->create(this, 0, itemText(item), r, WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL);
  labelEdit_ = adopt(std::move(editor));
  labelItem_ = item;
  labelEdit_->setFocus();
  labelEdit_->setSelection(0, -1);
  Notification n;
  n.code = LVN_BEGINLABELEDIT;
  n.item = item;
  notifyParent(n);
  return labelEdit_;
}

void ListView::endLabelEdit(bool cancelled) {
  if (!labelEdit_) return;
  Edit* editor = std::exchange(labelEdit_, nullptr);
  Notification n;
  n.code = LVN_ENDLABELEDIT;
  n.item = labelItem_;
  n.text = editor->text();
  n.cancelled = cancelled;
  editor->destroy();
  notifyParent(n);
  if (!cancelled && n.result) setItemText(n.item, 0, n.text);
  labelItem_ = -1;
}

void ListView::onMouseDown(MouseButton button, Point p) {
  setFocus();
  if (p.y < headerHeight()) {
    if (button != MouseButton::Left || (style() & LVS_NOSORTHEADER)) return;
    int x = 0;
    for (int i = 0; i < int(columns_.size()); ++i) {
      if (p.x >= x && p.x < x + columns_[i].width) {
        Notification n;
        n.code = LVN_COLUMNCLICK;
        n.subItem = i;
        return notifyParent(n);
      }
      x += columns_[i].width;
    }
    return;
  }
  int subItem = 0;
  int item = hitTest(p, &subItem);
  if (item >= 0 && (lvEx_ & LVS_EX_CHECKBOXES) && p.x < 18) items_[item].checked = !items_[item].checked;
  if (item >= 0) {
    focus_ = item;
    if (!selected(item) || button == MouseButton::Left) {
      for (int i = 0; i < int(items_.size()); ++i)
        if (i != item) changeSelection(i, false);
      changeSelection(item, true);
    }
  }
  Notification n;
  n.code = button == MouseButton::Right ? NM_RCLICK : NM_CLICK;
  n.item = item;
  n.subItem = subItem;
  n.point = p;
  notifyParent(n);
}

void ListView::onDoubleClick(MouseButton button, Point p) {
  onMouseDown(button, p);
  if (button != MouseButton::Left) return;
  Notification n;
  n.code = NM_DBLCLK;
  n.item = hitTest(p, &n.subItem);
  n.point = p;
  notifyParent(n);
}

bool ListView::wantsKey(int vk) const { return vk != VK_RETURN && vk != VK_ESCAPE && vk != VK_TAB; }

bool ListView::onKeyDown(int vk) {
  Notification n;
  n.code = LVN_KEYDOWN;
  n.key = vk;
  notifyParent(n);
  if ((vk == VK_UP || vk == VK_DOWN) && !items_.empty()) {
    int next = std::clamp(focus_ + (vk == VK_DOWN ? 1 : -1), 0, int(items_.size()) - 1);
    focus_ = next;
    setSelected(next, true);
    ensureVisible(next);
  }
  return true;
}

void ListView::onPaint(DC& dc) {
  Rect r = clientRect();
  dc.fillRect(r, colors::window);
  int header = headerHeight();
  int x = 0;
  if (header) {
    for (const auto& c : columns_) {
      Rect cell{x, 0, x + c.width, header};
      dc.fillRect(cell, colors::window);
      dc.fillRect({cell.right - 1, 2, cell.right, header - 2}, colors::grid);
      dc.setTextColor(colors::text);
      dc.drawText(cell.inflate(-5, 0), c.text,
                  DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS |
                      (c.format == 1 ? DT_RIGHT : c.format == 2 ? DT_CENTER : 0));
      x += c.width;
    }
    dc.fillRect({0, header - 1, r.right, header}, colors::grid);
  }
  Rect body{0, header, r.right, r.bottom};
  Rect old = dc.intersectClip(body);
  int h = rowHeight();
  bool gridLines = lvEx_ & LVS_EX_GRIDLINES;
  for (int i = top_; i < int(items_.size()); ++i) {
    Rect row = itemRect(i);
    if (row.top >= r.bottom) break;
    bool sel = items_[i].selected && (hasFocus() || (style() & LVS_SHOWSELALWAYS));
    int cx = 0;
    for (int c = 0; c < std::max<int>(1, columns_.size()); ++c) {
      int width = c < int(columns_.size()) ? columns_[c].width : r.width();
      Rect cell{cx, row.top, cx + width, row.bottom};
      Rect textCell = cell.inflate(-5, 0);
      if (c == 0) {
        if (lvEx_ & LVS_EX_CHECKBOXES) {
          Rect box{cell.left + 3, cell.top + (h - 13) / 2, cell.left + 16, cell.top + (h + 13) / 2};
          dc.setPen({colors::border, 1});
          dc.setBrush({colors::window});
          dc.rectangle(box);
          textCell.left = box.right + 4;
        }
        int image = items_[i].image;
        if (image >= 0 && image < int(images_.size())) {
          dc.stretchBlt({textCell.left, cell.top + (h - 16) / 2, textCell.left + 16, cell.top + (h + 16) / 2},
                        images_[image]);
          textCell.left += 20;
        }
      }
      if (sel && (c == 0 || (lvEx_ & LVS_EX_FULLROWSELECT)))
        dc.fillRect({c == 0 ? textCell.left - 2 : cell.left, cell.top, cell.right, cell.bottom},
                    colors::highlight);
      dc.setTextColor(sel && (c == 0 || (lvEx_ & LVS_EX_FULLROWSELECT)) ? colors::highlightText : colors::text);
      int format = c < int(columns_.size()) ? columns_[c].format : 0;
      dc.drawText(textCell, itemText(i, c),
                  DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS |
                      (format == 1 ? DT_RIGHT : format == 2 ? DT_CENTER : 0));
      cx += width;
    }
    if (i == focus_ && hasFocus()) dc.focusRect(row);
    if (gridLines) dc.fillRect({0, row.bottom - 1, r.right, row.bottom}, colors::grid);
  }
  if (gridLines) {
    int gx = 0;
    for (const auto& c : columns_) {
      gx += c.width;
      dc.fillRect({gx - 1, header, gx, r.bottom}, colors::grid);
    }
  }
  dc.setClip(old);
}

}  // namespace plat
