// kcCore's string helpers for the LISP functions srtstr, strrep, strlist and strfind. Each works on
// the text as the LISP function's 256-character buffer holds it: its first 255 characters.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace core {

constexpr std::size_t kTextBuffer = 255;  // characters a 256-character buffer holds

// The text as a 256-character buffer holds it.
std::wstring_view inTextBuffer(std::wstring_view text);

// srtstr: the first four words separated by white space; an empty string for each missing word.
std::array<std::wstring, 4> firstFourWords(std::wstring_view text);
// strrep: every `from[0]` replaced by `to[0]`; an empty `to` cuts the text at the first `from[0]`;
// an empty `from` changes nothing.
std::wstring replaceCharacter(std::wstring_view text, std::wstring_view from, std::wstring_view to);
// strlist: the tokens between runs of any of the delimiter characters, empty tokens skipped.
std::vector<std::wstring> splitTokens(std::wstring_view text, std::wstring_view delimiters);
// strfind: the zero-based position of the first character of the text that is in `set`.
std::optional<std::size_t> findFirstOf(std::wstring_view text, std::wstring_view set);

}  // namespace core
