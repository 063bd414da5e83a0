// File-open and folder-browse dialogs, answered by the scripted user.
#include "platform/common_dialogs.h"

#include "platform/scripted_user.h"

namespace plat {

namespace {
std::vector<CommonDialogRecord>& records() {
  static std::vector<CommonDialogRecord> r;
  return r;
}

std::optional<std::wstring> answer(std::wstring kind, std::wstring_view title, std::wstring_view folder) {
  records().push_back({std::move(kind), std::wstring(title), std::wstring(folder)});
  auto queued = detail::takeFileDialogAnswer();
  return queued ? *queued : std::nullopt;
}
}  // namespace

std::optional<std::wstring> getOpenFileName(Window*, std::wstring_view title, std::wstring_view,
                                            std::wstring_view initialFolder) {
  return answer(L"open", title, initialFolder);
}

std::optional<std::wstring> browseForFolder(Window*, std::wstring_view title,
                                            std::wstring_view initialFolder) {
  return answer(L"folder", title, initialFolder);
}

namespace scripted {
const std::vector<CommonDialogRecord>& shownCommonDialogs() { return records(); }
}

}  // namespace plat
