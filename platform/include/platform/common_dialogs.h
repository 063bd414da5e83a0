// The common dialogs: file open and folder browse. Headless, the scripted user answers them
// (scripted::answerNextFileDialog); with no answer queued they are cancelled.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace plat {

class Window;

// The chosen file's Windows path, or nothing when cancelled. The filter is "Name|*.ext|...".
std::optional<std::wstring> getOpenFileName(Window* owner, std::wstring_view title,
                                            std::wstring_view filter, std::wstring_view initialFolder);
// The chosen folder's Windows path, or nothing when cancelled.
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
