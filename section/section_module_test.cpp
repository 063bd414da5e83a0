// kcSection through the host: the five LISP functions as the suite's LISP programs call them.
#include <gtest/gtest.h>

#include <filesystem>

#include "host/modules.h"
#include "testing.h"

namespace {

class SectionModuleTest : public kctest::HostTest {
 protected:
  SectionModuleTest() : HostTest(false) {}
  void SetUp() override {
    HostTest::SetUp();
    ASSERT_TRUE(session().loadModule(L"kcSection"));
  }
  std::uintmax_t sizeOf(const char* name) { return std::filesystem::file_size(machine_->driveC() / name); }
  bool exists(const char* name) { return std::filesystem::exists(machine_->driveC() / name); }
};

TEST_F(SectionModuleTest, LoadingPrintsTheLoadMessage) { EXPECT_EQ(takeOutput(), L"配筋模組載入."); }

TEST_F(SectionModuleTest, OpenTellsTheKindAndCreatesTheFile) {
  EXPECT_EQ(show(L"(st_open \"C:\\\\beams.sbm\")"), L"1");
  EXPECT_TRUE(exists("beams.sbm"));
  EXPECT_EQ(sizeOf("beams.sbm"), 0u);
  EXPECT_EQ(show(L"(st_open \"c:/data.SCL\")"), L"2");
  EXPECT_EQ(show(L"(st_open \"C:\\\\data.txt\")"), L"0");
  EXPECT_EQ(show(L"(st_read 0)"), L"nil");  // no file is open after a name of no kind
  EXPECT_EQ(show(L"(st_write 0 \"x\")"), L"nil");
  EXPECT_EQ(show(L"(st_open \"C:\\\\missing\\\\beams.sbm\")"), L"nil");
}

TEST_F(SectionModuleTest, RecordsRoundTripWithTheUnitSwitch) {
  eval(L"(st_open \"C:\\\\beams.sbm\")");
  std::wstring values = L"155";
  for (int i = 1; i < 47; ++i) values += L" " + std::to_wstring(i);
  EXPECT_EQ(show(L"(st_write 0 \"B0\" " + values + L")"), L"1");
  eval(L"(setq u_mm T)");
  EXPECT_EQ(show(L"(st_write 1 \"B1-long-name\" " + values + L")"), L"1");
  EXPECT_EQ(show(L"(car (st_read 1))"), L"\"B1-long-na\"");
  EXPECT_EQ(show(L"(cadr (st_read 1))"), L"150");
  EXPECT_EQ(show(L"(cadr (st_read 0))"), L"155");
  eval(L"(setq u_mm nil)");
  EXPECT_EQ(show(L"(cadr (st_read 1))"), L"15");
  EXPECT_EQ(show(L"(length (st_read 1))"), L"48");
  EXPECT_EQ(sizeOf("beams.sbm"), 208u);
}

TEST_F(SectionModuleTest, WritingRecordThreeOfANewFileMakesItFourRecordsLong) {
  eval(L"(st_open \"C:\\\\new.sbm\")");
  std::wstring values;
  for (int i = 0; i < 47; ++i) values += L" 1";
  EXPECT_EQ(show(L"(st_write 3 \"R3\"" + values + L")"), L"1");
  EXPECT_EQ(sizeOf("new.sbm"), 416u);
  EXPECT_EQ(show(L"(st_read 2)"), L"(\"\" 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0)");
  EXPECT_EQ(show(L"(st_read 4)"), L"nil");
}

TEST_F(SectionModuleTest, MemberFillerValuesReadBackAsMinus128) {
  eval(L"(st_open \"C:\\\\cols.scl\")");
  std::wstring values;
  for (int i = 0; i < 35; ++i) values += L" -128";
  EXPECT_EQ(show(L"(st_write 1 \"C1\"" + values + L")"), L"1");
  EXPECT_EQ(show(L"(nth 3 (st_read 0))"), L"-128");
  EXPECT_EQ(show(L"(nth 1 (st_read 0))"), L"0");
  EXPECT_EQ(sizeOf("cols.scl"), 94u);
}

TEST_F(SectionModuleTest, WrongArgumentsGiveNilAndWriteNothing) {
  eval(L"(st_open \"C:\\\\b.sbm\")");
  EXPECT_EQ(show(L"(st_read \"0\")"), L"nil");
  EXPECT_EQ(show(L"(st_read)"), L"nil");
  EXPECT_EQ(show(L"(st_read 1.0)"), L"nil");
  EXPECT_EQ(show(L"(st_write 0 \"x\" 1 2 3)"), L"nil");  // too few values
  EXPECT_EQ(show(L"(st_write 0 \"x\" 1.5)"), L"nil");
  EXPECT_EQ(show(L"(st_write 0 \"x\" 70000)"), L"nil");
  EXPECT_EQ(sizeOf("b.sbm"), 0u);
  EXPECT_EQ(show(L"(st_open 1)"), L"nil");
  EXPECT_EQ(show(L"(st_close)"), L"nil");
  EXPECT_EQ(show(L"(st_read 0)"), L"nil");
}

TEST_F(SectionModuleTest, OversizedValuesReadBackWholeUnderTheUnitSwitch) {
  eval(L"(st_open \"C:\\\\big.sbm\")");
  std::wstring values = L" 32000";
  for (int i = 1; i < 47; ++i) values += L" 0";
  eval(L"(st_write 1 \"B\"" + values + L")");
  eval(L"(setq u_mm 1)");
  EXPECT_EQ(show(L"(cadr (st_read 1))"), L"320000");
}

TEST_F(SectionModuleTest, ModifyFillsTheTemplateAfterTheGivenEntity) {
  eval(L"(entmake '((0 . \"LINE\") (8 . \"0\") (10 0.0 0.0 0.0) (11 1.0 0.0 0.0)))");
  eval(L"(setq base (entlast))");
  for (const wchar_t* text : {L"NAME", L"L1.5", L"S2", L"N3", L"N25", L"X"})
    eval(L"(entmake '((0 . \"TEXT\") (8 . \"TPL\") (10 0.0 0.0 0.0) (40 . 3.0) (1 . \"" +
         std::wstring(text) + L"\")))");
  eval(L"(setvar \"useri2\" 60)");
  eval(L"(setvar \"luprec\" 2)");
  EXPECT_EQ(show(L"(st_modify base \"REBAR\" \"S1\" 15 4 200 5 150 1.0 2.0 3.0 4.5)"), L"nil");
  eval(L"(setq e (entnext base) texts nil)");
  EXPECT_EQ(show(L"(while e (setq texts (cons (cdr (assoc 1 (entget e))) texts) e (entnext e))) (reverse texts)"),
            L"(\"S1  T=15CM\" \"#4@300\" \"#5@300\" \"4.5\" \"N25\" \"X\")");
  EXPECT_EQ(show(L"(cdr (assoc 40 (entget (entnext base))))"), L"6.0");
  EXPECT_EQ(show(L"(cdr (assoc 8 (entget (entlast))))"), L"\"REBAR\"");
  EXPECT_EQ(show(L"(cdr (assoc 8 (entget base)))"), L"\"0\"");
  EXPECT_EQ(show(L"(st_modify (entlast) \"L\" \"T\" 1 1 1 1 1)"), L"nil");  // nothing after it
  EXPECT_EQ(show(L"(st_modify base \"L\" \"T\" 1 1 1 1)"), L"nil");
}

TEST_F(SectionModuleTest, TheOpenFileIsSharedByAllDocuments) {
  eval(L"(st_open \"C:\\\\shared.sbm\")");
  session().newDocument();
  EXPECT_EQ(show(L"(st_read 0)"), L"nil");  // an empty file, but open
  std::wstring values;
  for (int i = 0; i < 47; ++i) values += L" 2";
  EXPECT_EQ(show(L"(st_write 0 \"D2\"" + values + L")"), L"1");
  EXPECT_EQ(sizeOf("shared.sbm"), 104u);
}

TEST_F(SectionModuleTest, TheBuildForTheOlderHostLoadsAndBehavesAlike) {
  ASSERT_TRUE(session().unloadModule(L"kcSection"));
  ASSERT_TRUE(session().loadModule(L"kcSection24"));
  host::LoadedModule* older = session().modules().find(L"kcSection24");
  ASSERT_NE(older, nullptr);
  EXPECT_EQ(older->apiVersion, kHostApiVersion2024);
  EXPECT_EQ(show(L"(st_open \"C:\\\\old.sbm\")"), L"1");
}

}  // namespace
