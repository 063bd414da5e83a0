// chmsg and yes_no: topmost boxes titled "KORA CAD訊息" over the host's main window (the
// headless platform has none, so the desktop owns them), answered by the user.
#include "message_handlers.h"

#include "frame/args.h"
#include "platform/msgbox.h"

namespace core::fn {
namespace {

constexpr const ACHAR* kCaption = L"KORA CAD訊息";

// Shows the text argument in a box of the kind; nullopt (no box) when the argument is no string.
std::optional<int> showBox(resbuf* args, unsigned kind) {
  kc::Args in(args);
  auto text = in.takeString();
  if (!text) return std::nullopt;
  return plat::messageBox(nullptr, *text, kCaption, kind | plat::MB_TOPMOST);
}

}  // namespace

int chmsg(resbuf* args) {
  showBox(args, plat::MB_OK | plat::MB_ICONINFORMATION);
  return RTNORM;
}

int yes_no(resbuf* args) {
  if (showBox(args, plat::MB_YESNO | plat::MB_ICONQUESTION) == plat::IDYES) acedRetInt(1);
  return RTNORM;
}

}  // namespace core::fn
