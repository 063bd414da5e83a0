// kcCore: the suite's core module. Its frame differs from the others': no installation gate and no
// load message; at init it keeps the suite version in step, at every document load it seeds the
// user's installation record and sets the folder symbols, and every call is guarded so that
// nothing a handler throws reaches the host.
#include "about_box.h"
#include "command_handlers.h"
#include "file_handlers.h"
#include "frame/docdata.h"
#include "frame/module.h"
#include "input_handlers.h"
#include "install_record.h"
#include "message_handlers.h"
#include "number_pad.h"
#include "number_handlers.h"
#include "script_sun_handlers.h"
#include "string_handlers.h"
#include "suite_version.h"

// kcCore's resource tables, compiled from resources/kcCore.rc.
void kcCoreResources(plat::ResourceSet& set);

namespace {

double suiteVersion = 0;

int k_ver(resbuf*) {
  acedRetReal(suiteVersion);
  return RTNORM;
}

// A row whose function comes with a later part of the core library: it returns nil.
int notYetAvailable(resbuf*) { return RTNORM; }

// The installation root the start-up LISP keeps in kdir; nothing when kdir is not a string.
std::optional<std::wstring> installationRoot() {
  resbuf* value = nullptr;
  std::optional<std::wstring> root;
  if (acedGetSym(L"kdir", &value) == RTNORM && value && value->restype == RTSTR)
    root = value->resval.rstring;
  acutRelRb(value);
  return root;
}

#define LATER(name) {L##name, notYetAvailable}

const kc::FunctionRow kFunctions[] = {
    {L"k_ver", k_ver},
    {L"dwg2bak", core::fn::dwg2bak}, {L"fremove", core::fn::fremove}, {L"frename", core::fn::frename},
    {L"fcopy", core::fn::fcopy}, {L"cwd", core::fn::cwd}, {L"flist", core::fn::flist},
    {L"dlist", core::fn::dlist}, {L"sltpath", core::fn::sltpath}, {L"cdd", core::fn::cdd},
    {L"md", core::fn::md}, {L"fhid", core::fn::fhid}, {L"ftime", core::fn::ftime},
    {L"srtstr", core::fn::srtstr}, {L"rtod", core::fn::rtod}, {L"dtor", core::fn::dtor},
    {L"tan", core::fn::tan}, {L"asin", core::fn::asin}, {L"d236", core::fn::d236},
    {L"362d", core::fn::f362d}, {L"wc", core::fn::wc}, {L"uc", core::fn::uc}, {L"mid", core::fn::mid},
    {L"k_fcmd", core::fn::k_fcmd}, {L"lcmd", core::fn::lcmd},
    {L"strrep", core::fn::strrep},
    {L"progress", core::fn::progress},
    {L"strlist", core::fn::strlist}, {L"keystate", core::fn::keystate},
    LATER("sh_txt"), {L"chmsg", core::fn::chmsg}, {L"yes_no", core::fn::yes_no},
    {L"fl_len", core::fn::fl_len},
    LATER("side"),
    LATER("sldwin"),
    {L"strfind", core::fn::strfind},
    LATER("sld_sc"), LATER("sh_sld"),
    LATER("cxl"),
    LATER("blkext"), LATER("blk2sld"),
    LATER("curv_len"), LATER("curv_area"), LATER("curv_cen"), LATER("clockwise_polygon"),
    LATER("sql"), LATER("open_db"), LATER("close_db"), LATER("rglset"), LATER("rgcset"),
    LATER("rglval"), LATER("rgcval"), LATER("rglkls"), LATER("rgckls"), LATER("rglvls"),
    LATER("rgcvls"),
    {L"k_about", core::k_about},
    {L"c:digit", core::c_digit},
    LATER("kce"), LATER("k_phrase"), LATER("chhlp"), LATER("k_listsel"),
    LATER("k_seldir"), LATER("k_docname"), LATER("k_dwglist"), LATER("k_dwgview"),
    {L"k_G2B", core::fn::k_G2B}, {L"k_B2G", core::fn::k_B2G}, {L"k_sunang", core::fn::k_sunang},
};

#undef LATER

class CoreModule : public kc::Module {
 public:
  CoreModule()
      : Module({.name = L"kcCore",
                .functions = kFunctions,
                .checksInstallation = false,
                .versionThreshold = 0,
                .folders = {},
                .loadMessage = L"",
                .guardedDispatch = true}) {
    kcCoreResources(resourceSet());
  }

 protected:
  void onInit(void*) override {
    suiteVersion = 0;
    if (auto root = installationRoot()) suiteVersion = core::syncSuiteVersion(*root);
  }
  void beforeRegister() override {
    core::seedUserRecord();
    core::setFolderSymbols();
  }

 private:
  AsdkDataManager<CDocData> documents_;  // the module's record of each open document
};

}  // namespace

KC_DEFINE_MODULE(CoreModule)
