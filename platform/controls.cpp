// The standard controls. Each draws itself in the system colours with its window's font, and
// tells its parent what the user did with the notification Windows sends for it.
#include "platform/controls.h"

#include <algorithm>
#include <map>

#include "platform/codepage.h"
#include "platform/readymade.h"

namespace plat {

namespace {

// Draws an icon or picture centred in a rectangle, scaled down (never up) to fit.
void drawPicture(DC& dc, const Bitmap& picture, const Rect& r) {
  if (picture.empty()) return;
  int w = picture.width(), h = picture.height();
  if (w > r.width() || h > r.height()) {
    double scale = std::min(double(r.width()) / w, double(r.height()) / h);
    w = std::max(1, int(w * scale)), h = std::max(1, int(h * scale));
  }
  int x = r.left + (r.width() - w) / 2, y = r.top + (r.height() - h) / 2;
  dc.stretchBlt({x, y, x + w, y + h}, picture);
}

// The text of a control without the "&" that marks its access key ("&&" is an ampersand).
std::wstring withoutMnemonic(std::wstring_view text) {
  std::wstring out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == L'&' && i + 1 < text.size()) ++i;
    out += text[i];
  }
  return out;
}

// The place of a text in a list kept in order, as LBS_SORT and CBS_SORT insert.
int sortedIndex(const std::vector<std::wstring>& items, std::wstring_view text) {
  return int(std::upper_bound(items.begin(), items.end(), std::wstring(text)) - items.begin());
}

void drawCheckMark(DC& dc, const Rect& box) {
  dc.setPen({colors::text, 2});
  dc.line({box.left + 3, box.top + box.height() / 2}, {box.left + box.width() / 2 - 1, box.bottom - 4});
  dc.line({box.left + box.width() / 2 - 1, box.bottom - 4}, {box.right - 3, box.top + 3});
  dc.setPen({colors::text, 1});
}

}  // namespace

// ---- Static

void Static::onPaint(DC& dc) {
  Rect r = clientRect();
  unsigned type = style() & SS_TYPEMASK;
  switch (type) {
    case SS_ICON:
    case SS_BITMAP:
      if (style() & SS_CENTERIMAGE || type == SS_ICON)
        drawPicture(dc, picture_, r);
      else
        dc.stretchBlt(r, picture_);
      return;
    case SS_BLACKFRAME: return dc.frameRect(r, colors::text);
    case SS_GRAYFRAME: return dc.frameRect(r, colors::shadow);
    case SS_ETCHEDFRAME: return dc.drawEdge(r, Edge::Etched);
    case SS_BLACKRECT: return dc.fillRect(r, colors::text);
    case SS_GRAYRECT: return dc.fillRect(r, colors::shadow);
    default: break;
  }
  dc.setTextColor(isEnabled() ? colors::text : colors::grayText);
  unsigned format = DT_WORDBREAK | (type == SS_CENTER ? DT_CENTER : type == SS_RIGHT ? DT_RIGHT : 0);
  if (style() & SS_CENTERIMAGE) format = (format & ~DT_WORDBREAK) | DT_SINGLELINE | DT_VCENTER;
  dc.drawText(r, withoutMnemonic(text()), format);
}

void Static::onMouseUp(MouseButton button, Point) {
  if (button == MouseButton::Left && (style() & SS_NOTIFY)) notifyParent(STN_CLICKED);
}

// ---- Button

bool Button::isCheckBox() const {
  unsigned t = style() & BS_TYPEMASK;
  return t == BS_CHECKBOX || t == BS_AUTOCHECKBOX || t == BS_3STATE || t == BS_AUTO3STATE;
}

bool Button::isRadio() const {
  unsigned t = style() & BS_TYPEMASK;
  return t == BS_RADIOBUTTON || t == BS_AUTORADIOBUTTON;
}

void Button::setCheck(int state) { check_ = state; }

