// kcCore's LISP number functions. A number argument is a real or a short integer; anything else,
// or a missing argument, gives nil. Length codes take the drawing's unit from insunits.
#include "number_handlers.h"

#include <array>
#include <cmath>
#include <optional>

#include "frame/args.h"
#include "length_codes.h"
#include "string_functions.h"

namespace core::fn {

namespace {

const double kPi = 4 * std::atan(1.0);

// The next argument as a number, when it is a real or a short integer.
std::optional<double> takeRealOrShort(kc::Args& in) {
  if (auto value = in.takeShort()) return *value;
  return in.takeReal();
}

// The next argument as a point: a 2D point lies in the plane z = 0.
std::optional<std::array<double, 3>> takePoint(kc::Args& in) {
  const resbuf* rb = in.peek();
  if (!rb || (rb->restype != RTPOINT && rb->restype != RT3DPOINT)) return std::nullopt;
  in.skip();
  const double* p = rb->resval.rpoint;
  return std::array<double, 3>{p[0], p[1], rb->restype == RT3DPOINT ? p[2] : 0.0};
}

// Sets a real result computed from the call's one number argument.
template <typename Compute>
int onNumber(resbuf* args, Compute compute) {
  kc::Args in(args);
  if (auto x = takeRealOrShort(in)) acedRetReal(compute(*x));
  return RTNORM;
}

// The factor from the drawing's unit to tenths of a millimetre.
int drawingUnitFactor() {
  resbuf value{};
  int insunits = acedGetVar(L"insunits", &value) == RTNORM && value.restype == RTSHORT ? value.resval.rint : 0;
  return unitFactor(insunits);
}

}  // namespace

int rtod(resbuf* args) {
  return onNumber(args, [](double x) { return x * 180 / kPi; });
}

int dtor(resbuf* args) {
  return onNumber(args, [](double x) { return kPi * x / 180; });
}

int tan(resbuf* args) {
  return onNumber(args, [](double x) { return std::tan(x); });
}

int asin(resbuf* args) {
  return onNumber(args, [](double x) { return std::asin(x); });
}

int d236(resbuf* args) {
  kc::Args in(args);
  std::optional<double> tenths;
  if (auto length = in.takeShort()) tenths = tenthsOfShort(*length, drawingUnitFactor());
  else if (auto real = in.takeReal()) tenths = tenthsOfReal(*real, drawingUnitFactor());
  auto width = in.takeShort();
  if (!tenths || !width || *width < 0 || *width > kMaxCodeWidth) return RTNORM;
  acedRetStr(encodeLength(*tenths, *width).c_str());
  return RTNORM;
}

int f362d(resbuf* args) {
  kc::Args in(args);
  if (auto code = in.takeString()) acedRetReal(decodeLength(inTextBuffer(*code)) / drawingUnitFactor());
  return RTNORM;
}

int mid(resbuf* args) {
  kc::Args in(args);
  auto a = takePoint(in), b = takePoint(in);
  if (!a || !b) return RTNORM;
  ads_point middle = {((*a)[0] + (*b)[0]) / 2, ((*a)[1] + (*b)[1]) / 2, ((*a)[2] + (*b)[2]) / 2};
  acedRetPoint(middle);
  return RTNORM;
}

}  // namespace core::fn
