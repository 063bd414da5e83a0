// The about box: the installation's picture (the edition's bitmap file, else bitmap resource 284)
// stretched over the picture frame, the caller's text and an acknowledgement line. It closes
// itself after one second, or earlier with Enter or Escape.
#include "about_box.h"

#include "frame/args.h"
#include "frame/module.h"
#include "frame/registry_text.h"
#include "host/windows.h"
#include "platform/dialog.h"
#include "platform/files.h"
#include "platform/image_files.h"
#include "platform/registry.h"

namespace core {

namespace {

constexpr int IDD_ABOUT = 3001, IDC_PICTURE = 1000, IDC_TEXT = 221, IDC_THANKS = 223;
constexpr int IDB_ABOUT = 284;
constexpr int kCloseTimer = 1;

// What the box says when the caller gives no text.
constexpr const wchar_t* kDefaultText = L"KORA CAD 建築繪圖輔助系統";
constexpr const wchar_t* kThanks = L"感謝您使用 KORA CAD，並感謝所有提供意見的建築師。";

// The edition's picture "%s\System\%s\%s.bmp" (KDIR, OEM, OEM); empty when a value or the file
// is missing or unreadable.
plat::Bitmap editionPicture() {
  auto key = plat::reg::Key::open(plat::reg::Root::CurrentUser, kc::kInstallKey);
  if (!key) return {};
  auto root = kc::readRegString(*key, L"KDIR");
  auto oem = kc::readRegString(*key, L"OEM");
  if (!root || !oem) return {};
  std::wstring path = *root;
  if (!path.empty() && path.back() == L'\\') path.pop_back();
  path += L"\\System\\" + *oem + L"\\" + *oem + L".bmp";
  auto file = plat::resolve(path);
  return file ? plat::readBmp(*file) : plat::Bitmap();
}

class fnAbout : public plat::Dialog {
 public:
  fnAbout(std::wstring text, plat::Window* owner) : Dialog(IDD_ABOUT, owner), text_(std::move(text)) {}

 protected:
  bool onInitDialog() override {
    setItemText(IDC_TEXT, text_);
    setItemText(IDC_THANKS, kThanks);
    picture_ = editionPicture();
    if (picture_.empty()) picture_ = plat::loadBitmap(IDB_ABOUT);
    if (plat::Window* frame = child(IDC_PICTURE)) {
      area_ = frame->rect();
      frame->show(false);
    }
    setTimer(kCloseTimer, 1000);
    return true;
  }
  void onPaint(plat::DC& dc) override {
    Dialog::onPaint(dc);
    dc.stretchBlt(area_, picture_);
  }
  void onTimer(int) override {
    killTimer(kCloseTimer);
    endDialog(plat::IDOK);
  }

 private:
  std::wstring text_;
  plat::Bitmap picture_;
  plat::Rect area_;
};

}  // namespace

int k_about(resbuf* args) {
  kc::Args in(args);
  auto given = in.takeString();
  if (!given && !in.atEnd()) return RTNORM;  // a text of another type: nil, no box
  std::wstring text = given.value_or(kDefaultText);
  plat::ResourceOverride own(kc::thisModule().resources());
  fnAbout box(text, adsw_acadMainWnd());
  box.doModal();
  acedRetNil();
  return RTNORM;
}

}  // namespace core
