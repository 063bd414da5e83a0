// kcCore's LISP string functions, rows of its function table.
#pragma once

#include "host/ads.h"

namespace core::fn {

int srtstr(resbuf* args);
int strrep(resbuf* args);
int strlist(resbuf* args);
int strfind(resbuf* args);

}  // namespace core::fn
