// The AutoLISP reader: integers (those beyond 32 bits read as reals), reals, strings with
// backslash escapes, symbols (upper-cased), 'quote, dotted pairs, ";" line comments and ";| |;"
// block comments. Faults throw lisp::Error with AutoLISP's messages.
#pragma once

#include <optional>
#include <string_view>

#include "lisp/value.h"

namespace lisp {

class Reader {
 public:
  explicit Reader(std::wstring_view source) : src_(source) {}
  // The next form; nullopt at the end of the text.
  std::optional<Value> next();

 private:
  Value readForm(int depth);
  Value readList(int depth);
  Value readString();
  Value readAtom();
  void skipBlank();  // whitespace and comments
  bool atEnd() const { return pos_ >= src_.size(); }

  std::wstring_view src_;
  std::size_t pos_ = 0;
};

}  // namespace lisp
