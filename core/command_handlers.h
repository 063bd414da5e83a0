// kcCore's command brackets and progress mark, rows of its function table: k_fcmd opens a suite
// command (scale symbol, full undo, one undo group), lcmd closes it, progress turns a bar on the
// command line.
#pragma once

#include "host/ads.h"

namespace core::fn {

int k_fcmd(resbuf* args);
int lcmd(resbuf* args);
int progress(resbuf* args);

}  // namespace core::fn
