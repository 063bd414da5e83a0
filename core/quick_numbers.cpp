// The common values of the number pad and their registry storage.
#include "quick_numbers.h"

#include <cwchar>

#include "frame/registry_text.h"
#include "platform/registry.h"

namespace core {

namespace {
constexpr double kBaseValues[] = {0, 5, 6, 10, 12, 15, 24, 25, 50, 60, 70,
                                  75, 80, 90, 100, 120, 150, 180, 210, 250, 300};
}

double displayFactor(int insunits) {
  switch (insunits) {
    case 4: return 10;
    case 6: return 0.01;
    default: return 1;
  }
}

std::wstring entryText(double displayValue, double factor) {
  wchar_t text[64];
  const wchar_t* format = factor > 1 ? L"%9.1f" : factor < 1 ? L"%9.4f" : L"%9.2f";
  std::swprintf(text, 64, format, displayValue);
  return text;
}

std::vector<double> loadQuickNumbers(double factor) {
  std::vector<double> values;
  auto key = plat::reg::Key::open(plat::reg::Root::CurrentUser, kQuickNumberKey);
  if (!key) {
    for (double base : kBaseValues) values.push_back(base * factor);
    return values;
  }
  for (const plat::reg::Value& value : key->values())
    values.push_back(std::wcstod(kc::registryText(value).c_str(), nullptr) * factor);
  return values;
}

void saveQuickNumbers(const std::vector<double>& displayValues, double factor) {
  using plat::reg::Key;
  using plat::reg::Root;
  Key::deleteTree(Root::CurrentUser, kQuickNumberKey);
  auto key = Key::create(Root::CurrentUser, kQuickNumberKey);
  if (!key) return;
  for (std::size_t i = 0; i < displayValues.size(); ++i) {
    wchar_t text[64];
    std::swprintf(text, 64, L"%f", displayValues[i] / factor);
    kc::writeRegString(*key, std::to_wstring(i), text);
  }
}

}  // namespace core