void Button::click() {
  if (!isEnabled() || isGroupBox()) return;
  unsigned t = style() & BS_TYPEMASK;
  if (t == BS_AUTOCHECKBOX) check_ = check_ == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED;
  if (t == BS_AUTO3STATE) check_ = (check_ + 1) % 3;
  if (t == BS_AUTORADIOBUTTON && parent()) {
    // The radio buttons of one group: from the previous WS_GROUP sibling to the next one.
    const auto& siblings = parent()->children();
    auto me = std::find(siblings.begin(), siblings.end(), this);
    auto first = me;
    while (first != siblings.begin() && !((*first)->style() & WS_GROUP)) --first;
    for (auto it = first; it != siblings.end(); ++it) {
      if (it != first && ((*it)->style() & WS_GROUP)) break;
      if (auto* b = dynamic_cast<Button*>(*it); b && b->isRadio()) b->check_ = BST_UNCHECKED;
    }
    check_ = BST_CHECKED;
  }
  notifyParent(BN_CLICKED);
}

void Button::onMouseDown(MouseButton button, Point) {
  if (button != MouseButton::Left) return;
  pressed_ = true;
  setFocus();
}

void Button::onMouseUp(MouseButton button, Point p) {
  if (button != MouseButton::Left || !pressed_) return;
  pressed_ = false;
  if (clientRect().contains(p)) click();
}

bool Button::onKeyDown(int virtualKey) {
  if (virtualKey != VK_SPACE) return false;
  click();
  return true;
}

