// Typed reading of LISP argument chains.
#include "frame/args.h"

namespace kc {

const resbuf* Args::takeOf(int type) {
  if (!next_ || next_->restype != type) return nullptr;
  const resbuf* rb = next_;
  next_ = next_->rbnext;
  return rb;
}

std::optional<short> Args::takeShort() {
  if (const resbuf* rb = takeOf(RTSHORT)) return rb->resval.rint;
  return std::nullopt;
}

std::optional<int> Args::takeInt() {
  if (const resbuf* rb = takeOf(RTSHORT)) return rb->resval.rint;
  if (const resbuf* rb = takeOf(RTLONG)) return rb->resval.rlong;
  return std::nullopt;
}

std::optional<double> Args::takeReal() {
  if (const resbuf* rb = takeOf(RTREAL)) return rb->resval.rreal;
  return std::nullopt;
}

std::optional<double> Args::takeNumber() {
  if (auto i = takeInt()) return *i;
  return takeReal();
}

std::optional<std::wstring> Args::takeString() {
  if (const resbuf* rb = takeOf(RTSTR)) return std::wstring(rb->resval.rstring ? rb->resval.rstring : L"");
  return std::nullopt;
}

bool Args::takeName(ads_name name) {
  const resbuf* rb = takeOf(RTENAME);
  if (!rb) return false;
  name[0] = rb->resval.rlname[0];
  name[1] = rb->resval.rlname[1];
  return true;
}

}  // namespace kc
