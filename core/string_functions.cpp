// String helpers over the 255 characters of a LISP function's text buffer.
#include "string_functions.h"

#include <cwctype>

namespace core {

namespace {

bool isWhiteSpace(wchar_t c) { return std::iswspace(static_cast<wint_t>(c)) != 0; }

}  // namespace

std::wstring_view inTextBuffer(std::wstring_view text) { return text.substr(0, kTextBuffer); }

std::array<std::wstring, 4> firstFourWords(std::wstring_view text) {
  text = inTextBuffer(text);
  std::array<std::wstring, 4> words;
  std::size_t at = 0;
  for (auto& word : words) {
    while (at < text.size() && isWhiteSpace(text[at])) ++at;
    std::size_t start = at;
    while (at < text.size() && !isWhiteSpace(text[at])) ++at;
    word = text.substr(start, at - start);
  }
  return words;
}

std::wstring replaceCharacter(std::wstring_view text, std::wstring_view from, std::wstring_view to) {
  std::wstring result(inTextBuffer(text));
  if (from.empty()) return result;
  if (to.empty()) return result.substr(0, result.find(from[0]));
  for (wchar_t& c : result)
    if (c == from[0]) c = to[0];
  return result;
}

std::vector<std::wstring> splitTokens(std::wstring_view text, std::wstring_view delimiters) {
  text = inTextBuffer(text);
  std::vector<std::wstring> tokens;
  for (std::size_t at = text.find_first_not_of(delimiters); at != std::wstring_view::npos;) {
    std::size_t end = text.find_first_of(delimiters, at);
    tokens.emplace_back(text.substr(at, end == std::wstring_view::npos ? end : end - at));
    at = end == std::wstring_view::npos ? end : text.find_first_not_of(delimiters, end);
  }
  return tokens;
}

std::optional<std::size_t> findFirstOf(std::wstring_view text, std::wstring_view set) {
  std::size_t at = inTextBuffer(text).find_first_of(set);
  if (at == std::wstring_view::npos) return std::nullopt;
  return at;
}

}  // namespace core
