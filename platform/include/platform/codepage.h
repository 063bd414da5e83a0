// Code-page conversion between multi-byte text and wide text, as the platform's
// MultiByteToWideChar and WideCharToMultiByte do it. Conversions go through ICU; a character the
// target code page lacks becomes its default character ("?"), as on Windows.
#pragma once

#include <string>
#include <string_view>

namespace plat {

constexpr unsigned CP_ACP = 0;  // the machine's ANSI code page
constexpr unsigned CP_UTF8 = 65001;

// The machine's ANSI code page: 950 (Big5) unless the local machine's
// SYSTEM\CurrentControlSet\Control\Nls\CodePage value "ACP" names another.
unsigned ansiCodePage();

std::wstring toWide(unsigned codePage, std::string_view bytes);
// usedDefault, when given, is set to true when some character had to become the default one.
std::string fromWide(unsigned codePage, std::wstring_view text, bool* usedDefault = nullptr);

std::string utf8(std::wstring_view text);
std::wstring fromUtf8(std::string_view bytes);
std::u16string utf16(std::wstring_view text);  // for byte counts that the platform fixes in UTF-16
std::wstring fromUtf16(std::u16string_view text);

// Names compare as NTFS and the registry compare them: each character upper-cased by the simple
// one-to-one mapping, then the UTF-16 code units compared in ordinal order.
std::wstring upperCase(std::wstring_view text);
int compareNoCase(std::wstring_view a, std::wstring_view b);  // <0, 0, >0
bool equalNoCase(std::wstring_view a, std::wstring_view b);

}  // namespace plat
