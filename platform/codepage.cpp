// Code-page conversion through ICU converters, with the Windows behaviour kept: a character the
// code page lacks becomes "?" (best-fit fallbacks allowed, as WideCharToMultiByte allows them), a
// byte sequence the code page does not define becomes "?" in wide text. Also the case folding that
// NTFS and the registry use to compare names.
#include "platform/codepage.h"

#include <unicode/uchar.h>
#include <unicode/ucnv.h>
#include <unicode/ucnv_cb.h>
#include <unicode/ustring.h>

#include <memory>
#include <stdexcept>

#include "platform/machine.h"
#include "platform/registry.h"

static_assert(sizeof(wchar_t) == sizeof(UChar32), "wide text is UTF-32 here");

namespace plat {

namespace {

const UChar32* asUtf32(const wchar_t* text) { return reinterpret_cast<const UChar32*>(text); }
UChar32* asUtf32(wchar_t* text) { return reinterpret_cast<UChar32*>(text); }

// Runs an ICU "preflight, then convert" call: the first call measures, the second fills.
template <class String, class Convert>
String convertWithPreflight(Convert convert) {
  UErrorCode status = U_ZERO_ERROR;
  int32_t length = convert(nullptr, 0, &status);
  if (status != U_BUFFER_OVERFLOW_ERROR && U_FAILURE(status))
    throw std::runtime_error(std::string("text conversion failed: ") + u_errorName(status));
  String out(static_cast<std::size_t>(length), typename String::value_type{});
  status = U_ZERO_ERROR;
  convert(out.data(), length, &status);  // no room for a terminator: the string has its own
  if (U_FAILURE(status))
    throw std::runtime_error(std::string("text conversion failed: ") + u_errorName(status));
  return out;
}

// The ICU converter name of a Windows code page.
std::string converterName(unsigned codePage) {
  switch (codePage) {
    case 950: return "windows-950-2000";
    case 936: return "windows-936-2000";
    case 437: return "ibm-437";
    default: return "windows-" + std::to_string(codePage);
  }
}

struct ConverterCloser {
  void operator()(UConverter* c) const { ucnv_close(c); }
};
using Converter = std::unique_ptr<UConverter, ConverterCloser>;

Converter openConverter(unsigned codePage) {
  UErrorCode status = U_ZERO_ERROR;
  Converter conv(ucnv_open(converterName(codePage).c_str(), &status));
  if (U_FAILURE(status) || !conv)
    throw std::invalid_argument("unknown code page " + std::to_string(codePage));
  return conv;
}

// To-Unicode callback: an undefined byte sequence becomes "?".
void substituteQuestionMark(const void*, UConverterToUnicodeArgs* args, const char*, int32_t,
                            UConverterCallbackReason reason, UErrorCode* status) {
  if (reason > UCNV_IRREGULAR) return;  // reset, close, clone: nothing to substitute
  const UChar question = u'?';
  *status = U_ZERO_ERROR;
  ucnv_cbToUWriteUChars(args, &question, 1, 0, status);
}

// From-Unicode callback: substitutes the default character and notes that it did.
void substituteAndNote(const void* context, UConverterFromUnicodeArgs* args, const UChar* units,
                       int32_t length, UChar32 codePoint, UConverterCallbackReason reason,
                       UErrorCode* status) {
  if (reason <= UCNV_IRREGULAR) *static_cast<bool*>(const_cast<void*>(context)) = true;
  UCNV_FROM_U_CALLBACK_SUBSTITUTE(nullptr, args, units, length, codePoint, reason, status);
}

unsigned effectiveCodePage(unsigned codePage) {
  return codePage == CP_ACP ? ansiCodePage() : codePage;
}

}  // namespace

unsigned ansiCodePage() {
  constexpr unsigned fallback = 950;
  if (!machineOpen()) return fallback;
  try {
    auto key = reg::Key::open(reg::Root::LocalMachine,
                              L"SYSTEM\\CurrentControlSet\\Control\\Nls\\CodePage");
    if (!key) return fallback;
    auto value = key->query(L"ACP");
    auto text = value ? value->text() : std::nullopt;
    if (!text || text->empty()) return fallback;
    std::size_t used = 0;
    unsigned long cp = std::stoul(*text, &used);
    return used == text->size() && cp != 0 && cp < 65536 ? static_cast<unsigned>(cp) : fallback;
  } catch (const std::exception&) {  // a damaged hive or a value that is no number
    return fallback;
  }
}

std::wstring toWide(unsigned codePage, std::string_view bytes) {
  codePage = effectiveCodePage(codePage);
  if (codePage == CP_UTF8) return fromUtf8(bytes);
  Converter conv = openConverter(codePage);
  UErrorCode status = U_ZERO_ERROR;
  ucnv_setToUCallBack(conv.get(), substituteQuestionMark, nullptr, nullptr, nullptr, &status);
  auto text = convertWithPreflight<std::u16string>([&](char16_t* out, int32_t cap, UErrorCode* st) {
    ucnv_resetToUnicode(conv.get());
    return ucnv_toUChars(conv.get(), out, cap, bytes.data(), static_cast<int32_t>(bytes.size()), st);
  });
  return fromUtf16(text);
}

std::string fromWide(unsigned codePage, std::wstring_view text, bool* usedDefault) {
  codePage = effectiveCodePage(codePage);
  bool substituted = false;
  std::string out;
  if (codePage == CP_UTF8) {
    std::u16string units = utf16(text);
    out = convertWithPreflight<std::string>([&](char* dest, int32_t cap, UErrorCode* st) {
      int32_t length = 0, subs = 0;
      u_strToUTF8WithSub(dest, cap, &length, units.data(), static_cast<int32_t>(units.size()),
                         0xFFFD, &subs, st);
      substituted = substituted || subs > 0;
      return length;
    });
  } else {
    Converter conv = openConverter(codePage);
    UErrorCode status = U_ZERO_ERROR;
    ucnv_setSubstChars(conv.get(), "?", 1, &status);
    ucnv_setFallback(conv.get(), true);
    ucnv_setFromUCallBack(conv.get(), substituteAndNote, &substituted, nullptr, nullptr, &status);
    std::u16string units = utf16(text);
    out = convertWithPreflight<std::string>([&](char* dest, int32_t cap, UErrorCode* st) {
      ucnv_resetFromUnicode(conv.get());
      return ucnv_fromUChars(conv.get(), dest, cap, units.data(),
                             static_cast<int32_t>(units.size()), st);
    });
  }
  if (usedDefault) *usedDefault = substituted;
  return out;
}

std::string utf8(std::wstring_view text) { return fromWide(CP_UTF8, text); }

std::wstring fromUtf8(std::string_view bytes) {
  auto units = convertWithPreflight<std::u16string>([&](char16_t* out, int32_t cap, UErrorCode* st) {
    int32_t length = 0;
    u_strFromUTF8WithSub(out, cap, &length, bytes.data(), static_cast<int32_t>(bytes.size()),
                         0xFFFD, nullptr, st);
    return length;
  });
  return fromUtf16(units);
}

std::u16string utf16(std::wstring_view text) {
  return convertWithPreflight<std::u16string>([&](char16_t* out, int32_t cap, UErrorCode* st) {
    int32_t length = 0;
    u_strFromUTF32WithSub(out, cap, &length, asUtf32(text.data()),
                          static_cast<int32_t>(text.size()), 0xFFFD, nullptr, st);
    return length;
  });
}

std::wstring fromUtf16(std::u16string_view text) {
  return convertWithPreflight<std::wstring>([&](wchar_t* out, int32_t cap, UErrorCode* st) {
    int32_t length = 0;
    u_strToUTF32WithSub(asUtf32(out), cap, &length, text.data(), static_cast<int32_t>(text.size()),
                        0xFFFD, nullptr, st);
    return length;
  });
}

std::wstring upperCase(std::wstring_view text) {
  std::wstring out(text);
  for (wchar_t& c : out)
    if (c >= 0 && c <= 0xFFFF) c = static_cast<wchar_t>(u_toupper(static_cast<UChar32>(c)));
  return out;
}

int compareNoCase(std::wstring_view a, std::wstring_view b) {
  std::u16string ua = utf16(upperCase(a)), ub = utf16(upperCase(b));
  return ua.compare(ub);
}

bool equalNoCase(std::wstring_view a, std::wstring_view b) {
  return a.size() == b.size() && upperCase(a) == upperCase(b);
}

}  // namespace plat
