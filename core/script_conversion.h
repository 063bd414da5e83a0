// Conversion of text between Traditional and Simplified Chinese characters, as k_G2B and k_B2G
// do it: the text passes through the Chinese code page 936 on its way (a character that code page
// lacks comes back as "?"), and ICU's Traditional/Simplified transliteration maps the characters.
// Characters without a counterpart stay as they are.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace core {

enum class Script { Traditional, Simplified };

// The text without the font codes of formatted multi-line text: a backslash and F or f up to and
// including the next ";". An escaped backslash ("\\") is text, not the start of a code, and a
// code with no ";" after it is left as it stands.
std::wstring stripFontCodes(std::wstring_view text);

// The text written in the other script; nothing when the character mapping is not available.
std::optional<std::wstring> convertScript(std::wstring_view text, Script target);

}  // namespace core
