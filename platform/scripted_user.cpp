// The scripted user: scenes queued for the windows that open, the actions a person takes on them,
// snapshots of what they showed, and the script-file form of scenes.
#include "platform/scripted_user.h"

#include <cwctype>
#include <deque>
#include <map>
#include <sstream>

#include "platform/codepage.h"
#include "platform/dialog.h"
#include "platform/image_files.h"
#include "platform/keyboard.h"

namespace plat::scripted {

namespace {

struct QueuedScene {
  Scene scene;
  std::wstring match;
};

struct UserState {
  std::deque<QueuedScene> scenes;
  std::filesystem::path snapshotFolder;
  std::vector<std::filesystem::path> snapshots;
  std::map<const Window*, int> snapshotNumbers;
  int nextSnapshot = 1;
  std::vector<std::wstring> failures;
  std::deque<std::optional<std::wstring>> fileAnswers;
};

UserState& state() {
  static UserState s;
  return s;
}

// True when a scene's match names this window: its caption, or "#id" of its dialog resource.
bool matches(const std::wstring& match, Window& window) {
  if (match.empty() || match == window.text()) return true;
  auto* dialog = dynamic_cast<Dialog*>(&window);
  return dialog && match == L"#" + std::to_wstring(dialog->templateId());
}

// A file name piece from a caption: characters a file name cannot hold become "_".
std::string fileNamePiece(const std::wstring& caption) {
  std::wstring safe;
  for (wchar_t c : caption) safe += (c < 0x20 || std::wcschr(L"\\/:*?\"<>| ", c)) ? L'_' : c;
  if (safe.empty()) safe = L"window";
  return utf8(safe);
}

void writeSnapshot(Window& window, const char* moment) {
  auto& s = state();
  if (s.snapshotFolder.empty()) return;
  auto [it, fresh] = s.snapshotNumbers.try_emplace(&window, s.nextSnapshot);
  if (fresh) ++s.nextSnapshot;
  char number[16];
  std::snprintf(number, sizeof number, "%03d", it->second);
  std::filesystem::path file =
      s.snapshotFolder / (std::string(number) + "-" + fileNamePiece(window.text()) + "-" + moment + ".png");
  std::error_code ec;
  std::filesystem::create_directories(s.snapshotFolder, ec);
  if (writePng(window.render(), file)) s.snapshots.push_back(file);
}

Point centre(const Window& w) { return {w.rect().width() / 2, w.rect().height() / 2}; }

// The character a key types, for keys that type one (digits, letters, keypad, space).
wchar_t charOfKey(int vk) {
  bool shift = keyState(VK_SHIFT) < 0;
  if (vk >= '0' && vk <= '9') return wchar_t(vk);
  if (vk >= 'A' && vk <= 'Z') return shift ? wchar_t(vk) : wchar_t(std::towlower(vk));
  if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD9) return wchar_t(L'0' + vk - VK_NUMPAD0);
  if (vk == VK_DECIMAL || vk == 0xBE) return L'.';
  if (vk == 0xBD || vk == 0x6D) return L'-';
  if (vk == VK_SPACE) return L' ';
  if (vk == VK_BACK) return L'\b';
  return 0;
}

}  // namespace

void onNextWindow(Scene scene, std::wstring match) {
  state().scenes.push_back({std::move(scene), std::move(match)});
}
std::size_t pendingScenes() { return state().scenes.size(); }
void clearScenes() { state().scenes.clear(); }

void setSnapshotFolder(const std::filesystem::path& folder) { state().snapshotFolder = folder; }
const std::vector<std::filesystem::path>& writtenSnapshots() { return state().snapshots; }
const std::vector<std::wstring>& scriptFailures() { return state().failures; }

void answerNextFileDialog(std::optional<std::wstring> path) {
  state().fileAnswers.push_back(std::move(path));
}

// ---- Ui

Dialog* Ui::dialog() const { return dynamic_cast<Dialog*>(&window_); }

Window& Ui::control(int id) const {
  Window* w = window_.child(id);
  if (!w) throw std::runtime_error("no control " + std::to_string(id) + " in \"" + utf8(window_.text()) + "\"");
  return *w;
}

void Ui::finish() { collectDestroyedWindows(); }

