// wc, uc and keystate over the host (UCSXDIR, acedTrans) and the platform's key states.
#include "input_handlers.h"

#include "coordinates.h"
#include "platform/keyboard.h"

namespace core::fn {
namespace {

enum class Toward { World, User };

// The angle of the user system's X axis in the world XY plane (UCSXDIR).
double ucsXAngle() {
  resbuf rb{};
  if (acedGetVar(L"UCSXDIR", &rb) != RTNORM || (rb.restype != RT3DPOINT && rb.restype != RTPOINT)) return 0;
  return directionAngle(rb.resval.rpoint[0], rb.resval.rpoint[1]);
}

// wc and uc: an angle (real or short) turned by the user system's X angle, or a point (2D or 3D)
// converted as a position between the user system (code 1) and the world (code 0).
int convert(resbuf* args, Toward toward) {
  if (!args) return RTERROR;
  switch (args->restype) {
    case RTREAL:
    case RTSHORT: {
      double angle = args->restype == RTREAL ? args->resval.rreal : args->resval.rint;
      double x = ucsXAngle();
      acedRetReal(toward == Toward::World ? userToWorldAngle(angle, x) : worldToUserAngle(angle, x));
      return RTNORM;
    }
    case RTPOINT:
    case RT3DPOINT: {
      resbuf world{}, user{};
      world.restype = user.restype = RTSHORT;
      user.resval.rint = 1;
      ads_point pt = {args->resval.rpoint[0], args->resval.rpoint[1],
                      args->restype == RT3DPOINT ? args->resval.rpoint[2] : 0.0};
      ads_point result;
      bool toWorld = toward == Toward::World;
      if (acedTrans(pt, toWorld ? &user : &world, toWorld ? &world : &user, 0, result) != RTNORM) return RTERROR;
      acedRetPoint(result);
      return RTNORM;
    }
    default:
      return RTERROR;
  }
}

// True while the key is held down (the state's high bit).
bool down(int key) { return plat::keyState(key) < 0; }

}  // namespace

int wc(resbuf* args) { return convert(args, Toward::World); }

int uc(resbuf* args) { return convert(args, Toward::User); }

// 10 while Control is down (Shift or not), 11 while only Shift is, else nil.
int keystate(resbuf*) {
  if (down(plat::VK_CONTROL)) acedRetInt(10);
  else if (down(plat::VK_SHIFT)) acedRetInt(11);
  return RTNORM;
}

}  // namespace core::fn
