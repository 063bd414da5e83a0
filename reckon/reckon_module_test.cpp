// kcReckon through the host: its load message and installation thresholds, KCAL as the suite's LISP
// programs call it, and one call through the kchost program.
#include <gtest/gtest.h>

#include <filesystem>

#include "frame/module.h"
#include "platform/codepage.h"
#include "platform/msgbox.h"
#include "platform/registry.h"
#include "testing.h"

namespace {

using plat::reg::Key;
using plat::reg::Root;

class ReckonModuleTest : public kctest::HostTest {
 protected:
  ReckonModuleTest() : HostTest(false) {}
  // The user's installation record as kcCore seeds it from the machine's at document load.
  void SetUp() override {
    HostTest::SetUp();
    userRecord().setString(L"Version", L"2025.01");
    userRecord().setString(L"KCADHLP", L"C:\\KORA_CAD\\Help\\");
  }
  void load() {
    plat::scripted::reset();
    ASSERT_TRUE(session().loadModule(L"kcReckon"));
  }
  Key userRecord() { return *Key::create(Root::CurrentUser, kc::kInstallKey); }
};

TEST_F(ReckonModuleTest, LoadingPrintsTheLoadMessage) {
  load();
  EXPECT_EQ(takeOutput(), L"\n計算模組載入.");
}

TEST_F(ReckonModuleTest, KcalEvaluatesTypedSizes) {
  load();
  struct Case {
    const wchar_t* call;
    const wchar_t* shown;
  } cases[] = {
      {L"(KCAL \"3x4\")", L"12.0"},
      {L"(kcal \"50%\")", L"0.5"},
      {L"(KCAL \"2+3*4\")", L"14.0"},
      {L"(rtos (KCAL \"1/3\") 2 9)", L"\"0.333333333\""},
      {L"(KCAL \"a=2\")", L"2.0"},
      {L"(KCAL \"(1+2\")", L"nil"},
      {L"(KCAL \"exp(1)\")", L"nil"},
      {L"(KCAL \"\")", L"nil"},
      {L"(KCAL \"ans\")", L"nil"},
      {L"(KCAL \"1/0\")", L"nil"},
      {L"(KCAL \"-1/0\")", L"nil"},
      {L"(KCAL 12)", L"nil"},
      {L"(KCAL)", L"nil"},
  };
  for (const Case& c : cases) EXPECT_EQ(show(c.call), c.shown) << plat::utf8(c.call);
  EXPECT_TRUE(plat::scripted::shownMessageBoxes().empty());
}

TEST_F(ReckonModuleTest, NothingSurvivesBetweenCalls) {
  load();
  EXPECT_EQ(show(L"(KCAL \"w=3\")"), L"3.0");
  EXPECT_EQ(show(L"(KCAL \"w*2\")"), L"nil");
  EXPECT_EQ(show(L"(KCAL \"ans+1\")"), L"nil");
}

TEST_F(ReckonModuleTest, ExpCalAnswersNilUntilItsDialogArrives) {
  load();
  EXPECT_EQ(show(L"(ExpCal 0 1 3 1 '(\"1+1\"))"), L"nil");
}

TEST_F(ReckonModuleTest, InstallationChecksGateEveryCall) {
  struct Case {
    const wchar_t* version;
    bool withHelpFolder;
    const wchar_t* text;  // the load-error text shown; null when the call runs
  } cases[] = {
      {L"2009.01", true, nullptr},
      {L"2009", true, L"版本不符無法載入。"},
      {L"2008.12", true, L"版本不符無法載入。"},
      {L"2025.01", false, L"程式未正常安裝，請重新安裝。"},
      {L"2000", false, L"程式未正常安裝，請重新安裝。"},  // the folder check comes last and wins
  };
  for (const Case& c : cases) {
    userRecord().setString(L"Version", c.version);
    if (c.withHelpFolder)
      userRecord().setString(L"KCADHLP", L"C:\\KORA_CAD\\Help\\");
    else
      userRecord().deleteValue(L"KCADHLP");
    load();
    std::wstring result = show(L"(KCAL \"3x4\")");
    auto& boxes = plat::scripted::shownMessageBoxes();
    if (!c.text) {
      EXPECT_EQ(result, L"12.0") << plat::utf8(c.version);
      EXPECT_TRUE(boxes.empty());
    } else {
      EXPECT_EQ(result, L"nil") << plat::utf8(c.version);
      ASSERT_EQ(boxes.size(), 1u) << plat::utf8(c.version);
      EXPECT_EQ(boxes[0].text, c.text);
      EXPECT_EQ(boxes[0].caption, L"KORA CAD");
    }
    session().unloadModule(L"kcReckon");
  }
}

TEST(ReckonEndToEndTest, KchostEvaluatesKcalOnAFreshMachine) {
  std::string pattern = (std::filesystem::temp_directory_path() / "kora-reckon-XXXXXX").string();
  ASSERT_TRUE(mkdtemp(pattern.data()));
  auto run = kctest::runProgram("kchost", {"--machine", pattern, "-e", R"((KCAL "3x4"))"});
  std::filesystem::remove_all(pattern);
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_TRUE(run.out.ends_with("\n12.0\n") || run.out == "12.0\n") << run.out;
}

}  // namespace