void Ui::mouseClick(Window& target, Point p, MouseButton button, bool twice) {
  if (!target.isEnabled() || !target.isVisible()) return;
  Window* receiver = Window::capture() ? Window::capture() : &target;
  Point at = receiver == &target ? p : receiver->screenToClient(target.clientToScreen(p));
  if (button == MouseButton::Left) holdKey(VK_LBUTTON);
  if (button == MouseButton::Right) holdKey(VK_RBUTTON);
  if (twice) {
    receiver->onMouseDown(button, at);
    receiver->onMouseUp(button, at);
    receiver->onDoubleClick(button, at);
  } else {
    receiver->onMouseDown(button, at);
  }
  releaseKey(button == MouseButton::Left ? VK_LBUTTON : VK_RBUTTON);
  // The press may have destroyed the receiver or moved the capture.
  Window* up = Window::capture() ? Window::capture() : receiver;
  if (up->exists()) up->onMouseUp(button, up == receiver ? at : up->screenToClient(target.clientToScreen(p)));
}

void Ui::click(int id) {
  Window& c = control(id);
  mouseClick(c, centre(c), MouseButton::Left, false);
  finish();
}

void Ui::doubleClick(int id) {
  Window& c = control(id);
  mouseClick(c, centre(c), MouseButton::Left, true);
  finish();
}

void Ui::rightClick(int id) {
  Window& c = control(id);
  mouseClick(c, centre(c), MouseButton::Right, false);
  finish();
}

void Ui::check(int id, bool on) {
  auto* b = dynamic_cast<Button*>(&control(id));
  if (b && (b->checked() == BST_CHECKED) != on) click(id);
}

void Ui::type(int id, std::wstring_view text) {
  Window& c = control(id);
  if (!c.isEnabled()) return;
  if (!c.hasFocus()) c.setFocus();
  Dialog* d = dialog();
  for (wchar_t ch : text) {
    if (ch == L'\n' && d) d->keyDown(VK_RETURN);
    if (ch == L'\n' && d && Window::focus() && !Window::focus()->wantsKey(VK_RETURN)) continue;
    if (Window* f = Window::focus()) f->onChar(ch == L'\n' ? L'\r' : ch);
  }
  finish();
}

void Ui::replaceText(int id, std::wstring_view text) {
  Window& c = control(id);
  if (!c.hasFocus()) c.setFocus();
  if (auto* cb = dynamic_cast<ComboBox*>(&c)) return cb->typeText(text), finish();
  if (auto* e = dynamic_cast<Edit*>(&c)) {
    e->setSelection(0, -1);
    if (text.empty() && !e->text().empty()) e->onChar(L'\b');  // the selection goes
  }
  type(id, text);
}

void Ui::selectRange(int id, int start, int end) {
  if (auto* e = dynamic_cast<Edit*>(&control(id))) {
    e->setFocus();
    e->setSelection(start, end);
  }
}

void Ui::select(int id, int index) {
  Window& c = control(id);
  if (auto* cb = dynamic_cast<ComboBox*>(&c)) return cb->pick(index), finish();
  if (dynamic_cast<ListView*>(&c)) return clickItem(id, index);
  if (auto* tree = dynamic_cast<TreeView*>(&c)) {
    auto shown = tree->visibleItems();
    if (index < 0 || index >= int(shown.size())) throw std::runtime_error("no row to select");
    return selectPath(id, tree->pathOf(shown[index]));
  }
  if (auto* lb = dynamic_cast<ListBox*>(&c)) {
    if (index < 0 || index >= lb->count()) return;
    lb->setCurSel(index);  // brings it into view
    Point p{2, (index - lb->topIndex()) * lb->itemHeight() + 1};
    mouseClick(*lb, p, MouseButton::Left, false);
    return finish();
  }
  throw std::runtime_error("control " + std::to_string(id) + " has no items to select");
}

void Ui::select(int id, std::wstring_view text) {
  std::vector<std::wstring> all = items(id);
  for (int i = 0; i < int(all.size()); ++i)
    if (all[i] == text) return select(id, i);
  throw std::runtime_error("control " + std::to_string(id) + " has no item \"" + utf8(text) + "\"");
}

void Ui::clickItem(int id, int item, MouseButton button) {
  auto* lv = dynamic_cast<ListView*>(&control(id));
  if (!lv || item < 0 || item >= lv->itemCount()) throw std::runtime_error("no item to click");
  lv->ensureVisible(item);
  Rect r = lv->subItemRect(item, 0);
  mouseClick(*lv, {r.left + 8, (r.top + r.bottom) / 2}, button, false);
  finish();
}

