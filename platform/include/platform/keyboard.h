// The keyboard as programs read it: key states by virtual-key code (GetKeyState /
// GetAsyncKeyState) and the active keyboard layout. Headless, the scripted user holds keys down
// and switches layouts.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace plat {

// Virtual-key codes the suite reads.
constexpr int VK_LBUTTON = 0x01, VK_RBUTTON = 0x02, VK_BACK = 0x08, VK_TAB = 0x09,
              VK_RETURN = 0x0D, VK_SHIFT = 0x10, VK_CONTROL = 0x11, VK_MENU = 0x12,
              VK_ESCAPE = 0x1B, VK_SPACE = 0x20, VK_LEFT = 0x25, VK_UP = 0x26, VK_RIGHT = 0x27,
              VK_DOWN = 0x28, VK_DELETE = 0x2E, VK_F1 = 0x70;

// GetKeyState: the high bit (0x8000 as a short, so the value is negative) while the key is down,
// the low bit when a toggle key (Caps Lock, Num Lock) is on.
short keyState(int virtualKey);
short asyncKeyState(int virtualKey);

using KeyboardLayout = std::uint32_t;  // e.g. 0x04040404 Traditional Chinese, 0x04090409 US
KeyboardLayout activeKeyboardLayout();
KeyboardLayout activateKeyboardLayout(KeyboardLayout layout);  // returns the previous one
// LoadKeyboardLayout by name: a language id in hex, "00000409" or "0x0409", loads and activates
// that language's layout (0x04090409); nullopt for a name that is no language id.
std::optional<KeyboardLayout> loadKeyboardLayout(std::wstring_view name);

namespace scripted {
void holdKey(int virtualKey);
void releaseKey(int virtualKey);
void releaseAllKeys();
}  // namespace scripted

}  // namespace plat
