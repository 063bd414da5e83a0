// The host session as modules and LISP programs meet it: loading and unloading modules,
// functions in every document, acedInvoke between modules and LISP, and LISP symbols.
#include <gtest/gtest.h>

#include <fstream>

#include "host/bridge.h"
#include "host/document.h"
#include "host/modules.h"
#include "host/windows.h"
#include "platform/dialog.h"
#include "platform/image_files.h"
#include "platform/msgbox.h"
#include "platform/scripted_user.h"
#include "platform/codepage.h"
#include "testing.h"

namespace {

class SessionTest : public kctest::HostTest {
 protected:
  SessionTest() : HostTest(false) {}
  // acedInvoke with a name and arguments; the result as prin1 prints it, or "failed".
  std::wstring invoke(resbuf* call) {
    resbuf* result = nullptr;
    int status = acedInvoke(call, &result);
    acutRelRb(call);
    std::wstring shown = status == RTNORM ? lisp::prin1String(host::bridge::chainToValue(result)) : L"failed";
    acutRelRb(result);
    return shown;
  }
};

TEST_F(SessionTest, AcedInvokeReachesLispFunctionsAndModules) {
  eval(L"(defun add2 (a b) (+ a b))");
  EXPECT_EQ(invoke(acutBuildList(RTSTR, L"add2", RTSHORT, 2, RTSHORT, 40, 0)), L"42");
  EXPECT_EQ(invoke(acutBuildList(RTSTR, L"ADD2", RTSHORT, 2, RTREAL, 0.5, 0)), L"2.5");
  ASSERT_TRUE(session().loadModule(L"kcSection"));
  EXPECT_EQ(invoke(acutBuildList(RTSTR, L"st_open", RTSTR, L"C:\\inv.scl", 0)), L"2");
  EXPECT_EQ(invoke(acutBuildList(RTSTR, L"st_close", 0)), L"nil");
}

TEST_F(SessionTest, AcedInvokeOfAnAbsentOwnerFailsCleanly) {
  EXPECT_EQ(invoke(acutBuildList(RTSTR, L"k_ver", 0)), L"failed");  // kcCore is not loaded
  EXPECT_EQ(invoke(acutBuildList(RTSHORT, 1, 0)), L"failed");
  eval(L"(defun broken () (/ 1 0))");
  EXPECT_EQ(invoke(acutBuildList(RTSTR, L"broken", 0)), L"failed");
  resbuf* result = reinterpret_cast<resbuf*>(1);
  EXPECT_EQ(acedInvoke(nullptr, &result), RTERROR);
  EXPECT_EQ(result, nullptr);
}

TEST_F(SessionTest, UnloadingAModuleRemovesItsFunctionsFromEveryDocument) {
  ASSERT_TRUE(session().loadModule(L"kcSection"));
  session().newDocument();
  EXPECT_EQ(show(L"(type st_open)"), L"EXRXSUBR");
  EXPECT_EQ(show(L"(arxunload \"kcSection\")"), L"\"kcSection\"");
  for (host::Document* doc : session().documents()) {
    session().makeCurrent(*doc);
    EXPECT_EQ(show(L"st_open"), L"nil");
  }
  EXPECT_TRUE(session().evaluate(L"(st_open \"C:\\\\x.sbm\")").failed);
}

TEST_F(SessionTest, ModulesThatCannotLoadAreReported) {
  EXPECT_EQ(show(L"(arxload \"C:\\\\nowhere\\\\kcNone.arx\" 'failed)"), L"FAILED");
  EXPECT_EQ(takeOutput(), L"\n找不到模組: C:\\nowhere\\kcNone.arx");
  std::ofstream(machine_->driveC() / "fake.arx") << "not a library";
  lisp::TopLevelResult result = session().evaluate(L"(arxload \"C:\\\\fake.arx\")");
  EXPECT_TRUE(result.failed);
  EXPECT_EQ(result.message, L"ARXLOAD failed");
  ASSERT_TRUE(session().loadModule(L"kcSection"));
  EXPECT_FALSE(session().loadModule(L"kcSection"));  // already loaded
}

TEST_F(SessionTest, SymbolsCrossTheBridgeBothWays) {
  resbuf* value = acutBuildList(RTLB, RTSTR, L"a", RTREAL, 1.5, RTLE, 0);
  EXPECT_EQ(acedPutSym(L"shared", value), RTNORM);
  acutRelRb(value);
  EXPECT_EQ(show(L"shared"), L"(\"a\" 1.5)");
  eval(L"(setq n 70000)");
  resbuf* n = nullptr;
  ASSERT_EQ(acedGetSym(L"N", &n), RTNORM);
  EXPECT_EQ(n->restype, RTLONG);
  acutRelRb(n);
  resbuf* missing = nullptr;
  ASSERT_EQ(acedGetSym(L"never_set", &missing), RTNORM);
  EXPECT_EQ(missing->restype, RTNIL);
  acutRelRb(missing);
}

TEST_F(SessionTest, EachDocumentHasItsOwnNamespaceAndDrawing) {
  eval(L"(setq here 1)");
  eval(L"(entmake '((0 . \"LINE\") (10 0.0 0.0 0.0) (11 1.0 1.0 0.0)))");
  host::Document& first = session().current();
  session().newDocument();
  EXPECT_EQ(show(L"here"), L"nil");
  EXPECT_EQ(show(L"(entlast)"), L"nil");
  EXPECT_EQ(show(L"(getvar \"dwgname\")"), L"\"Drawing2.dwg\"");
  session().makeCurrent(first);
  EXPECT_EQ(show(L"here"), L"1");
  EXPECT_EQ(show(L"(cdr (assoc 0 (entget (entlast))))"), L"\"LINE\"");
}

// The main window is the platform's main window while the session runs, titled with the current
// drawing, and the owner a modal dialog disables while it runs.
TEST_F(SessionTest, TheMainWindowCarriesTheDrawingAndOwnsDialogs) {
  plat::Window* main = adsw_acadMainWnd();
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(main, plat::mainWindow());
  EXPECT_EQ(main->text(), L"KORA CAD 主機 - [Drawing1.dwg]");
  EXPECT_EQ(plat::findWindow(L"KORA CAD 主機 - [Drawing1.dwg]"), main);
  host::Document& first = session().current();
  session().newDocument();
  EXPECT_EQ(main->text(), L"KORA CAD 主機 - [Drawing2.dwg]");
  session().makeCurrent(first);
  EXPECT_EQ(main->text(), L"KORA CAD 主機 - [Drawing1.dwg]");

  bool ownerEnabled = true;
  plat::Window* owner = nullptr;
  plat::scripted::onNextWindow([&](plat::scripted::Ui& ui) {
    owner = ui.window().parent();
    ownerEnabled = main->enabled();
    ui.click(plat::IDOK);
  });
  plat::messageBox(adsw_acadMainWnd(), L"訊息", L"KORA CAD訊息", plat::MB_OK | plat::MB_TOPMOST);
  EXPECT_EQ(owner, main);
  EXPECT_FALSE(ownerEnabled);
  EXPECT_TRUE(main->enabled());
  if (const char* keep = std::getenv("KC_KEEP_SNAPSHOTS"))
    plat::writePng(main->render(), std::filesystem::path(keep) / "main-window.png");

  restartSession();
  EXPECT_NE(adsw_acadMainWnd(), nullptr);
  EXPECT_EQ(adsw_acadMainWnd(), plat::mainWindow());
}

}  // namespace
