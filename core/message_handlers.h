// kcCore's message and question boxes, rows of its function table: chmsg and yes_no.
#pragma once

#include "host/ads.h"

namespace core::fn {

int chmsg(resbuf* args);
int yes_no(resbuf* args);

}  // namespace core::fn