// Names a tree path for messages: "a\b\c".
static std::string pathName(const std::vector<std::wstring>& path) {
  std::wstring joined;
  for (const auto& step : path) joined += (joined.empty() ? L"" : L"\\") + step;
  return utf8(joined);
}

int Ui::revealPath(TreeView& tree, const std::vector<std::wstring>& path) {
  for (std::size_t depth = 1; depth < path.size(); ++depth) {
    int ancestor = tree.findPath({path.begin(), path.begin() + depth});
    if (ancestor && !tree.expanded(ancestor)) expandPath(tree.id(), {path.begin(), path.begin() + depth}, true);
  }
  int item = tree.findPath(path);
  if (!item) throw std::runtime_error("no tree item \"" + pathName(path) + "\"");
  tree.ensureVisible(item);
  return item;
}

void Ui::selectPath(int id, const std::vector<std::wstring>& path) {
  auto* tree = dynamic_cast<TreeView*>(&control(id));
  if (!tree) throw std::runtime_error("control " + std::to_string(id) + " is no tree view");
  int item = revealPath(*tree, path);
  Rect row = tree->itemRect(item);
  Rect box = tree->buttonRect(item);
  mouseClick(*tree, {std::max(box.right, 0) + 24, (row.top + row.bottom) / 2}, MouseButton::Left, false);
  finish();
}

void Ui::expandPath(int id, const std::vector<std::wstring>& path, bool open) {
  auto* tree = dynamic_cast<TreeView*>(&control(id));
  if (!tree) throw std::runtime_error("control " + std::to_string(id) + " is no tree view");
  int item = revealPath(*tree, path);
  if (tree->expanded(item) == open || !tree->hasChildren(item)) return;
  Rect box = tree->buttonRect(item);
  if (box.empty()) {  // no box to click: a double click on the row opens and closes it
    Rect row = tree->itemRect(item);
    mouseClick(*tree, {row.left + 24, (row.top + row.bottom) / 2}, MouseButton::Left, true);
  } else {
    mouseClick(*tree, {(box.left + box.right) / 2, (box.top + box.bottom) / 2}, MouseButton::Left, false);
  }
  finish();
}

void Ui::clickColumn(int id, int column) {
  auto* lv = dynamic_cast<ListView*>(&control(id));
  if (!lv || column < 0 || column >= lv->columnCount()) throw std::runtime_error("no column to click");
  Rect r = lv->subItemRect(0, column);
  mouseClick(*lv, {(r.left + r.right) / 2, lv->headerHeight() / 2}, MouseButton::Left, false);
  finish();
}

void Ui::press(int vk) {
  holdKey(vk);
  Dialog* d = dialog();
  Window* focus = Window::focus();
  wchar_t ch = charOfKey(vk);
  if (d) {
    // A key that types goes on as a character to the focused control, unless the dialog used it.
    if (d->keyDown(vk) && ch && Window::focus() == focus && d->exists() && !d->ended()) d->character(ch);
  } else if (focus) {
    if (!focus->onKeyDown(vk) && ch) focus->onChar(ch);
  }
  releaseKey(vk);
  if (d && d->exists()) d->keyUp(vk);
  finish();
}

void Ui::hold(int vk) {
  holdKey(vk);
  if (Dialog* d = dialog()) d->keyDown(vk);
  finish();
}

void Ui::release(int vk) {
  releaseKey(vk);
  if (Dialog* d = dialog()) d->keyUp(vk);
  finish();
}

void Ui::clickAt(Point p, MouseButton button) {
  Window* target = window_.windowAt(p);
  Point local = target->screenToClient(window_.clientToScreen(p));
  mouseClick(*target, local, button, false);
  finish();
}

void Ui::moveMouse(Point p) {
  Window* target = Window::capture() ? Window::capture() : window_.windowAt(p);
  target->onMouseMove(target->screenToClient(window_.clientToScreen(p)));
  // Tooltips of the window watch the mouse.
  for (Window* w : topLevelWindows())
    if (auto* tip = dynamic_cast<ToolTip*>(w); tip && tip->parent() == &window_)
      tip->relayMouse(window_.windowAt(p));
  finish();
}

