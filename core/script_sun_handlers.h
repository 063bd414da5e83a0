// kcCore's LISP handlers for script conversion (k_G2B, k_B2G) and the sun angle (k_sunang), rows
// of its function table.
#pragma once

#include "host/ads.h"

namespace core::fn {

int k_G2B(resbuf* args);
int k_B2G(resbuf* args);
int k_sunang(resbuf* args);

}  // namespace core::fn