void Button::onPaint(DC& dc) {
  Rect r = clientRect();
  std::wstring label = withoutMnemonic(text());
  dc.setTextColor(isEnabled() ? colors::text : colors::grayText);
  if (isGroupBox()) {
    int h = dc.textExtent(L"國").cy;
    dc.drawEdge({r.left, r.top + h / 2, r.right, r.bottom}, Edge::Etched);
    if (!label.empty()) {
      int w = dc.textExtent(label).cx;
      dc.fillRect({r.left + 6, r.top, r.left + 10 + w, r.top + h}, colors::face);
      dc.textOut(r.left + 8, r.top, label);
    }
    return;
  }
  if ((isCheckBox() || isRadio()) && !(style() & BS_PUSHLIKE)) {
    int size = 13;
    Rect box{r.left, r.top + (r.height() - size) / 2, r.left + size, r.top + (r.height() + size) / 2};
    dc.setPen({colors::border, 1});
    dc.setBrush({isEnabled() ? colors::window : colors::face});
    if (isRadio()) {
      dc.ellipse(box);
      if (check_) {
        dc.setBrush({colors::text});
        dc.setPen({colors::text, 1});
        dc.ellipse(box.inflate(-4, -4));
      }
    } else {
      dc.rectangle(box);
      if (check_ == BST_CHECKED) drawCheckMark(dc, box);
      if (check_ == BST_INDETERMINATE) dc.fillRect(box.inflate(-3, -3), colors::shadow);
    }
    dc.drawText({box.right + 4, r.top, r.right, r.bottom}, label, DT_SINGLELINE | DT_VCENTER);
    if (hasFocus()) dc.focusRect({box.right + 2, r.top, std::min(r.right, box.right + 8 + dc.textExtent(label).cx), r.bottom});
    return;
  }
  bool down = pressed_ || ((style() & BS_PUSHLIKE) && check_);
  dc.fillRect(r, down ? colors::light : rgb(225, 225, 225));
  dc.frameRect(r, isDefault() || hasFocus() ? colors::highlight : colors::border);
  if (isDefault()) dc.frameRect(r.inflate(-1, -1), colors::highlight);
  Rect inner = r.inflate(-3, -3);
  const Bitmap& icon = isEnabled() ? icon_ : greyed();
  if (!icon.empty() && (style() & (BS_ICON | BS_BITMAP))) {
    drawPicture(dc, icon, inner);
  } else if (!icon.empty() && !label.empty()) {
    // An icon button with a text: the icon on the left, the text beside it.
    int side = std::min(inner.height(), 32);
    drawPicture(dc, icon, {inner.left, inner.top, inner.left + side, inner.bottom});
    dc.drawText({inner.left + side + 2, inner.top, inner.right, inner.bottom}, label,
                DT_SINGLELINE | DT_VCENTER | DT_CENTER);
  } else {
    dc.drawText(inner, label, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
  }
}

// The icon as a disabled button shows it: grey, and faded towards the face colour.
const Bitmap& Button::greyed() const {
  if (greyed_.width() != icon_.width() || greyed_.height() != icon_.height()) {
    greyed_ = icon_;
    for (Color& c : greyed_.pixels()) {
      int grey = (red(c) * 3 + green(c) * 6 + blue(c)) / 10;
      int faded = (grey + 2 * 215) / 3;
      c = rgb(faded, faded, faded);
    }
  }
  return greyed_;
}

// ---- Edit

void Edit::setText(std::wstring_view text) {
  text_ = text;
  selStart_ = selEnd_ = 0;
  topLine_ = 0;
  undo_.reset();
  changed();
}

void Edit::changed() { notifyParent(EN_CHANGE); }

void Edit::setSelection(int start, int end) {
  int size = int(text_.size());
  if (start < 0) start = 0, end = 0;  // EM_SETSEL -1: no selection
  if (end < 0 || end > size) end = size;
  selStart_ = std::min(start, size);
  selEnd_ = end;
  if (selStart_ > selEnd_) std::swap(selStart_, selEnd_);
  scrollToCaret();
}

std::wstring Edit::selectedText() const {
  return text_.substr(selStart_, selEnd_ - selStart_);
}

void Edit::replaceSelection(std::wstring_view text, bool undoable) {
  std::wstring insert(text);
  if (style() & ES_UPPERCASE) insert = upperCase(insert);
  if (style() & ES_LOWERCASE)
    std::transform(insert.begin(), insert.end(), insert.begin(), ::towlower);
  if (!multiLine()) std::erase_if(insert, [](wchar_t c) { return c == L'\r' || c == L'\n'; });
  std::size_t room = limit_ > text_.size() - (selEnd_ - selStart_)
                         ? limit_ - (text_.size() - (selEnd_ - selStart_)) : 0;
  if (insert.size() > room) insert.resize(room);
  if (undoable) undo_ = text_;
  text_.replace(selStart_, selEnd_ - selStart_, insert);
  selStart_ = selEnd_ = selStart_ + int(insert.size());
  scrollToCaret();
  changed();
}

void Edit::undo() {
  if (!undo_) return;
  std::wstring previous = std::exchange(text_, *undo_);
  undo_ = previous;  // a second undo redoes, as the edit control's single-level undo does
  selStart_ = selEnd_ = int(text_.size());
  changed();
}

void Edit::setReadOnly(bool readOnly) {
  setStyle(readOnly ? style() | ES_READONLY : style() & ~ES_READONLY);
}

int Edit::lineCount() const { return int(std::count(text_.begin(), text_.end(), L'\n')) + 1; }

std::wstring Edit::line(int index) const {
  std::size_t start = 0;
  for (int i = 0; i < index; ++i) {
    start = text_.find(L'\n', start);
    if (start == std::wstring::npos) return L"";
    ++start;
  }
  std::size_t end = text_.find(L'\n', start);
  std::wstring out = text_.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start);
  if (!out.empty() && out.back() == L'\r') out.pop_back();
  return out;
}

bool Edit::accepts(wchar_t c) const {
  if (style() & ES_NUMBER) return c >= L'0' && c <= L'9';
  return c >= 0x20 || c == L'\t';
}

void Edit::onChar(wchar_t c) {
  if (style() & ES_READONLY) return;
  if (c == L'\b') {
    if (selStart_ == selEnd_ && selStart_ > 0) {
      --selStart_;
      if (selStart_ > 0 && text_[selStart_] == L'\n' && text_[selStart_ - 1] == L'\r') --selStart_;
    }
    if (selStart_ != selEnd_) replaceSelection(L"");
    return;
  }
  if (c == L'\r' || c == L'\n') {
    if (multiLine()) replaceSelection(L"\r\n");
    return;
  }
  if (c == 0x01) return setSelection(0, -1);  // Ctrl+A
  if (!accepts(c)) return;
  replaceSelection(std::wstring(1, c));
}

