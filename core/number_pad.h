// The quick number pad: the LISP function c:digit (also the command DIGIT, as its name makes it)
// and its dialog fnDigit (dialog 3004, "計算機").
#pragma once

#include "host/ads.h"

namespace core {

// c:digit [mode [range minimum, maximum, value | constraint value, constraint]]
int c_digit(resbuf* args);

}  // namespace core
