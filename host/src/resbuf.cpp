// Result-buffer chains: allocation, release, building from (type, value) pairs and copying.
// Strings in a node are malloc'ed and owned by the node, so acutRelRb frees a whole chain.
#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <cwchar>

#include "chain_build.h"
#include "host/ads.h"

namespace {

// The field a DXF group code uses, by the host's code ranges.
RbValueKind groupKind(int code) {
  if (code < 0) {
    if (code == -1 || code == -2) return RbValueKind::Name;
    if (code == -3 || code == -4) return RbValueKind::None;
    return RbValueKind::String;
  }
  if (code <= 9) return RbValueKind::String;
  if (code <= 17) return RbValueKind::Point;
  if (code <= 59) return RbValueKind::Real;
  if (code <= 79) return RbValueKind::Short;
  if (code <= 99) return RbValueKind::Long;
  if (code == 100 || code == 101 || code == 102 || code == 105) return RbValueKind::String;
  if (code >= 110 && code <= 119) return RbValueKind::Point;
  if (code >= 120 && code <= 149) return RbValueKind::Real;
  if (code >= 160 && code <= 169) return RbValueKind::Int64;
  if (code >= 170 && code <= 179) return RbValueKind::Short;
  if (code >= 210 && code <= 219) return RbValueKind::Point;  // extrusion direction
  if (code >= 220 && code <= 239) return RbValueKind::Real;
  if (code >= 270 && code <= 289) return RbValueKind::Short;
  if (code >= 290 && code <= 299) return RbValueKind::Short;
  if (code >= 300 && code <= 309) return RbValueKind::String;
  if (code >= 310 && code <= 319) return RbValueKind::Binary;
  if (code >= 320 && code <= 329) return RbValueKind::String;
  if (code >= 330 && code <= 369) return RbValueKind::Name;
  if (code >= 370 && code <= 389) return RbValueKind::Short;
  if (code >= 390 && code <= 399) return RbValueKind::String;
  if (code >= 400 && code <= 409) return RbValueKind::Short;
  if (code >= 410 && code <= 419) return RbValueKind::String;
  if (code >= 420 && code <= 429) return RbValueKind::Long;
  if (code >= 430 && code <= 439) return RbValueKind::String;
  if (code >= 440 && code <= 459) return RbValueKind::Long;
  if (code >= 460 && code <= 469) return RbValueKind::Real;
  if (code >= 470 && code <= 479) return RbValueKind::String;
  if (code >= 1000 && code <= 1009) return code == 1004 ? RbValueKind::Binary : RbValueKind::String;
  if (code >= 1010 && code <= 1013) return RbValueKind::Point;
  if (code >= 1010 && code <= 1059) return RbValueKind::Real;
  if (code >= 1060 && code <= 1070) return RbValueKind::Short;
  if (code == 1071) return RbValueKind::Long;
  return RbValueKind::None;
}

ACHAR* copyString(const ACHAR* text) {
  if (!text) text = L"";
  std::size_t n = std::wcslen(text) + 1;
  auto* copy = static_cast<ACHAR*>(std::malloc(n * sizeof(ACHAR)));
  std::wmemcpy(copy, text, n);
  return copy;
}

}  // namespace

RbValueKind acutRbValueKind(int restype) {
  switch (restype) {
    case RTREAL:
    case RTANG:
    case RTORINT:
      return RbValueKind::Real;
    case RTPOINT:
    case RT3DPOINT:
      return RbValueKind::Point;
    case RTSHORT:
      return RbValueKind::Short;
    case RTLONG:
      return RbValueKind::Long;
    case RTSTR:
    case RTDXF0:
      return RbValueKind::String;
    case RTENAME:
    case RTPICKS:
      return RbValueKind::Name;
    case RTNONE:
    case RTVOID:
    case RTLB:
    case RTLE:
    case RTDOTE:
    case RTNIL:
    case RTT:
      return RbValueKind::None;
    default:
      return groupKind(restype);
  }
}

resbuf* acutNewRb(int restype) {
  auto* rb = static_cast<resbuf*>(std::calloc(1, sizeof(resbuf)));
  rb->restype = static_cast<short>(restype);
  return rb;
}

int acutRelRb(resbuf* chain) {
  while (chain) {
    resbuf* next = chain->rbnext;
    switch (acutRbValueKind(chain->restype)) {
      case RbValueKind::String:
        std::free(chain->resval.rstring);
        break;
      case RbValueKind::Binary:
        std::free(chain->resval.rbinary.buf);
        break;
      default:
        break;
    }
    std::free(chain);
    chain = next;
  }
  return RTNORM;
}

resbuf* host::buildChain(int restype, va_list args, int terminator) {
  host::ChainBuilder chain;
  for (int type = restype; type != 0 && type != terminator; type = va_arg(args, int)) {
    resbuf* rb = acutNewRb(type);
    switch (acutRbValueKind(type)) {
      case RbValueKind::Real:
        rb->resval.rreal = va_arg(args, double);
        break;
      case RbValueKind::Point: {
        const ads_real* p = va_arg(args, const ads_real*);
        for (int i = 0; i < 3; ++i) rb->resval.rpoint[i] = p ? p[i] : 0.0;
        break;
      }
      case RbValueKind::Short:
        rb->resval.rint = static_cast<short>(va_arg(args, int));
        break;
      case RbValueKind::Long:
        rb->resval.rlong = va_arg(args, std::int32_t);
        break;
      case RbValueKind::Int64:
        rb->resval.mnInt64 = va_arg(args, std::int64_t);
        break;
      case RbValueKind::String:
        rb->resval.rstring = copyString(va_arg(args, const ACHAR*));
        break;
      case RbValueKind::Name: {
        const std::int64_t* n = va_arg(args, const std::int64_t*);
        rb->resval.rlname[0] = n ? n[0] : 0;
        rb->resval.rlname[1] = n ? n[1] : 0;
        break;
      }
      case RbValueKind::Binary:
      case RbValueKind::None:
        break;
    }
    chain.append(rb);
  }
  return chain.head;
}

resbuf* acutBuildList(int restype, ...) {
  va_list args;
  va_start(args, restype);
  resbuf* head = host::buildChain(restype, args, 0);
  va_end(args);
  return head;
}

resbuf* acutDuplicateChain(const resbuf* source) {
  host::ChainBuilder chain;
  for (; source; source = source->rbnext) {
    resbuf* rb = acutNewRb(source->restype);
    rb->resval = source->resval;
    switch (acutRbValueKind(source->restype)) {
      case RbValueKind::String:
        rb->resval.rstring = copyString(source->resval.rstring);
        break;
      case RbValueKind::Binary: {
        short n = source->resval.rbinary.clen;
        rb->resval.rbinary.buf = static_cast<char*>(std::malloc(n > 0 ? n : 1));
        if (n > 0) std::memcpy(rb->resval.rbinary.buf, source->resval.rbinary.buf, n);
        break;
      }
      default:
        break;
    }
    chain.append(rb);
  }
  return chain.head;
}
