// Seeding the user's installation record and setting the folder symbols.
#include "install_record.h"

#include "frame/module.h"
#include "frame/registry_text.h"

namespace core {

namespace {

constexpr std::size_t kMaxValueName = 512;

struct FolderSymbol {
  const ACHAR* symbol;
  const ACHAR* value;
};
constexpr FolderSymbol kFolderSymbols[] = {
    {L"KBLK", L"KCADBLK"}, {L"KDEF", L"KCADDEF"}, {L"KDTA", L"KCADDTA"},   {L"KHLP", L"KCADHLP"},
    {L"KUSR", L"KCADUSR"}, {L"KGUSR", L"KCADGUSR"}, {L"KLAW", L"KCADLAW"}, {L"K_OEM", L"OEM"},
};

}  // namespace

void seedUserRecord() {
  auto machine = plat::reg::Key::open(plat::reg::Root::LocalMachine, kc::kMachineInstallKey);
  if (!machine) return;
  auto user = plat::reg::Key::create(plat::reg::Root::CurrentUser, kc::kInstallKey);
  if (!user) return;
  for (const plat::reg::Value& value : machine->values()) {
    if (value.name.size() > kMaxValueName || user->query(value.name)) continue;
    kc::writeRegString(*user, value.name, kc::registryText(value));
  }
}

void setFolderSymbols() {
  auto user = plat::reg::Key::open(plat::reg::Root::CurrentUser, kc::kInstallKey);
  if (!user) return;
  for (const FolderSymbol& f : kFolderSymbols) {
    auto text = kc::readRegString(*user, f.value);
    if (!text) continue;
    resbuf* value = acutBuildList(RTSTR, text->c_str(), 0);
    acedPutSym(f.symbol, value);
    acutRelRb(value);
  }
}

}  // namespace core
