// kcCore's own frame steps through the host: the suite version at init, the user's record seeded
// from the machine's and the folder symbols at every document load.
#include <gtest/gtest.h>

#include <fstream>

#include "frame/module.h"
#include "platform/files.h"
#include "platform/registry.h"
#include "testing.h"

namespace {

using plat::reg::Key;
using plat::reg::Root;

class CoreModuleTest : public kctest::HostTest {
 protected:
  CoreModuleTest() : HostTest(false) {}
  std::string versionFile() {
    std::ifstream in(machine_->driveC() / "KORA_CAD" / "System" / "kcad.ver");
    std::string line;
    std::getline(in, line);
    return line;
  }
  void writeVersionFile(const char* text) {
    std::ofstream(machine_->driveC() / "KORA_CAD" / "System" / "kcad.ver") << text << "\r\n";
  }
  std::wstring userValue(const wchar_t* name) {
    auto key = Key::open(Root::CurrentUser, kc::kInstallKey);
    auto value = key ? key->query(name) : std::nullopt;
    return value && value->text() ? *value->text() : L"(missing)";
  }
  void loadCore() {
    eval(L"(setq kdir \"C:\\\\KORA_CAD\\\\\")");
    ASSERT_TRUE(session().loadModule(L"kcCore"));
  }
};

TEST_F(CoreModuleTest, AFreshInstallationReportsItsVersion) {
  loadCore();
  EXPECT_EQ(show(L"(k_ver)"), L"2025.01");
  EXPECT_EQ(userValue(L"Version"), L"2025.01");
  EXPECT_EQ(takeOutput(), L"");  // no load message
}

TEST_F(CoreModuleTest, ANewerVersionFileIsWrittenToTheMachineRecord) {
  writeVersionFile("2026.03");
  loadCore();
  EXPECT_EQ(show(L"(k_ver)"), L"2026.03");
  auto machine = Key::open(Root::LocalMachine, kc::kMachineInstallKey);
  EXPECT_EQ(*machine->query(L"Version")->text(), L"2026.03");
}

TEST_F(CoreModuleTest, AnOlderVersionFileIsRewrittenFromTheMachineRecord) {
  writeVersionFile("2020.01");
  plat::setAttributes(L"C:\\KORA_CAD\\System\\kcad.ver", plat::FILE_ATTRIBUTE_READONLY);
  loadCore();
  EXPECT_EQ(show(L"(k_ver)"), L"2025.01");
  EXPECT_EQ(versionFile(), "2025.01");  // its read-only attribute was cleared first
}

TEST_F(CoreModuleTest, WithoutKdirTheVersionIsZero) {
  ASSERT_TRUE(session().loadModule(L"kcCore"));
  EXPECT_EQ(show(L"(k_ver)"), L"0.0");
}

TEST_F(CoreModuleTest, DocumentLoadSeedsTheUserRecordAndSetsFolderSymbols) {
  Key::create(Root::CurrentUser, kc::kInstallKey)->setString(L"KCADUSR", L"D:\\Mine\\");
  loadCore();
  EXPECT_EQ(userValue(L"KCADDEF"), L"C:\\KORA_CAD\\Def\\");
  EXPECT_EQ(userValue(L"KCADUSR"), L"D:\\Mine\\");  // an existing value is kept
  EXPECT_EQ(show(L"kdef"), L"\"C:\\\\KORA_CAD\\\\Def\\\\\"");
  EXPECT_EQ(show(L"KUSR"), L"\"D:\\\\Mine\\\\\"");
  EXPECT_EQ(show(L"k_oem"), L"\"\"");
}

TEST_F(CoreModuleTest, AMissingValueLeavesItsSymbolAlone) {
  Key::open(Root::LocalMachine, kc::kMachineInstallKey)->deleteValue(L"KCADLAW");
  eval(L"(setq klaw \"mine\")");
  loadCore();
  EXPECT_EQ(show(L"klaw"), L"\"mine\"");
}

TEST_F(CoreModuleTest, EveryDocumentGetsTheFunctionsAndTheSymbols) {
  loadCore();
  session().newDocument();
  EXPECT_EQ(show(L"(k_ver)"), L"2025.01");
  EXPECT_EQ(show(L"khlp"), L"\"C:\\\\KORA_CAD\\\\Help\\\\\"");
}

TEST_F(CoreModuleTest, RowsOfLaterFunctionsAnswerNil) {
  loadCore();
  EXPECT_EQ(show(L"(k_sunang 1 2 3)"), L"nil");
  EXPECT_EQ(show(L"(c:digit)"), L"nil");
}

}  // namespace
