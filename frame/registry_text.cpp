// Registry strings read through the modules' 260-byte buffer.
#include "frame/registry_text.h"

#include "platform/codepage.h"

namespace kc {

std::wstring registryText(const plat::reg::Value& value) {
  // Every type is read into a text buffer as it is stored; the text ends at the first 0.
  std::u16string units;
  const auto& bytes = value.data;
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    auto unit = static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8));
    if (unit == 0) break;
    units.push_back(unit);
  }
  return plat::fromUtf16(units);
}

std::optional<std::wstring> readRegString(const plat::reg::Key& key, std::wstring_view name) {
  auto value = key.query(name);
  if (!value || value->byteSize() > kRegBufferBytes) return std::nullopt;
  return registryText(*value);
}

bool writeRegString(plat::reg::Key& key, std::wstring_view name, std::wstring_view text) {
  return key.setString(name, text);
}

}  // namespace kc