void Ui::hover(int id) {
  Window& c = control(id);
  Point p = window_.screenToClient(c.clientToScreen(centre(c)));
  moveMouse(p);
}

void Ui::scroll(int id, int position) {
  if (auto* bar = dynamic_cast<ScrollBar*>(&control(id))) bar->scrollTo(position);
  finish();
}

void Ui::wait(unsigned milliseconds) {
  advanceTime(milliseconds);
  finish();
}

void Ui::close() {
  if (Dialog* d = dialog()) d->keyDown(VK_ESCAPE);
  finish();
}

std::wstring Ui::text(int id) const { return control(id).text(); }

bool Ui::checked(int id) const {
  auto* b = dynamic_cast<Button*>(&control(id));
  return b && b->checked() == BST_CHECKED;
}

bool Ui::enabled(int id) const { return control(id).isEnabled(); }
bool Ui::visible(int id) const { return control(id).isVisible(); }

int Ui::selection(int id) const {
  Window& c = control(id);
  if (auto* cb = dynamic_cast<ComboBox*>(&c)) return cb->curSel();
  if (auto* lb = dynamic_cast<ListBox*>(&c)) return lb->curSel();
  if (auto* lv = dynamic_cast<ListView*>(&c)) return lv->selectionMark();
  if (auto* tree = dynamic_cast<TreeView*>(&c)) {
    auto shown = tree->visibleItems();
    auto at = std::find(shown.begin(), shown.end(), tree->selectedItem());
    return at == shown.end() ? -1 : int(at - shown.begin());
  }
  return -1;
}

std::vector<std::wstring> Ui::items(int id) const {
  Window& c = control(id);
  std::vector<std::wstring> out;
  if (auto* cb = dynamic_cast<ComboBox*>(&c))
    for (int i = 0; i < cb->count(); ++i) out.push_back(cb->itemText(i));
  if (auto* lb = dynamic_cast<ListBox*>(&c))
    for (int i = 0; i < lb->count(); ++i) out.push_back(lb->itemText(i));
  if (auto* lv = dynamic_cast<ListView*>(&c))
    for (int i = 0; i < lv->itemCount(); ++i) out.push_back(lv->itemText(i));
  if (auto* tree = dynamic_cast<TreeView*>(&c))
    for (int item : tree->visibleItems()) out.push_back(tree->itemText(item));
  return out;
}

std::wstring Ui::itemText(int id, int item, int subItem) const {
  if (auto* lv = dynamic_cast<ListView*>(&control(id))) return lv->itemText(item, subItem);
  std::vector<std::wstring> all = items(id);
  return item >= 0 && item < int(all.size()) ? all[item] : L"";
}

Bitmap Ui::snapshot() const { return window_.render(); }

// ---- script files

