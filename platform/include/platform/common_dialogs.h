// The common dialogs: file open and folder browse, as real windows over the machine's drives.
// The file-open dialog lists a folder's sub-folders, then the files the chosen type filter
// matches, each group in NTFS order; the user picks an entry or types a name. The folder browser
// is a tree of the drives and their folders, opened as the user goes. Both can be acted on by
// scenes, are snapshotted like any dialog, and are cancelled when nobody answers. An answer queued
// with scripted::answerNextFileDialog is taken at once, without a window.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace plat {

class Window;

// Control ids of the file-open dialog, for scenes and scripts.
constexpr int IDC_FILE_LIST = 1120, IDC_FILE_TYPES = 1136, IDC_FILE_FOLDER = 1137,
              IDC_FILE_UP = 1138, IDC_FILE_NAME = 1152;
// Control ids of the folder browser.
constexpr int IDC_BROWSE_TREE = 14145, IDC_BROWSE_TITLE = 14146, IDC_BROWSE_PATH = 14148;

struct OpenFileRequest {
  std::wstring title;  // the caption; empty: "開啟舊檔"
  std::wstring filter;  // "Name|*.dwg;*.dxf|Name|KCAD.db": pairs of a type's name and its patterns
  std::wstring initialFolder;  // empty or missing: the current folder
  std::wstring fileName;  // proposed in the name field
  std::wstring defaultExtension;  // added to a typed name that has none when that file is missing
};

// The chosen file's Windows path, or nothing when cancelled.
std::optional<std::wstring> getOpenFileName(Window* owner, const OpenFileRequest& request);
std::optional<std::wstring> getOpenFileName(Window* owner, std::wstring_view title,
                                            std::wstring_view filter, std::wstring_view initialFolder);
// The chosen folder's Windows path ("C:\" for a drive, "C:\KORA_CAD" for a folder), or nothing
// when cancelled. The title is the instruction shown above the tree; the initial folder is
// selected when it opens (the current folder when it is empty or missing).
std::optional<std::wstring> browseForFolder(Window* owner, std::wstring_view title,
                                            std::wstring_view initialFolder);

// What the common dialogs were asked, for tests.
struct CommonDialogRecord {
  std::wstring kind;  // "open" or "folder"
  std::wstring title;
  std::wstring initialFolder;
};
namespace scripted {
const std::vector<CommonDialogRecord>& shownCommonDialogs();
}

}  // namespace plat
