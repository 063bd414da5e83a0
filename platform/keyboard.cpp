// Key states and the keyboard layout of the headless platform, driven by the scripted user.
#include "platform/keyboard.h"

#include <set>

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

namespace scripted {
void holdKey(int virtualKey) { heldKeys.insert(virtualKey); }
void releaseKey(int virtualKey) { heldKeys.erase(virtualKey); }
void releaseAllKeys() { heldKeys.clear(); }
}  // namespace scripted

}  // namespace plat