bool Edit::onKeyDown(int vk) {
  int size = int(text_.size());
  switch (vk) {
    case VK_LEFT: selStart_ = selEnd_ = selStart_ == selEnd_ ? std::max(0, selStart_ - 1) : selStart_;
                  return true;
    case VK_RIGHT: selStart_ = selEnd_ = std::min(size, selStart_ == selEnd_ ? selEnd_ + 1 : selEnd_);
                   return true;
    case VK_HOME: selStart_ = selEnd_ = 0; return true;
    case VK_END: selStart_ = selEnd_ = size; return true;
    case VK_DELETE:
      if (style() & ES_READONLY) return true;
      if (selStart_ == selEnd_ && selEnd_ < size) ++selEnd_;
      replaceSelection(L"");
      return true;
    default: return false;
  }
}

bool Edit::wantsKey(int vk) const {
  if (vk == VK_RETURN) return multiLine() && (style() & ES_WANTRETURN);
  return vk != VK_ESCAPE && vk != VK_TAB;
}

void Edit::onMouseDown(MouseButton button, Point) {
  if (button == MouseButton::Left) setFocus();
}

void Edit::onSetFocus() {
  if (!multiLine()) setSelection(0, -1);  // a single-line edit selects all when tabbed into
}

Rect Edit::textArea() const { return clientRect().inflate(-2, -1); }

void Edit::scrollToCaret() {
  if (!multiLine()) return;
  int caretLine = int(std::count(text_.begin(), text_.begin() + selEnd_, L'\n'));
  int lineHeight = std::max(1, font()->metrics().height);
  int visible = std::max(1, textArea().height() / lineHeight);
  if (caretLine < topLine_) topLine_ = caretLine;
  if (caretLine >= topLine_ + visible) topLine_ = caretLine - visible + 1;
}

void Edit::onPaint(DC& dc) {
  Rect r = clientRect();
  bool readOnly = (style() & ES_READONLY) || !isEnabled();
  dc.fillRect(r, readOnly ? colors::face : colors::window);
  Rect area = textArea();
  Rect outside = dc.intersectClip(area);
  int lineHeight = dc.font()->metrics().height;
  std::wstring shown = text_;
  if (style() & ES_PASSWORD) shown.assign(shown.size(), L'*');
  bool showSelection = hasFocus() && selStart_ != selEnd_;
  int lineStart = 0, lineIndex = 0;
  int y = area.top - topLine_ * lineHeight;
  if (!multiLine()) y = area.top + (area.height() - lineHeight) / 2;
  for (;;) {
    int lineEnd = int(shown.find(L'\n', lineStart));
    if (lineEnd < 0) lineEnd = int(shown.size());
    int contentEnd = (lineEnd > lineStart && shown[lineEnd - 1] == L'\r') ? lineEnd - 1 : lineEnd;
    std::wstring_view content(shown.data() + lineStart, contentEnd - lineStart);
    int x = area.left;
    int width = dc.font()->textWidth(content);
    unsigned align = style() & 3;
    if (align == ES_CENTER) x = area.left + (area.width() - width) / 2;
    if (align == ES_RIGHT) x = area.right - width - 1;
    if (!multiLine() && width > area.width()) {
      // Keep the caret in view on a long single line.
      int caretX = dc.font()->textWidth(content.substr(0, std::min<int>(selEnd_, content.size())));
      if (caretX > area.width() - 2) x -= caretX - area.width() + 2;
    }
    dc.setTextColor(isEnabled() ? colors::text : colors::grayText);
    dc.textOut(x, y, content);
    int s = std::max(selStart_, lineStart), e = std::min(selEnd_, contentEnd);
    if (showSelection && s < e) {
      int sx = x + dc.font()->textWidth(content.substr(0, s - lineStart));
      int ex = x + dc.font()->textWidth(content.substr(0, e - lineStart));
      dc.invertRect({sx, y, ex, y + lineHeight});
    }
    if (hasFocus() && selStart_ == selEnd_ && selEnd_ >= lineStart && selEnd_ <= contentEnd) {
      int cx = x + dc.font()->textWidth(content.substr(0, selEnd_ - lineStart));
      dc.fillRect({cx, y, cx + 1, y + lineHeight}, colors::text);
    }
    if (lineEnd >= int(shown.size())) break;
    lineStart = lineEnd + 1;
    y += lineHeight;
    ++lineIndex;
    if (y > area.bottom) break;
  }
  dc.setClip(outside);
}

