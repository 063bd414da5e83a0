// The frame as a module's LISP functions meet it: the installation gate with its version
// threshold and 260-byte registry reads, registration in every document, and dispatch by
// function code, plain and guarded.
#include <gtest/gtest.h>

#include "frame/module.h"
#include "frame/registry_text.h"
#include "host/document.h"
#include "host/modules.h"
#include "platform/codepage.h"
#include "platform/msgbox.h"
#include "platform/registry.h"
#include "testing.h"

namespace {

using plat::reg::Key;
using plat::reg::Root;

class FrameTest : public kctest::HostTest {
 protected:
  FrameTest() : HostTest(false) {}
  Key userRecord() { return *Key::create(Root::CurrentUser, kc::kInstallKey); }
  void seedUserRecord(const wchar_t* version) {
    Key key = userRecord();
    key.setString(L"Version", version);
    key.setString(L"KCADUSR", L"C:\\KORA_CAD\\Usr\\");
  }
  host::LoadedModule* load(const wchar_t* name) {
    EXPECT_TRUE(session().loadModule(name));
    return session().modules().find(name);
  }
  std::vector<plat::MessageBoxRecord> boxes() { return plat::scripted::shownMessageBoxes(); }
};

TEST_F(FrameTest, VersionThresholdGatesEveryCall) {
  struct Case {
    const wchar_t* version;
    bool passes;
  } cases[] = {{L"2007", false}, {L"2007.00", false}, {L"2007.01", true}, {L"2025.01", true}, {L"abc", false}};
  for (const Case& c : cases) {
    seedUserRecord(c.version);
    plat::scripted::reset();
    load(L"FrameProbe");
    std::wstring result = show(L"(probe_calls)");
    if (c.passes) {
      EXPECT_NE(result, L"nil") << plat::utf8(c.version);
      EXPECT_TRUE(boxes().empty());
    } else {
      EXPECT_EQ(result, L"nil") << plat::utf8(c.version);
      ASSERT_EQ(boxes().size(), 1u);
      EXPECT_EQ(boxes()[0].text, L"版本不符無法載入。");
      EXPECT_EQ(boxes()[0].caption, L"KORA CAD");
      EXPECT_EQ(boxes()[0].flags & 0xF0, plat::MB_ICONWARNING);
    }
    session().unloadModule(L"FrameProbe");
  }
}

TEST_F(FrameTest, WithoutAnInstallationRecordEveryCallShowsTheInstallationText) {
  Key::deleteTree(Root::CurrentUser, kc::kInstallKey);
  load(L"FrameProbe");
  EXPECT_EQ(show(L"(probe_calls)"), L"nil");
  ASSERT_EQ(boxes().size(), 1u);
  EXPECT_EQ(boxes()[0].text, L"程式未正常安裝，請重新安裝。");
}

TEST_F(FrameTest, TheLastFailingCheckNamesTheText) {
  seedUserRecord(L"2000");
  userRecord().deleteValue(L"KCADUSR");
  load(L"FrameProbe");
  show(L"(probe_calls)");
  ASSERT_EQ(boxes().size(), 1u);
  EXPECT_EQ(boxes()[0].text, L"程式未正常安裝，請重新安裝。");
}

TEST_F(FrameTest, FolderValuesOfUpTo129CharactersAreRead) {
  seedUserRecord(L"2025.01");
  std::wstring folder129 = L"C:\\" + std::wstring(125, L'x') + L"\\";
  ASSERT_EQ(folder129.size(), 129u);
  userRecord().setString(L"KCADUSR", folder129);
  load(L"FrameProbe");
  EXPECT_EQ(eval(L"(probe_folder)").asString(), folder129 + L"Probe\\");
  session().unloadModule(L"FrameProbe");

  userRecord().setString(L"KCADUSR", folder129 + L"y");
  load(L"FrameProbe");
  EXPECT_EQ(show(L"(probe_folder)"), L"nil");
  ASSERT_EQ(boxes().size(), 1u);
  EXPECT_EQ(boxes()[0].text, L"程式未正常安裝，請重新安裝。");
}

TEST_F(FrameTest, RegistryReadsCountUtf16Bytes) {
  Key key = userRecord();
  key.setString(L"wide", std::wstring(129, L'字'));
  key.setString(L"tooWide", std::wstring(130, L'字'));
  EXPECT_EQ(kc::readRegString(key, L"wide")->size(), 129u);
  EXPECT_FALSE(kc::readRegString(key, L"tooWide"));
  EXPECT_FALSE(kc::readRegString(key, L"missing"));
}

TEST_F(FrameTest, InitPrintsTheLoadMessageAndFunctionsReachEveryDocument) {
  seedUserRecord(L"2025.01");
  takeOutput();
  load(L"FrameProbe");
  EXPECT_EQ(takeOutput(), L"\n探針模組載入。");
  session().newDocument();
  EXPECT_EQ(show(L"(probe_echo 1 \"a\" 2.5)"), L"(1 \"a\" 2.5)");
  EXPECT_EQ(show(L"(probe_echo 70000 '(1 2) '(\"a\" . 1) T nil)"), L"(70000 (1.0 2.0) (\"a\" . 1) T nil)");
}

TEST_F(FrameTest, AFunctionCodeOutsideTheTableIsReportedAndCallsNothing) {
  seedUserRecord(L"2025.01");
  host::LoadedModule* probe = load(L"FrameProbe");
  for (int code : {5, -1, 100}) {
    lisp::Value result = session().modules().call(probe, code, {});
    EXPECT_TRUE(result.isNil());
  }
  ASSERT_EQ(session().failures().size(), 3u);
  EXPECT_EQ(session().failures()[0], L"Received nonexistent function code.");
  EXPECT_EQ(show(L"(probe_calls)"), L"1");  // no handler ran before
}

TEST_F(FrameTest, GuardedDispatchKeepsAThrowingHandlerFromTheHost) {
  host::LoadedModule* guarded = load(L"FrameProbeGuarded");
  ASSERT_NE(guarded, nullptr);
  EXPECT_EQ(show(L"(probe_throw 1 2)"), L"nil");
  EXPECT_EQ(show(L"(probe_calls)"), L"2");
  EXPECT_EQ(show(L"(probe_echo \"still here\")"), L"(\"still here\")");
}

TEST_F(FrameTest, AnUnguardedThrowDoesNotTakeTheHostDown) {
  seedUserRecord(L"2025.01");
  load(L"FrameProbe");
  EXPECT_EQ(show(L"(probe_throw)"), L"nil");
  EXPECT_EQ(show(L"(probe_calls)"), L"2");
}

TEST_F(FrameTest, CommandsTakeTheirLocalNameFromTheModulesStrings) {
  seedUserRecord(L"2025.01");
  load(L"FrameProbe");
  takeOutput();
  eval(L"(command \"PROBECMD\")");
  EXPECT_EQ(takeOutput(), L"\nprobe command ran");
  std::wstring local = L"探針" + std::wstring(62, L'x');  // cut to 64 characters
  eval(L"(command \"" + local + L"\")");
  EXPECT_EQ(takeOutput(), L"\nprobe command ran");
  session().unloadModule(L"FrameProbe");
  EXPECT_TRUE(session().evaluate(L"(command \"PROBECMD\")").failed);
}

TEST_F(FrameTest, DocumentRecordsLiveAsLongAsTheirDocuments) {
  seedUserRecord(L"2025.01");
  load(L"FrameProbe");
  EXPECT_EQ(show(L"(probe_documents)"), L"1");
  host::Document& second = session().newDocument();
  EXPECT_EQ(show(L"(probe_documents)"), L"2");
  session().closeDocument(second);
  EXPECT_EQ(show(L"(probe_documents)"), L"1");
}

}  // namespace
