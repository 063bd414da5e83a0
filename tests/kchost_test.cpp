// The kchost program end to end, on fresh machine folders: installation on first use, -e values
// printed as prin1 writes them, scripts, errors and the exit status.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "testing.h"

namespace {

class KchostTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (std::filesystem::temp_directory_path() / "kora-e2e-XXXXXX").string();
    ASSERT_TRUE(mkdtemp(pattern.data()));
    machine = pattern;
  }
  void TearDown() override { std::filesystem::remove_all(machine); }
  kctest::ProgramRun kchost(std::vector<std::string> args) {
    args.insert(args.begin(), {"--machine", machine.string()});
    return kctest::runProgram("kchost", args);
  }
  std::filesystem::path machine;
};

TEST_F(KchostTest, OpensARecordFileOnAFreshMachine) {
  auto run = kchost({"-e", R"((st_open "C:\\beams.sbm"))"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out.substr(run.out.rfind('\n', run.out.size() - 2) + 1), "1\n");
  ASSERT_TRUE(std::filesystem::exists(machine / "drive_c" / "beams.sbm"));
  EXPECT_EQ(std::filesystem::file_size(machine / "drive_c" / "beams.sbm"), 0u);
  EXPECT_TRUE(std::filesystem::exists(machine / "system.reg"));
  EXPECT_TRUE(std::filesystem::exists(machine / "user.reg"));
}

TEST_F(KchostTest, PrintsValuesAsPrin1OnFreshLines) {
  auto run = kchost({"--no-startup", "-e", R"((princ "a") "中文\n")", "-e", "(list 1 2.5 'x nil T)", "-e", "(+ 1 2)"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "a\n\"中文\\n\"\n(1 2.5 X nil T)\n3\n");
}

TEST_F(KchostTest, AnErrorEndsItsExpressionAndSetsTheExitStatus) {
  auto run = kchost({"--no-startup", "-e", "(/ 1 0) (princ \"never\")", "-e", "(+ 1 1)"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "; error: divide by zero\n");
  EXPECT_EQ(run.out, "2\n");
}

TEST_F(KchostTest, RunsScriptsInOrderWithLoadedModules) {
  std::filesystem::path script = machine / "script.lsp";
  std::filesystem::create_directories(machine);
  std::ofstream(script) << "(setq kind (st_open \"C:\\\\data.scl\"))\n(princ \"開啟\")\n";
  auto run = kchost({"--no-startup", "--load", "kcSection", script.string(), "-e", "kind"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "配筋模組載入.開啟\n2\n");
}

TEST_F(KchostTest, TheInstalledSuiteIsLoadedAtStartup) {
  auto run = kchost({"-e", "(k_ver)", "-e", "(mapcar 'strcase (arx))", "-e", "kdef"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("2025.01\n"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("\"KCCORE.ARX\""), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("\"C:\\\\KORA_CAD\\\\Def\\\\\"\n"), std::string::npos) << run.out;
}

TEST_F(KchostTest, ADamagedHiveIsRefusedAndKept) {
  kchost({"-e", "1"});
  std::filesystem::path hive = machine / "user.reg";
  std::ofstream(hive, std::ios::app) << "[HKEY_CURRENT_USER\\broken\n";
  auto before = std::filesystem::file_size(hive);
  auto run = kchost({"-e", "(k_ver)"});
  EXPECT_NE(run.status, 0);
  EXPECT_NE(run.err.find("user.reg"), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("line"), std::string::npos) << run.err;
  EXPECT_EQ(std::filesystem::file_size(hive), before);
}

TEST_F(KchostTest, KcregQueriesAsRegExeDoes) {
  kctest::runProgram("kcsetup", {"--machine", machine.string()});
  auto add = kctest::runProgram("kcreg", {"--machine", machine.string(), "add", "HKCU\\Software\\Test", "/v",
                                          "Name", "/d", "值", "/f"});
  EXPECT_EQ(add.status, 0) << add.err;
  auto run = kctest::runProgram("kcreg", {"--machine", machine.string(), "query",
                                          "HKEY_LOCAL_MACHINE\\SOFTWARE\\Wow6432Node\\Vantor\\KORA_CAD", "/v", "KDIR"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "\nHKEY_LOCAL_MACHINE\\SOFTWARE\\Wow6432Node\\Vantor\\KORA_CAD\n    KDIR    REG_SZ    C:\\KORA_CAD\\\n\n");
  auto test = kctest::runProgram("kcreg", {"--machine", machine.string(), "query", "hkcu\\software\\test"});
  EXPECT_NE(test.out.find("    Name    REG_SZ    值\n"), std::string::npos) << test.out;
  auto missing = kctest::runProgram("kcreg", {"--machine", machine.string(), "query", "HKCU\\Nothing"});
  EXPECT_EQ(missing.status, 1);
}

TEST_F(KchostTest, KcregExportsAndImportsHives) {
  kctest::runProgram("kcsetup", {"--machine", machine.string()});
  std::string file = (machine / "out.reg").string();
  auto exported = kctest::runProgram("kcreg", {"--machine", machine.string(), "export", "HKLM\\SOFTWARE\\Wow6432Node", file});
  EXPECT_EQ(exported.status, 0) << exported.err;
  auto removed = kctest::runProgram("kcreg", {"--machine", machine.string(), "delete", "HKLM\\SOFTWARE\\Wow6432Node", "/f"});
  EXPECT_EQ(removed.status, 0) << removed.err;
  auto gone = kctest::runProgram("kcreg", {"--machine", machine.string(), "query", "HKLM\\SOFTWARE\\Wow6432Node\\Vantor\\KORA_CAD"});
  EXPECT_EQ(gone.status, 1);
  auto imported = kctest::runProgram("kcreg", {"--machine", machine.string(), "import", file});
  EXPECT_EQ(imported.status, 0) << imported.err;
  auto back = kctest::runProgram("kcreg", {"--machine", machine.string(), "query", "HKLM\\SOFTWARE\\Wow6432Node\\Vantor\\KORA_CAD", "/v", "Version"});
  EXPECT_NE(back.out.find("    Version    REG_SZ    2025.01\n"), std::string::npos) << back.out;
}

TEST_F(KchostTest, TheInteractiveCommandLineTakesExpressionsAndCommands) {
  std::string typed = "(setq a\n  (+ 1 2))\nUCS Z 90\n(fix (+ 0.5 (cadr (getvar \"ucsxdir\"))))\n(/ a 0)\n";
  auto run = kctest::runProgram("kchost", {"--machine", machine.string(), "--no-startup"}, {}, typed);
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("3\n"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("1\n"), std::string::npos) << run.out;
  EXPECT_EQ(run.err, "; error: divide by zero\n");
}

}  // namespace
