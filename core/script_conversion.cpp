// Traditional/Simplified conversion through code page 936 and ICU's transliterators.
#include "script_conversion.h"

#include <unicode/translit.h>
#include <unicode/unistr.h>

#include <memory>

#include "platform/codepage.h"

namespace core {

namespace {

// The Chinese code page every converted text passes through.
constexpr unsigned kChineseCodePage = 936;

std::wstring throughChineseCodePage(std::wstring_view text) {
  return plat::toWide(kChineseCodePage, plat::fromWide(kChineseCodePage, text));
}

// ICU's transliterator of that id; null when ICU lacks it.
std::unique_ptr<icu::Transliterator> makeTransliterator(const char* id) {
  UErrorCode status = U_ZERO_ERROR;
  std::unique_ptr<icu::Transliterator> t(
      icu::Transliterator::createInstance(icu::UnicodeString(id), UTRANS_FORWARD, status));
  return U_SUCCESS(status) ? std::move(t) : nullptr;
}

// The transliterator that writes text in `target`, made on first use (building one takes a
// good part of a second) and kept.
icu::Transliterator* transliteratorTo(Script target) {
  if (target == Script::Simplified) {
    static std::unique_ptr<icu::Transliterator> toSimplified = makeTransliterator("Hant-Hans");
    return toSimplified.get();
  }
  static std::unique_ptr<icu::Transliterator> toTraditional = makeTransliterator("Hans-Hant");
  return toTraditional.get();
}

icu::UnicodeString toIcu(std::wstring_view text) {
  static_assert(sizeof(wchar_t) == sizeof(UChar32));
  return icu::UnicodeString::fromUTF32(reinterpret_cast<const UChar32*>(text.data()),
                                       static_cast<int32_t>(text.size()));
}

std::wstring fromIcu(const icu::UnicodeString& text) {
  std::wstring out(static_cast<std::size_t>(text.countChar32()), L'\0');
  UErrorCode status = U_ZERO_ERROR;
  int32_t length = text.toUTF32(reinterpret_cast<UChar32*>(out.data()), static_cast<int32_t>(out.size()), status);
  out.resize(U_SUCCESS(status) ? static_cast<std::size_t>(length) : 0);
  return out;
}

// True when the backslash at `i` opens a font code.
bool opensFontCode(std::wstring_view text, std::size_t i) {
  return i + 1 < text.size() && (text[i + 1] == L'F' || text[i + 1] == L'f');
}

}  // namespace

std::wstring stripFontCodes(std::wstring_view text) {
  std::wstring out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != L'\\') {
      out += text[i];
      continue;
    }
    std::size_t end = text.find(L';', i);
    if (opensFontCode(text, i) && end != std::wstring_view::npos) {
      i = end;
      continue;
    }
    // Any other code, or an escaped backslash, passes whole: its second character is not a code.
    out += text[i];
    if (i + 1 < text.size()) out += text[++i];
  }
  return out;
}

std::optional<std::wstring> convertScript(std::wstring_view text, Script target) {
  icu::Transliterator* transliterator = transliteratorTo(target);
  if (!transliterator) return std::nullopt;
  icu::UnicodeString mapped = toIcu(throughChineseCodePage(text));
  transliterator->transliterate(mapped);
  // The mapping's result is text of code page 936 as well.
  return throughChineseCodePage(fromIcu(mapped));
}

}  // namespace core
