// kcCore: the suite's core module. Its frame differs from the others': no installation gate and no
// load message; at init it keeps the suite version in step, at every document load it seeds the
// user's installation record and sets the folder symbols, and every call is guarded so that
// nothing a handler throws reaches the host.
#include "frame/module.h"
#include "install_record.h"
#include "suite_version.h"

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
    LATER("dwg2bak"), LATER("fremove"), LATER("frename"), LATER("fcopy"), LATER("cwd"),
    LATER("flist"), LATER("dlist"), LATER("sltpath"), LATER("cdd"), LATER("md"), LATER("fhid"),
    LATER("ftime"),
    LATER("srtstr"), LATER("rtod"), LATER("dtor"), LATER("tan"), LATER("asin"), LATER("d236"),
    LATER("362d"), LATER("wc"), LATER("uc"), LATER("mid"),
    LATER("k_fcmd"), LATER("lcmd"),
    LATER("strrep"),
    LATER("progress"),
    LATER("strlist"), LATER("keystate"),
    LATER("sh_txt"), LATER("chmsg"), LATER("yes_no"),
    LATER("fl_len"),
    LATER("side"),
    LATER("sldwin"),
    LATER("strfind"),
    LATER("sld_sc"), LATER("sh_sld"),
    LATER("cxl"),
    LATER("blkext"), LATER("blk2sld"),
    LATER("curv_len"), LATER("curv_area"), LATER("curv_cen"), LATER("clockwise_polygon"),
    LATER("sql"), LATER("open_db"), LATER("close_db"), LATER("rglset"), LATER("rgcset"),
    LATER("rglval"), LATER("rgcval"), LATER("rglkls"), LATER("rgckls"), LATER("rglvls"),
    LATER("rgcvls"),
    LATER("k_about"),
    LATER("c:digit"),
    LATER("kce"), LATER("k_phrase"), LATER("chhlp"), LATER("k_listsel"),
    LATER("k_seldir"), LATER("k_docname"), LATER("k_dwglist"), LATER("k_dwgview"),
    LATER("k_G2B"), LATER("k_B2G"), LATER("k_sunang"),
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
                .guardedDispatch = true}) {}

 protected:
  void onInit(void*) override {
    suiteVersion = 0;
    if (auto root = installationRoot()) suiteVersion = core::syncSuiteVersion(*root);
  }
  void beforeRegister() override {
    core::seedUserRecord();
    core::setFolderSymbols();
  }
};

}  // namespace

KC_DEFINE_MODULE(CoreModule)
