// kcCore's LISP number functions, rows of its function table: angle conversions, tan and asin,
// base-36 length codes and the midpoint.
#pragma once

#include "host/ads.h"

namespace core::fn {

int rtod(resbuf* args);
int dtor(resbuf* args);
int tan(resbuf* args);
int asin(resbuf* args);
int d236(resbuf* args);
int f362d(resbuf* args);  // (362d code)
int mid(resbuf* args);

}  // namespace core::fn