namespace {

struct Line {
  int number;
  std::vector<std::wstring> words;  // quoted words without their quotes
};

// Splits a script line into words; "..." is one word, with \" \\ \n inside.
std::vector<std::wstring> splitWords(const std::wstring& text, int number) {
  std::vector<std::wstring> words;
  std::size_t i = 0;
  while (i < text.size()) {
    if (std::iswspace(text[i])) { ++i; continue; }
    if (text[i] == L'#') break;
    std::wstring word;
    if (text[i] == L'"') {
      ++i;
      bool closed = false;
      while (i < text.size()) {
        wchar_t c = text[i++];
        if (c == L'"') { closed = true; break; }
        if (c == L'\\' && i < text.size()) {
          wchar_t e = text[i++];
          c = e == L'n' ? L'\n' : e == L't' ? L'\t' : e;
        }
        word += c;
      }
      if (!closed) throw ScriptError("line " + std::to_string(number) + ": unclosed quotation");
    } else {
      while (i < text.size() && !std::iswspace(text[i])) word += text[i++];
    }
    words.push_back(word);
  }
  return words;
}

// Key names of scripts: RETURN, ESCAPE, TAB, INSERT, NUMPAD0..9, DECIMAL, F1.., a letter or digit.
int keyByName(const std::wstring& name, int line) {
  static const std::map<std::wstring, int> keys = {
      {L"RETURN", VK_RETURN}, {L"ENTER", VK_RETURN}, {L"ESCAPE", VK_ESCAPE}, {L"ESC", VK_ESCAPE},
      {L"TAB", VK_TAB}, {L"SPACE", VK_SPACE}, {L"BACK", VK_BACK}, {L"BACKSPACE", VK_BACK},
      {L"DELETE", VK_DELETE}, {L"INSERT", VK_INSERT}, {L"LEFT", VK_LEFT}, {L"RIGHT", VK_RIGHT},
      {L"UP", VK_UP}, {L"DOWN", VK_DOWN}, {L"HOME", VK_HOME}, {L"END", VK_END},
      {L"SHIFT", VK_SHIFT}, {L"CONTROL", VK_CONTROL}, {L"CTRL", VK_CONTROL}, {L"ALT", VK_MENU},
      {L"DECIMAL", VK_DECIMAL}, {L"CAPITAL", VK_CAPITAL}};
  std::wstring upper = upperCase(name);
  if (auto it = keys.find(upper); it != keys.end()) return it->second;
  if (upper.size() == 7 && upper.starts_with(L"NUMPAD") && std::iswdigit(upper[6]))
    return VK_NUMPAD0 + (upper[6] - L'0');
  if (upper.size() >= 2 && upper[0] == L'F' && std::iswdigit(upper[1]))
    return VK_F1 + std::stoi(upper.substr(1)) - 1;
  if (upper.size() == 1 && (std::iswdigit(upper[0]) || (upper[0] >= L'A' && upper[0] <= L'Z')))
    return upper[0];
  throw ScriptError("line " + std::to_string(line) + ": unknown key " + utf8(name));
}

int number(const std::wstring& word, int line) {
  try {
    std::size_t used = 0;
    int value = std::stoi(word, &used, 0);
    if (used == word.size()) return value;
  } catch (...) {
  }
  throw ScriptError("line " + std::to_string(line) + ": a number was expected, not \"" + utf8(word) + "\"");
}

// Runs one step of a scene on the window.
void runStep(Ui& ui, const Line& line) {
  const auto& w = line.words;
  auto need = [&](std::size_t count) {
    if (w.size() != count)
      throw ScriptError("line " + std::to_string(line.number) + ": " + utf8(w[0]) + " takes " +
                        std::to_string(count - 1) + " values");
  };
  auto id = [&](std::size_t at) { return number(w[at], line.number); };
  const std::wstring& verb = w[0];
  if (verb == L"click") need(2), ui.click(id(1));
  else if (verb == L"doubleclick") need(2), ui.doubleClick(id(1));
  else if (verb == L"rightclick") need(2), ui.rightClick(id(1));
  else if (verb == L"check") need(3), ui.check(id(1), id(2) != 0);
  else if (verb == L"type") need(3), ui.type(id(1), w[2]);
  else if (verb == L"settext") need(3), ui.replaceText(id(1), w[2]);
  else if (verb == L"select") need(3), ui.select(id(1), id(2));
  else if (verb == L"selecttext") need(3), ui.select(id(1), std::wstring_view(w[2]));
  else if (verb == L"rightclickitem") need(3), ui.clickItem(id(1), id(2), MouseButton::Right);
  else if (verb == L"selectpath" || verb == L"expand" || verb == L"collapse") {
    if (w.size() < 3)
      throw ScriptError("line " + std::to_string(line.number) + ": " + utf8(verb) + " takes an id and a path");
    std::vector<std::wstring> path(w.begin() + 2, w.end());
    if (verb == L"selectpath") ui.selectPath(id(1), path);
    else ui.expandPath(id(1), path, verb == L"expand");
  }
  else if (verb == L"selectrange") need(4), ui.selectRange(id(1), id(2), id(3));
  else if (verb == L"press") need(2), ui.press(keyByName(w[1], line.number));
  else if (verb == L"hold") need(2), ui.hold(keyByName(w[1], line.number));
  else if (verb == L"release") need(2), ui.release(keyByName(w[1], line.number));
  else if (verb == L"clickat") need(3), ui.clickAt({id(1), id(2)});
  else if (verb == L"rightclickat") need(3), ui.clickAt({id(1), id(2)}, MouseButton::Right);
  else if (verb == L"move") need(3), ui.moveMouse({id(1), id(2)});
  else if (verb == L"hover") need(2), ui.hover(id(1));
  else if (verb == L"scroll") need(3), ui.scroll(id(1), id(2));
  else if (verb == L"wait") need(2), ui.wait(unsigned(id(1)));
  else if (verb == L"close") need(1), ui.close();
  else if (verb == L"expect") {
    if (w.size() != 4 || (w[1] != L"text" && w[1] != L"checked" && w[1] != L"enabled" && w[1] != L"selection"))
      throw ScriptError("line " + std::to_string(line.number) + ": expect text|checked|enabled|selection ID VALUE");
    int control = id(2);
    std::wstring actual = w[1] == L"text"      ? ui.text(control)
                          : w[1] == L"checked" ? std::to_wstring(ui.checked(control))
                          : w[1] == L"enabled" ? std::to_wstring(ui.enabled(control))
                                               : std::to_wstring(ui.selection(control));
    if (actual != w[3])
      state().failures.push_back(L"line " + std::to_wstring(line.number) + L": " + w[1] + L" of " +
                                 w[2] + L" is \"" + actual + L"\", not \"" + w[3] + L"\"");
  } else {
    throw ScriptError("line " + std::to_string(line.number) + ": unknown step " + utf8(verb));
  }
}

}  // namespace