// ---- ListBox

int ListBox::itemHeight() const { return font()->metrics().height + 2; }

int ListBox::addString(std::wstring_view text) {
  int index = (style() & LBS_SORT) ? sortedIndex(items_, text) : int(items_.size());
  return insertString(index, text);
}

int ListBox::insertString(int index, std::wstring_view text) {
  if (index < 0 || index > int(items_.size())) index = int(items_.size());
  items_.insert(items_.begin() + index, std::wstring(text));
  if (sel_ >= index) ++sel_;
  return index;
}

void ListBox::deleteString(int index) {
  if (index < 0 || index >= int(items_.size())) return;
  items_.erase(items_.begin() + index);
  if (sel_ == index) sel_ = -1;
  else if (sel_ > index) --sel_;
}

void ListBox::resetContent() {
  items_.clear();
  sel_ = -1;
  top_ = 0;
}

std::wstring ListBox::itemText(int index) const {
  return index >= 0 && index < int(items_.size()) ? items_[index] : L"";
}

void ListBox::setCurSel(int index) {
  sel_ = index >= 0 && index < int(items_.size()) ? index : -1;
  if (sel_ >= 0) {
    int visible = std::max(1, clientRect().height() / itemHeight());
    if (sel_ < top_) top_ = sel_;
    if (sel_ >= top_ + visible) top_ = sel_ - visible + 1;
  }
}

int ListBox::findStringExact(std::wstring_view text) const {
  for (int i = 0; i < int(items_.size()); ++i)
    if (upperCase(items_[i]) == upperCase(text)) return i;
  return LB_ERR;
}

int ListBox::itemAt(Point p) const {
  int index = top_ + p.y / itemHeight();
  return p.y >= 0 && index < int(items_.size()) ? index : -1;
}

void ListBox::onMouseDown(MouseButton button, Point p) {
  setFocus();
  if (button != MouseButton::Left) return;
  int index = itemAt(p);
  if (index < 0) return;
  setCurSel(index);
  if (style() & LBS_NOTIFY) notifyParent(LBN_SELCHANGE);
}

void ListBox::onDoubleClick(MouseButton button, Point p) {
  onMouseDown(button, p);
  if (button == MouseButton::Left && (style() & LBS_NOTIFY) && itemAt(p) >= 0)
    notifyParent(LBN_DBLCLK);
}

bool ListBox::onKeyDown(int vk) {
  if (vk != VK_UP && vk != VK_DOWN) return false;
  int next = std::clamp(sel_ + (vk == VK_DOWN ? 1 : -1), 0, int(items_.size()) - 1);
  if (next != sel_ && next >= 0) {
    setCurSel(next);
    if (style() & LBS_NOTIFY) notifyParent(LBN_SELCHANGE);
  }
  return true;
}

void ListBox::onPaint(DC& dc) {
  Rect r = clientRect();
  dc.fillRect(r, colors::window);
  int h = itemHeight();
  for (int i = top_, y = 0; i < int(items_.size()) && y < r.height(); ++i, y += h) {
    Rect row{0, y, r.right, y + h};
    bool sel = i == sel_;
    if (sel) dc.fillRect(row, colors::highlight);
    dc.setTextColor(sel ? colors::highlightText : colors::text);
    dc.drawText(row.inflate(-2, 0), items_[i], DT_SINGLELINE | DT_VCENTER);
  }
}

// ---- ComboBox

int ComboBox::addString(std::wstring_view text) {
  int index = (style() & CBS_SORT) ? sortedIndex(items_, text) : int(items_.size());
  return insertString(index, text);
}

int ComboBox::insertString(int index, std::wstring_view text) {
  if (index < 0 || index > int(items_.size())) index = int(items_.size());
  items_.insert(items_.begin() + index, std::wstring(text));
  if (sel_ >= index) ++sel_;
  return index;
}

