// Building a result-buffer chain from (type, value) arguments, for acutBuildList (closed by 0)
// and acedCommandS (closed by RTNONE).
#pragma once

#include <cstdarg>

#include "host/ads.h"

namespace host {

// A chain under construction: nodes are appended at its tail.
struct ChainBuilder {
  resbuf* head = nullptr;
  resbuf* tail = nullptr;

  resbuf* append(resbuf* rb) {
    if (tail)
      tail->rbnext = rb;
    else
      head = rb;
    tail = rb;
    return rb;
  }
  resbuf* add(int type) { return append(acutNewRb(type)); }
};

// Reads (type, value) pairs from `args`, starting with the type `restype`, until the type
// `terminator` (or 0); the values take the forms acutBuildList documents.
resbuf* buildChain(int restype, va_list args, int terminator);

}  // namespace host
