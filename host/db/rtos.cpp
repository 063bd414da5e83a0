// acdbRToS: a real as the host shows a length, in one of the five linear unit formats, with the
// current drawing's LUNITS, LUPREC and DIMZIN standing in for -1 and for zero suppression.
// The result is whole or the call fails: a buffer too small gives RTERROR and no text.
#include <cmath>
#include <cwchar>
#include <numeric>
#include <string>

#include "db/database.h"

namespace {

std::wstring fixed(double value, int prec) {
  wchar_t buf[400];
  std::swprintf(buf, 400, L"%.*f", prec, value);
  return buf;
}

// Drops the zeros after the last significant decimal, and the point when none is left (DIMZIN 8).
void dropTrailingZeros(std::wstring& text) {
  if (text.find(L'.') == std::wstring::npos) return;
  while (text.back() == L'0') text.pop_back();
  if (text.back() == L'.') text.pop_back();
}

// A whole number and a fraction of 1/2^prec, reduced: "3 1/4", "3", "1/4".
std::wstring wholeAndFraction(long long whole, long long num, long long den, bool keepWhole) {
  std::wstring out = whole || keepWhole || !num ? std::to_wstring(whole) : L"";
  if (num) {
    long long g = std::gcd(num, den);
    out += (out.empty() ? L"" : L" ") + std::to_wstring(num / g) + L"/" + std::to_wstring(den / g);
  }
  return out;
}

// The text of a non-negative value in the unit format.
std::wstring format(double v, int unit, int prec, int dimzin) {
  switch (unit) {
    case 1: {
      wchar_t buf[64];
      std::swprintf(buf, 64, L"%.*E", prec, v);
      return buf;
    }
    case 2: {
      std::wstring text = fixed(v, prec);
      if (dimzin & 8) dropTrailingZeros(text);
      return text;
    }
    case 3: {  // feet and decimal inches
      double feet = std::floor(v / 12);
      std::wstring inches = fixed(v - feet * 12, prec);
      if (std::wcstod(inches.c_str(), nullptr) >= 12) {
        feet += 1;
        inches = fixed(0, prec);
      }
      return fixed(feet, 0) + L"'-" + inches + L"\"";
    }
    case 4: {  // feet, inches and a fraction of an inch
      long long den = 1LL << prec;
      long long n = std::llround(v * den);
      long long feet = n / (12 * den), rest = n % (12 * den);
      return std::to_wstring(feet) + L"'-" + wholeAndFraction(rest / den, rest % den, den, true) + L"\"";
    }
    default: {  // fractional
      long long den = 1LL << prec;
      long long n = std::llround(v * den);
      return wholeAndFraction(n / den, n % den, den, false);
    }
  }
}

// True when the text shows no digit other than 0 (a value that rounds to zero keeps no sign).
bool showsZero(const std::wstring& text) {
  for (wchar_t c : text) {
    if (c == L'E') break;
    if (c >= L'1' && c <= L'9') return false;
  }
  return true;
}

}  // namespace

int acdbRToS(ads_real value, int unit, int prec, ACHAR* str, std::size_t size) {
  host::Database* db = host::currentDatabase();
  if (unit == -1) unit = db ? db->vars().getInt(L"LUNITS") : 2;
  if (prec == -1) prec = db ? db->vars().getInt(L"LUPREC") : 4;
  if (unit < 1 || unit > 5 || prec < 0 || prec > 8 || !std::isfinite(value) || !str) return RTERROR;
  if ((unit == 4 || unit == 5) && std::fabs(value) * (1LL << prec) > 9e18) return RTERROR;
  int dimzin = db ? db->vars().getInt(L"DIMZIN") : 0;
  std::wstring text = format(std::fabs(value), unit, prec, dimzin);
  if (value < 0 && !showsZero(text)) text.insert(0, 1, L'-');
  if (text.size() + 1 > size) return RTERROR;
  std::wmemcpy(str, text.c_str(), text.size() + 1);
  return RTNORM;
}