void ComboBox::deleteString(int index) {
  if (index < 0 || index >= int(items_.size())) return;
  items_.erase(items_.begin() + index);
  if (sel_ == index) sel_ = -1;
  else if (sel_ > index) --sel_;
}

void ComboBox::resetContent() {
  items_.clear();
  sel_ = -1;
  edit_.clear();
}

std::wstring ComboBox::itemText(int index) const {
  return index >= 0 && index < int(items_.size()) ? items_[index] : L"";
}

void ComboBox::setCurSel(int index) {
  sel_ = index >= 0 && index < int(items_.size()) ? index : CB_ERR;
  edit_ = sel_ >= 0 ? items_[sel_] : L"";
}

int ComboBox::findStringExact(std::wstring_view text) const {
  for (int i = 0; i < int(items_.size()); ++i)
    if (upperCase(items_[i]) == upperCase(text)) return i;
  return CB_ERR;
}

std::wstring ComboBox::text() const { return edit_; }

void ComboBox::setText(std::wstring_view text) {
  edit_ = text;
  if (!editable()) {
    sel_ = findStringExact(text);
    edit_ = sel_ >= 0 ? items_[sel_] : L"";
  } else {
    sel_ = CB_ERR;
  }
}

void ComboBox::pick(int index) {
  if (!isEnabled() || index < 0 || index >= int(items_.size())) return;
  setFocus();
  setCurSel(index);
  notifyParent(CBN_SELCHANGE);
}

void ComboBox::typeText(std::wstring_view text) {
  if (!editable() || !isEnabled()) return;
  edit_ = text;
  sel_ = CB_ERR;  // a typed text selects no item, even one equal to it
  notifyParent(CBN_EDITCHANGE);
}

void ComboBox::onChar(wchar_t c) {
  if (!editable()) {
    // A drop-down list selects the next item starting with the typed character.
    for (int i = 0; i < int(items_.size()); ++i)
      if (!items_[i].empty() && towupper(items_[i][0]) == towupper(c)) return pick(i);
    return;
  }
  if (c == L'\b') {
    if (!edit_.empty()) typeText(edit_.substr(0, edit_.size() - 1));
    return;
  }
  if (c >= 0x20) typeText(edit_ + c);
}

bool ComboBox::onKeyDown(int vk) {
  if (vk != VK_UP && vk != VK_DOWN) return false;
  int next = std::clamp(sel_ + (vk == VK_DOWN ? 1 : -1), 0, int(items_.size()) - 1);
  if (next >= 0 && next != sel_) pick(next);
  return true;
}

void ComboBox::onPaint(DC& dc) {
  // A resource gives a combo box the height of its open list; the closed box is one line high.
  int h = std::min(clientRect().height(), font()->metrics().height + 8);
  Rect box{0, 0, clientRect().width(), h};
  dc.fillRect(box, isEnabled() ? colors::window : colors::face);
  dc.frameRect(box, hasFocus() ? colors::highlight : colors::border);
  Rect arrow{box.right - 17, 1, box.right - 1, box.bottom - 1};
  dc.fillRect(arrow, colors::light);
  int cx = (arrow.left + arrow.right) / 2, cy = (arrow.top + arrow.bottom) / 2;
  for (int i = 0; i < 4; ++i)
    dc.fillRect({cx - 4 + i, cy - 2 + i, cx + 5 - i, cy - 1 + i},
                isEnabled() ? colors::text : colors::grayText);
  dc.setTextColor(isEnabled() ? colors::text : colors::grayText);
  dc.drawText({3, 0, arrow.left - 2, box.bottom}, edit_, DT_SINGLELINE | DT_VCENTER);
}

// ---- ScrollBar

void ScrollBar::scrollTo(int pos) {
  setPos(pos);
  notifyParent(pos_);
}

void ScrollBar::onPaint(DC& dc) {
  Rect r = clientRect();
  dc.fillRect(r, colors::light);
  bool vertical = style() & SBS_VERT;
  int length = vertical ? r.height() : r.width();
  int thumb = std::max(12, length / 8);
  int span = std::max(1, high_ - low_);
  int at = (length - thumb) * (pos_ - low_) / span;
  Rect t = vertical ? Rect{1, at, r.right - 1, at + thumb} : Rect{at, 1, at + thumb, r.bottom - 1};
  dc.fillRect(t, colors::shadow);
}