void loadScript(std::wstring_view text) {
  std::vector<std::pair<std::wstring, std::vector<Line>>> scenes;
  std::wistringstream in{std::wstring(text)};
  std::wstring raw;
  int number = 0;
  while (std::getline(in, raw)) {
    ++number;
    if (!raw.empty() && raw.back() == L'\r') raw.pop_back();
    Line line{number, splitWords(raw, number)};
    if (line.words.empty()) continue;
    if (line.words[0] == L"window") {
      if (line.words.size() > 2) throw ScriptError("line " + std::to_string(number) + ": window takes one match");
      scenes.emplace_back(line.words.size() == 2 ? line.words[1] : L"", std::vector<Line>{});
      continue;
    }
    if (scenes.empty()) throw ScriptError("line " + std::to_string(number) + ": a step before the first window line");
    // Fail early on unknown verbs and keys, before anything runs.
    static const std::wstring verbs[] = {L"click", L"doubleclick", L"rightclick", L"check", L"type",
        L"settext", L"select", L"selecttext", L"rightclickitem", L"selectpath", L"expand",
        L"collapse", L"selectrange", L"press", L"hold",
        L"release", L"clickat", L"rightclickat", L"move", L"hover", L"scroll", L"wait", L"close",
        L"expect"};
    if (std::find(std::begin(verbs), std::end(verbs), line.words[0]) == std::end(verbs))
      throw ScriptError("line " + std::to_string(number) + ": unknown step " + utf8(line.words[0]));
    if ((line.words[0] == L"selectpath" || line.words[0] == L"expand" || line.words[0] == L"collapse") &&
        line.words.size() < 3)
      throw ScriptError("line " + std::to_string(number) + ": " + utf8(line.words[0]) + " takes an id and a path");
    if (line.words[0] == L"press" || line.words[0] == L"hold" || line.words[0] == L"release")
      if (line.words.size() == 2) keyByName(line.words[1], number);
    scenes.back().second.push_back(std::move(line));
  }
  for (auto& [match, steps] : scenes)
    onNextWindow([steps = std::move(steps)](Ui& ui) {
      for (const Line& step : steps) {
        if (!ui.window().exists()) break;  // a step closed it
        try {
          runStep(ui, step);
        } catch (const ScriptError&) {
          throw;
        } catch (const std::exception& e) {
          state().failures.push_back(L"line " + std::to_wstring(step.number) + L": " + fromUtf8(e.what()));
        }
      }
    }, match);
}

}  // namespace plat::scripted

namespace plat::detail {

void windowShown(Window& window) {
  auto& s = scripted::state();
  scripted::writeSnapshot(window, "open");
  for (auto it = s.scenes.begin(); it != s.scenes.end(); ++it) {
    if (!scripted::matches(it->match, window)) continue;
    scripted::Scene scene = std::move(it->scene);
    s.scenes.erase(it);
    scripted::Ui ui(window);
    scene(ui);
    collectDestroyedWindows();
    return;
  }
}

void windowClosing(Window& window) {
  scripted::writeSnapshot(window, "close");
  scripted::state().snapshotNumbers.erase(&window);
}

std::optional<std::optional<std::wstring>> takeFileDialogAnswer() {
  auto& answers = scripted::state().fileAnswers;
  if (answers.empty()) return std::nullopt;
  auto answer = std::move(answers.front());
  answers.pop_front();
  return answer;
}

}  // namespace plat::detail
