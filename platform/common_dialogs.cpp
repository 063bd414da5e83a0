// The file-open dialog and the folder browser as dialogs built in code over the platform's files:
// every listing comes from findFiles, so entries appear in NTFS order and hidden entries stay
// hidden, as Explorer shows them. A queued scripted answer skips the window.
#include "platform/common_dialogs.h"

#include <cwctype>
#include <set>

#include "platform/codepage.h"
#include "platform/dialog.h"
#include "platform/files.h"
#include "platform/machine.h"
#include "platform/scripted_user.h"

namespace plat {

namespace {

std::vector<CommonDialogRecord>& records() {
  static std::vector<CommonDialogRecord> r;
  return r;
}

// A queued scripted answer, recorded with what was asked; nullopt when none is queued.
std::optional<std::optional<std::wstring>> queuedAnswer(std::wstring kind, std::wstring_view title,
                                                        std::wstring_view folder) {
  records().push_back({std::move(kind), std::wstring(title), std::wstring(folder)});
  return detail::takeFileDialogAnswer();
}

DialogTemplate codeTemplate(std::wstring_view caption) {
  DialogTemplate t;
  t.caption = caption;
  t.cx = 200;
  t.cy = 100;
  t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
  t.fontFace = L"新細明體";
  t.fontPoints = 9;
  return t;
}

bool isFolderPath(const std::wstring& path) {
  std::uint32_t a = getAttributes(path);
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

// A folder path with the separator a listing pattern is appended to.
std::wstring withSeparator(std::wstring folder) {
  if (folder.empty() || folder.back() != L'\\') folder += L'\\';
  return folder;
}

// The folder a dialog starts in: the asked one when it exists, else the current folder.
std::wstring startFolder(std::wstring_view asked) {
  if (!asked.empty() && isFolderPath(fullPath(asked))) return fullPath(asked);
  return currentDirectory();
}

// True for the entries a listing shows: not "." or "..", not hidden.
bool shown(const FindData& entry) {
  return entry.name != L"." && entry.name != L".." && !(entry.attributes & FILE_ATTRIBUTE_HIDDEN);
}

std::vector<std::wstring> subFolders(const std::wstring& folder) {
  std::vector<std::wstring> names;
  for (const FindData& e : findFiles(withSeparator(folder) + L"*"))
    if (shown(e) && (e.attributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(e.name);
  return names;
}

// The small pictures of the lists: a yellow folder and a white page.
Bitmap entryPicture(bool folder) {
  Bitmap b(16, 16, colors::window);
  DC dc(b);
  dc.fillRect({0, 0, 16, 16}, colors::window);
  if (folder) {
    dc.fillRect({1, 3, 7, 5}, rgb(220, 170, 40));
    dc.fillRect({1, 5, 15, 14}, rgb(250, 205, 80));
    dc.frameRect({1, 5, 15, 14}, rgb(190, 140, 30));
  } else {
    dc.fillRect({3, 1, 13, 15}, colors::window);
    dc.frameRect({3, 1, 13, 15}, colors::border);
    for (int y = 4; y < 13; y += 3) dc.fillRect({5, y, 11, y + 1}, colors::shadow);
  }
  return b;
}

// The filter's types: (name, patterns) pairs from "Name|*.a;*.b|Name|pattern".
std::vector<std::pair<std::wstring, std::vector<std::wstring>>> parseFilter(std::wstring_view filter) {
  std::vector<std::wstring> parts;
  std::size_t start = 0;
  while (start <= filter.size()) {
    std::size_t bar = filter.find(L'|', start);
    if (bar == std::wstring_view::npos) bar = filter.size();
    parts.emplace_back(filter.substr(start, bar - start));
    start = bar + 1;
  }
  std::vector<std::pair<std::wstring, std::vector<std::wstring>>> types;
  for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
    if (parts[i].empty() && parts[i + 1].empty()) break;  // the "||" that ends a filter
    std::vector<std::wstring> patterns;
    std::size_t at = 0;
    const std::wstring& list = parts[i + 1];
    while (at <= list.size()) {
      std::size_t semi = list.find(L';', at);
      if (semi == std::wstring::npos) semi = list.size();
      if (semi > at) patterns.push_back(list.substr(at, semi - at));
      at = semi + 1;
    }
    types.emplace_back(parts[i], std::move(patterns));
  }
  if (types.empty()) types.emplace_back(L"所有檔案 (*.*)", std::vector<std::wstring>{L"*.*"});
  return types;
}

class FileOpenDialog : public Dialog {
 public:
  FileOpenDialog(Window* owner, const OpenFileRequest& request)
      : Dialog(codeTemplate(request.title.empty() ? L"開啟舊檔" : request.title), owner),
        request_(request), types_(parseFilter(request.filter)), folder_(startFolder(request.initialFolder)) {}
  const std::wstring& chosen() const { return chosen_; }

 protected:
  bool onInitDialog() override {
    resizeClient({460, 300});
    addControl<Static>(0xFFFF, L"查詢(I):", {10, 14, 72, 32}, SS_LEFT);
    folderLabel_ = addControl<Static>(IDC_FILE_FOLDER, L"", {75, 10, 370, 32}, SS_LEFT | SS_SUNKEN);
    addControl<Button>(IDC_FILE_UP, L"上一層", {380, 9, 450, 33}, BS_PUSHBUTTON | WS_TABSTOP);
    list_ = addControl<ListView>(IDC_FILE_LIST, L"", {10, 42, 450, 222},
                                 LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | WS_TABSTOP, WS_EX_CLIENTEDGE);
    list_->insertColumn(0, {L"名稱", 250});
    list_->insertColumn(1, {L"大小", 80, 1});
    list_->insertColumn(2, {L"類型", 100});
    list_->setExtendedStyle(LVS_EX_FULLROWSELECT);
    list_->setImageList({entryPicture(true), entryPicture(false)});
    addControl<Static>(0xFFFF, L"檔案名稱(N):", {10, 236, 100, 254}, SS_LEFT);
    name_ = addControl<Edit>(IDC_FILE_NAME, request_.fileName, {105, 232, 350, 256},
                             ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE);
    addControl<Button>(IDOK, L"開啟(O)", {365, 231, 450, 257}, BS_DEFPUSHBUTTON | WS_TABSTOP);
    addControl<Static>(0xFFFF, L"檔案類型(T):", {10, 270, 100, 288}, SS_LEFT);
    typeBox_ = addControl<ComboBox>(IDC_FILE_TYPES, L"", {105, 266, 350, 290}, CBS_DROPDOWNLIST | WS_TABSTOP);
    for (const auto& type : types_) typeBox_->addString(type.first);
    typeBox_->setCurSel(0);
    addControl<Button>(IDCANCEL, L"取消", {365, 265, 450, 291}, BS_PUSHBUTTON | WS_TABSTOP);
    onClicked(IDC_FILE_UP, [this] { goUp(); });
    onCommand(CBN_SELCHANGE, IDC_FILE_TYPES, [this] { patterns_.clear(), fill(); });
    onNotification(LVN_ITEMCHANGED, IDC_FILE_LIST, [this](Notification& n) {
      if (list_->selected(n.item) && !isFolderEntry(n.item)) name_->setText(list_->itemText(n.item));
    });
    onNotification(NM_DBLCLK, IDC_FILE_LIST, [this](Notification& n) {
      if (n.item < 0) return;
      if (isFolderEntry(n.item)) return enter(withSeparator(folder_) + list_->itemText(n.item));
      choose(withSeparator(folder_) + list_->itemText(n.item));
    });
    fill();
    name_->setFocus();
    name_->setSelection(0, -1);
    return false;
  }

  // OK takes the typed name: a folder opens, a pattern filters, an existing file is the answer;
  // with nothing typed, a selected folder opens.
  void onOK() override {
    std::wstring typed = name_->text();
    if (typed.empty()) {
      int sel = list_->selectionMark();
      if (sel >= 0 && isFolderEntry(sel)) enter(withSeparator(folder_) + list_->itemText(sel));
      return;
    }
    if (typed.find_first_of(L"*?") != std::wstring::npos) {
      patterns_ = {typed};
      return fill();
    }
    bool absolute = typed.size() >= 2 && (typed[1] == L':' || typed[0] == L'\\' || typed[0] == L'/');
    std::wstring path = fullPath(absolute ? typed : withSeparator(folder_) + typed);
    if (isFolderPath(path)) {
      name_->setText(L"");
      return enter(path);
    }
    if (getAttributes(path) == INVALID_FILE_ATTRIBUTES && !request_.defaultExtension.empty() &&
        splitPath(path).extension.empty() && getAttributes(path + L"." + request_.defaultExtension) != INVALID_FILE_ATTRIBUTES)
      path += L"." + request_.defaultExtension;
    if (getAttributes(path) == INVALID_FILE_ATTRIBUTES) {
      messageBox(this, typed + L"\n找不到檔案。\n請確認提供的檔名是否正確。", text(), MB_OK | MB_ICONWARNING);
      return;
    }
    choose(path);
  }

 private:
  bool isFolderEntry(int item) const { return list_->itemData(item) != 0; }

  void choose(std::wstring path) {
    chosen_ = std::move(path);
    endDialog(IDOK);
  }

  void enter(const std::wstring& folder) {
    if (!isFolderPath(folder)) return;
    folder_ = fullPath(folder);
    fill();
  }

  void goUp() {
    std::wstring parent = fullPath(withSeparator(folder_) + L"..");
    if (parent != folder_) enter(parent);
  }

  // Lists the folder: sub-folders, then the files of the current patterns, NTFS order in each.
  void fill() {
    folderLabel_->setText(folder_);
    list_->deleteAllItems();
    std::vector<std::wstring> patterns = patterns_.empty() ? types_.at(std::max(typeBox_->curSel(), 0)).second : patterns_;
    std::set<std::wstring> matching;
    for (const std::wstring& pattern : patterns)
      for (const FindData& e : findFiles(withSeparator(folder_) + pattern)) matching.insert(e.name);
    std::vector<FindData> all = findFiles(withSeparator(folder_) + L"*");
    for (bool folders : {true, false})
      for (const FindData& e : all) {
        bool isDir = e.attributes & FILE_ATTRIBUTE_DIRECTORY;
        if (!shown(e) || isDir != folders || (!isDir && !matching.contains(e.name))) continue;
        int row = list_->insertItem(list_->itemCount(), e.name, folders ? 0 : 1);
        list_->setItemData(row, folders ? 1 : 0);
        if (folders) {
          list_->setItemText(row, 2, L"檔案資料夾");
        } else {
          list_->setItemText(row, 1, std::to_wstring((e.size + 1023) / 1024) + L" KB");
          std::wstring ext = splitPath(e.name).extension;
          list_->setItemText(row, 2, ext.empty() ? L"檔案" : upperCase(ext.substr(1)) + L" 檔案");
        }
      }
  }

  OpenFileRequest request_;
  std::vector<std::pair<std::wstring, std::vector<std::wstring>>> types_;
  std::vector<std::wstring> patterns_;  // a typed pattern, in place of the type's
  std::wstring folder_;
  std::wstring chosen_;
  Static* folderLabel_ = nullptr;
  ListView* list_ = nullptr;
  Edit* name_ = nullptr;
  ComboBox* typeBox_ = nullptr;
};

class FolderBrowserDialog : public Dialog {
 public:
  FolderBrowserDialog(Window* owner, std::wstring_view title, std::wstring_view initialFolder)
      : Dialog(codeTemplate(L"瀏覽資料夾"), owner), title_(title), initial_(startFolder(initialFolder)) {}
  const std::wstring& chosen() const { return chosen_; }

 protected:
  bool onInitDialog() override {
    resizeClient({320, 360});
    addControl<Static>(IDC_BROWSE_TITLE, title_, {12, 10, 308, 44}, SS_LEFT);
    tree_ = addControl<TreeView>(IDC_BROWSE_TREE, L"", {12, 48, 308, 268},
                                 TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS | WS_TABSTOP,
                                 WS_EX_CLIENTEDGE);
    tree_->setImageList({entryPicture(true)});
    addControl<Static>(0xFFFF, L"資料夾(F):", {12, 282, 80, 300}, SS_LEFT);
    path_ = addControl<Edit>(IDC_BROWSE_PATH, L"", {82, 278, 308, 302}, ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE);
    addControl<Button>(IDOK, L"確定", {142, 318, 222, 344}, BS_DEFPUSHBUTTON | WS_TABSTOP);
    addControl<Button>(IDCANCEL, L"取消", {228, 318, 308, 344}, BS_PUSHBUTTON | WS_TABSTOP);
    onNotification(TVN_ITEMEXPANDING, IDC_BROWSE_TREE, [this](Notification& n) {
      if (n.action == TVE_EXPAND) fillChildren(n.item);
    });
    onNotification(TVN_SELCHANGED, IDC_BROWSE_TREE, [this](Notification& n) { path_->setText(pathOf(n.item)); });
    for (wchar_t d = L'A'; d <= L'Z'; ++d) {
      std::error_code ec;
      if (!std::filesystem::is_directory(driveFolder(d), ec)) continue;
      int item = tree_->insertItem(std::wstring(1, d) + L":", TreeView::kRoot, 0);
      tree_->setHasChildren(item, !subFolders(std::wstring(1, d) + L":\\").empty());
    }
    selectFolder(initial_);
    tree_->setFocus();
    return false;
  }

  // OK takes the typed path when it names a folder, else the selected folder.
  void onOK() override {
    std::wstring typed = path_->text();
    std::wstring path = typed.empty() ? pathOf(tree_->selectedItem()) : fullPath(typed);
    if (path.empty()) return;
    if (!isFolderPath(path)) {
      messageBox(this, typed + L"\n找不到資料夾。", text(), MB_OK | MB_ICONWARNING);
      return;
    }
    chosen_ = path;
    endDialog(IDOK);
  }

 private:
  // An item's folder: "C:\" for a drive, "C:\A\B" below it.
  std::wstring pathOf(int item) const {
    std::vector<std::wstring> steps = tree_->pathOf(item);
    if (steps.empty()) return L"";
    std::wstring path = steps[0] + L"\\";
    for (std::size_t i = 1; i < steps.size(); ++i) path += (i > 1 ? L"\\" : L"") + steps[i];
    return path;
  }

  void fillChildren(int item) {
    if (!tree_->childItems(item).empty()) return;
    std::wstring folder = pathOf(item);
    for (const std::wstring& name : subFolders(folder)) {
      int child = tree_->insertItem(name, item, 0);
      tree_->setHasChildren(child, !subFolders(withSeparator(folder) + name).empty());
    }
    tree_->setHasChildren(item, !tree_->childItems(item).empty());
  }

  // Opens the tree down to a folder, matching each component without regard to case.
  void selectFolder(const std::wstring& folder) {
    std::vector<std::wstring> components;
    std::size_t start = 0;
    while (start < folder.size()) {
      std::size_t sep = folder.find(L'\\', start);
      if (sep == std::wstring::npos) sep = folder.size();
      if (sep > start) components.push_back(folder.substr(start, sep - start));
      start = sep + 1;
    }
    int at = TreeView::kRoot;
    for (const std::wstring& component : components) {
      if (at != TreeView::kRoot) tree_->expand(at, TVE_EXPAND);
      const auto& kids = tree_->childItems(at);
      auto found = std::find_if(kids.begin(), kids.end(), [&](int k) {
        return upperCase(tree_->itemText(k)) == upperCase(component);
      });
      if (found == kids.end()) break;
      at = *found;
    }
    if (at != TreeView::kRoot) tree_->selectItem(at);
  }

  std::wstring title_;
  std::wstring initial_;
  std::wstring chosen_;
  TreeView* tree_ = nullptr;
  Edit* path_ = nullptr;
};

}  // namespace

std::optional<std::wstring> getOpenFileName(Window* owner, const OpenFileRequest& request) {
  if (auto queued = queuedAnswer(L"open", request.title, request.initialFolder)) return *queued;
  FileOpenDialog dialog(owner, request);
  if (dialog.doModal() != IDOK) return std::nullopt;
  return dialog.chosen();
}

std::optional<std::wstring> getOpenFileName(Window* owner, std::wstring_view title, std::wstring_view filter,
                                            std::wstring_view initialFolder) {
  OpenFileRequest request;
  request.title = title;
  request.filter = filter;
  request.initialFolder = initialFolder;
  return getOpenFileName(owner, request);
}

std::optional<std::wstring> browseForFolder(Window* owner, std::wstring_view title,
                                            std::wstring_view initialFolder) {
  if (auto queued = queuedAnswer(L"folder", title, initialFolder)) return *queued;
  FolderBrowserDialog dialog(owner, title, initialFolder);
  if (dialog.doModal() != IDOK) return std::nullopt;
  return dialog.chosen();
}

namespace scripted {
const std::vector<CommonDialogRecord>& shownCommonDialogs() { return records(); }
}

}  // namespace plat
