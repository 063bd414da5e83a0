// Key states and the keyboard layout of the headless platform, driven by the scripted user.
#include "platform/keyboard.h"

#include <cwchar>
#include <set>
#include <string>

namespace plat {

namespace {

std::set<int> heldKeys;
KeyboardLayout layout = 0x04040404;  // Traditional Chinese, as on the suite's installations

}  // namespace

short keyState(int virtualKey) { return heldKeys.count(virtualKey) ? static_cast<short>(0x8000) : 0; }

short asyncKeyState(int virtualKey) { return keyState(virtualKey); }

KeyboardLayout activeKeyboardLayout() { return layout; }

KeyboardLayout activateKeyboardLayout(KeyboardLayout next) {
  KeyboardLayout previous = layout;
  layout = next;
  return previous;
}

std::optional<KeyboardLayout> loadKeyboardLayout(std::wstring_view name) {
  std::wstring digits(name);
  if (digits.starts_with(L"0x") || digits.starts_with(L"0X")) digits.erase(0, 2);
  if (digits.empty() || digits.size() > 8 ||
      digits.find_first_not_of(L"0123456789abcdefABCDEF") != std::wstring::npos)
    return std::nullopt;
  auto language = KeyboardLayout(std::wcstoul(digits.c_str(), nullptr, 16) & 0xFFFF);
  if (language == 0) return std::nullopt;
  KeyboardLayout loaded = (language << 16) | language;
  activateKeyboardLayout(loaded);
  return loaded;
}

namespace scripted {
void holdKey(int virtualKey) { heldKeys.insert(virtualKey); }
void releaseKey(int virtualKey) { heldKeys.erase(virtualKey); }
void releaseAllKeys() { heldKeys.clear(); }
}  // namespace scripted

}  // namespace plat
