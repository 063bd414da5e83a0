// Reading a LISP argument chain in order, by result-buffer type, as every handler checks its
// arguments: each take* returns nothing when the next argument is missing or of another type.
#pragma once

#include <optional>
#include <string>

#include "host/ads.h"

namespace kc {

class Args {
 public:
  explicit Args(const resbuf* chain) : next_(chain) {}

  std::optional<short> takeShort();  // RTSHORT only
  std::optional<int> takeInt();  // RTSHORT or RTLONG
  std::optional<double> takeReal();  // RTREAL only
  std::optional<double> takeNumber();  // RTREAL, RTSHORT or RTLONG
  std::optional<std::wstring> takeString();
  bool takeName(ads_name name);  // RTENAME
  const resbuf* peek() const { return next_; }
  bool atEnd() const { return next_ == nullptr; }
  void skip() {
    if (next_) next_ = next_->rbnext;
  }

 private:
  const resbuf* takeOf(int type);
  const resbuf* next_;
};

}  // namespace kc