// ---- ToolTip

void ToolTip::create(Window* owner) {
  Window::create(owner, 0, L"", {0, 0, 10, 10}, WS_POPUP | WS_BORDER, WS_EX_TOPMOST);
}

void ToolTip::addTool(Window* tool, std::wstring_view text) { tools_.emplace_back(tool, text); }

std::wstring ToolTip::toolText(const Window* tool) const {
  for (const auto& [t, text] : tools_)
    if (t == tool) return text;
  return L"";
}

Size ToolTip::measure(const std::wstring& text) const {
  FontHandle f = font();
  FontHandle bold = Font::create(f->face(), f->pixels(), true);
  int width = title_.empty() ? 0 : bold->textWidth(title_);
  int lines = title_.empty() ? 0 : 1;
  std::size_t start = 0;
  for (;;) {
    std::size_t end = text.find(L'\n', start);
    width = std::max(width, f->textWidth(std::wstring_view(text).substr(start, end - start)));
    ++lines;
    if (end == std::wstring::npos) break;
    start = end + 1;
  }
  return {width + 12, lines * (f->metrics().height + 2) + 8};
}

void ToolTip::relayMouse(Window* under) {
  Window* tool = nullptr;
  for (Window* w = under; w && !tool; w = w->isChild() ? w->parent() : nullptr)
    for (const auto& entry : tools_)
      if (entry.first == w) tool = w;
  if (tool == shownFor_) return;
  shownFor_ = tool;
  if (!tool) return show(false);
  std::wstring text = toolText(tool);
  setText(text);
  Size size = measure(text);
  Rect r = tool->screenRect();
  move({r.left + 12, r.bottom + 4, r.left + 12 + size.cx, r.bottom + 4 + size.cy});
  show(true);
}

void ToolTip::onPaint(DC& dc) {
  Rect r = clientRect();
  dc.fillRect(r, colors::infoBack);
  FontHandle f = font();
  int lineHeight = f->metrics().height + 2;
  int y = 4;
  if (!title_.empty()) {
    dc.setFont(Font::create(f->face(), f->pixels(), true));
    dc.textOut(5, y, title_);
    dc.setFont(f);
    y += lineHeight;
  }
  std::wstring body = text();
  std::size_t start = 0;
  for (;;) {
    std::size_t end = body.find(L'\n', start);
    dc.textOut(5, y, std::wstring_view(body).substr(start, end - start));
    y += lineHeight;
    if (end == std::wstring::npos) break;
    start = end + 1;
  }
}

// ---- control classes

namespace {

std::map<std::wstring, std::function<std::unique_ptr<Window>()>>& controlClasses() {
  static std::map<std::wstring, std::function<std::unique_ptr<Window>()>> classes = {
      {L"STATIC", [] { return std::make_unique<Static>(); }},
      {L"BUTTON", [] { return std::make_unique<Button>(); }},
      {L"EDIT", [] { return std::make_unique<Edit>(); }},
      {L"LISTBOX", [] { return std::make_unique<ListBox>(); }},
      {L"COMBOBOX", [] { return std::make_unique<ComboBox>(); }},
      {L"SYSLISTVIEW32", [] { return std::make_unique<ListView>(); }},
      {L"SYSTREEVIEW32", [] { return std::make_unique<TreeView>(); }},
      {L"SCROLLBAR", [] { return std::make_unique<ScrollBar>(); }},
      {L"LINENUMBEREDIT", [] { return std::make_unique<LineNumberEdit>(); }},
      {L"HTMLVIEW", [] { return std::make_unique<HtmlView>(); }},
  };
  return classes;
}

}  // namespace

std::unique_ptr<Window> createControl(std::wstring_view className) {
  auto& classes = controlClasses();
  auto it = classes.find(upperCase(className));
  return it == classes.end() ? nullptr : it->second();
}

void registerControlClass(std::wstring_view className,
                          std::function<std::unique_ptr<Window>()> make) {
  controlClasses()[upperCase(className)] = std::move(make);
}

}  // namespace plat
