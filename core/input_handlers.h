// kcCore's functions over the user's working state, rows of its function table: wc and uc
// convert angles and points between the current user coordinate system and the world; keystate
// reports the modifier keys held down.
#pragma once

#include "host/ads.h"

namespace core::fn {

int wc(resbuf* args);
int uc(resbuf* args);
int keystate(resbuf* args);

}  // namespace core::fn
