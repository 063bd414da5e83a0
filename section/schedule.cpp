// Placeholder texts of reinforcement schedule templates.
#include "schedule.h"

#include <cwchar>
#include <cwctype>

namespace section {

namespace {

constexpr int kMaxRealIndex = 19;

bool equalsIgnoringCase(std::wstring_view a, std::wstring_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (std::towupper(a[i]) != std::towupper(b[i])) return false;
  return true;
}

// The number a placeholder carries after its letter; nullopt when the rest does not begin with
// one, so that words such as "NOTE" or "LEVEL" are left alone.
std::optional<double> numberAfterLetter(std::wstring_view text) {
  std::wstring rest(text.substr(1));
  if (rest.empty() || !(std::iswdigit(rest[0]) || rest[0] == L'.')) return std::nullopt;
  wchar_t* end = nullptr;
  double value = std::wcstod(rest.c_str(), &end);
  if (end == rest.c_str()) return std::nullopt;
  return value;
}

std::wstring barText(int bar, int length) {
  wchar_t buf[64];
  std::swprintf(buf, 64, L"#%d@%d", bar, length);
  return buf;
}

}  // namespace

std::optional<std::wstring> filledText(std::wstring_view text, const ScheduleValues& values,
                                       const std::function<std::wstring(double)>& formatReal) {
  if (equalsIgnoringCase(text, L"NAME")) {
    wchar_t buf[512];
    std::swprintf(buf, 512, values.millimetres ? L"%ls  T=%dMM" : L"%ls  T=%dCM",
                  values.title.c_str(), values.thickness);
    return std::wstring(buf);
  }
  if (text.size() < 2) return std::nullopt;
  auto number = numberAfterLetter(text);
  if (!number) return std::nullopt;
  switch (std::towupper(text[0])) {
    case L'L':
      if (*number > 0) return barText(values.bar1, static_cast<int>(*number * values.spacing1));
      break;
    case L'S':
      if (*number > 0) return barText(values.bar2, static_cast<int>(*number * values.spacing2));
      break;
    case L'N': {
      int k = static_cast<int>(*number);
      // A placeholder beyond the reals given keeps its text.
      if (k <= kMaxRealIndex && static_cast<std::size_t>(k) < values.reals.size())
        return formatReal(values.reals[k]);
      break;
    }
    default:
      break;
  }
  return std::nullopt;
}

}  // namespace section
