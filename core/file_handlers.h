// kcCore's LISP file and folder functions, rows of its function table.
#pragma once

#include "host/ads.h"

namespace core::fn {

int dwg2bak(resbuf* args);
int fremove(resbuf* args);
int frename(resbuf* args);
int fcopy(resbuf* args);
int cwd(resbuf* args);
int flist(resbuf* args);
int dlist(resbuf* args);
int sltpath(resbuf* args);
int cdd(resbuf* args);
int md(resbuf* args);
int fhid(resbuf* args);
int ftime(resbuf* args);
int fl_len(resbuf* args);

}  // namespace core::fn
