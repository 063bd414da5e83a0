// kcCore's file and folder functions as the suite's LISP programs call them through the host:
// argument checks, the file list in the defaults folder, drives and folders, and paths too long
// for the functions' buffers.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "platform/codepage.h"
#include "platform/files.h"
#include "testing.h"

namespace {

namespace fs = std::filesystem;

class FileHandlers : public kctest::HostTest {
 protected:
  FileHandlers() : HostTest(false) {}
  void SetUp() override {
    HostTest::SetUp();
    ASSERT_TRUE(session().loadModule(L"kcCore"));
  }
  fs::path onC(const std::string& where) { return machine_->driveC() / where; }
  void put(const std::string& where, const std::string& bytes = "") {
    fs::create_directories(onC(where).parent_path());
    std::ofstream(onC(where), std::ios::binary) << bytes;
  }
  std::string get(const std::string& where) {
    std::ifstream in(onC(where), std::ios::binary);
    if (!in) return "(missing)";
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
  }
};

TEST_F(FileHandlers, MissingOrWronglyTypedArgumentsGiveNil) {
  put("keep.txt", "kept");
  for (const wchar_t* call :
       {L"(dwg2bak)", L"(dwg2bak 1)", L"(fremove 1.0)", L"(frename \"C:/keep.txt\")",
        L"(frename \"C:/keep.txt\" 2)", L"(fcopy \"C:/keep.txt\")", L"(flist)", L"(flist 1.5)",
        L"(dlist)", L"(sltpath)", L"(sltpath '(1 2))", L"(cdd)", L"(md nil)", L"(fhid)", L"(ftime)",
        L"(ftime 7)", L"(fl_len)"})
    EXPECT_EQ(show(call), L"nil") << plat::utf8(call);
  EXPECT_EQ(get("keep.txt"), "kept");
}

TEST_F(FileHandlers, FileListGoesToKcadOutInTheDefaultsFolder) {
  put("dwg/a.dwg");
  put("dwg/b.dwg");
  EXPECT_EQ(show(LR"((flist "C:\\dwg\\*.dwg"))"), L"2");
  EXPECT_EQ(get("KORA_CAD/Def/KCAD.OUT"), "(\"a.dwg\"\"b.dwg\")");
  // The LISP program reads the list back from the file.
  EXPECT_EQ(show(LR"((read (read-line (setq f (open (strcat kdef "KCAD.OUT") "r")))))"),
            L"(\"a.dwg\" \"b.dwg\")");
  eval(L"(close f)");
  EXPECT_EQ(show(LR"((flist "C:\\dwg\\*.txt"))"), L"0");
  EXPECT_EQ(get("KORA_CAD/Def/KCAD.OUT"), "()");
}

TEST_F(FileHandlers, FileListWithoutAUsableDefaultsFolderGivesNil) {
  put("dwg/a.dwg");
  eval(L"(setq kdef nil)");
  EXPECT_EQ(show(LR"((flist "C:\\dwg\\*.*"))"), L"nil");
  eval(LR"((setq kdef "C:\\NoSuchFolder\\"))");
  EXPECT_EQ(show(LR"((flist "C:\\dwg\\*.*"))"), L"nil");
}

TEST_F(FileHandlers, BackupRenameCopyAndRemove) {
  put("a.b/plan.dwg", "drawing");
  eval(LR"((dwg2bak "C:\\a.b\\plan.dwg"))");
  EXPECT_EQ(get("a.b/plan.BAK"), "drawing");
  EXPECT_EQ(show(LR"((fcopy "c:/A.B/plan.bak" "C:\\copy.dwg"))"), L"nil");
  EXPECT_EQ(get("copy.dwg"), "drawing");
  eval(LR"((frename "C:\\copy.dwg" "C:\\a.b\\plan.bak"))");
  EXPECT_EQ(get("copy.dwg"), "(missing)");
  eval(LR"((fremove "C:\\a.b\\PLAN.BAK"))");
  EXPECT_TRUE(fs::is_empty(onC("a.b")));
}

TEST_F(FileHandlers, DrivesAndFoldersFromLisp) {
  fs::create_directories(machine_->root() / "drive_d" / "work");
  eval(LR"((cdd "d:\\work"))");
  EXPECT_EQ(show(L"(cwd)"), LR"("D:\\work")");
  eval(LR"((md "c:\\made"))");
  EXPECT_TRUE(fs::is_directory(onC("made")));
  EXPECT_EQ(show(L"(cwd)"), LR"("D:\\work")");  // md leaves the current drive as it was
  EXPECT_EQ(show(LR"((dlist "C:\\"))"), LR"(("KORA_CAD" "made"))");
  EXPECT_EQ(show(LR"((dlist "C:\\made"))"), L"nil");
}

TEST_F(FileHandlers, PathsSplitIntoFourParts) {
  EXPECT_EQ(show(LR"((sltpath "C:\\KORA_CAD\\Pop\\rtmain.POP"))"),
            LR"(("C:" "\\KORA_CAD\\Pop\\" "rtmain" ".POP"))");
  EXPECT_EQ(show(L"(sltpath \"plan\")"), LR"(("" "" "plan" ""))");
}

TEST_F(FileHandlers, HiddenTimeAndLines) {
  put("notes.txt", "one\r\ntwo\r\n");
  eval(LR"((fhid "C:\\notes.txt"))");
  EXPECT_TRUE(plat::getAttributes(L"C:\\notes.txt") & plat::FILE_ATTRIBUTE_HIDDEN);
  EXPECT_EQ(show(LR"((fl_len "C:\\notes.txt"))"), L"2");
  EXPECT_EQ(show(LR"((fl_len "C:\\missing.txt"))"), L"0");
  EXPECT_EQ(show(LR"((ftime "C:\\missing.txt"))"), L"0.0");
  EXPECT_TRUE(eval(LR"((ftime "C:\\notes.txt"))").isReal());
}

// A path whose first 255 characters name an existing file, but which goes on.
TEST_F(FileHandlers, PathsLongerThanTheBufferAreRefusedNotCut) {
  std::string folder(200, 'f');
  std::string name(51, 'n');  // "C:\" + folder + "\" + name: 255 characters
  put(folder + "/" + name, "precious");
  std::wstring cut = L"C:\\\\" + plat::fromUtf8(folder) + L"\\\\" + plat::fromUtf8(name);
  EXPECT_EQ(show(L"(fl_len \"" + cut + L"\")"), L"1");
  std::wstring longer = cut + L".old";
  for (const wchar_t* fn : {L"fremove", L"fhid", L"fl_len", L"ftime", L"dwg2bak"})
    EXPECT_EQ(show(L"(" + std::wstring(fn) + L" \"" + longer + L"\")"), L"nil") << plat::utf8(fn);
  eval(L"(frename \"" + longer + L"\" \"C:\\\\x.txt\")");
  EXPECT_EQ(get(folder + "/" + name), "precious");
  EXPECT_EQ(plat::getAttributes(L"C:\\" + plat::fromUtf8(folder) + L"\\" + plat::fromUtf8(name)) &
                plat::FILE_ATTRIBUTE_HIDDEN,
            0u);
}

}  // namespace
