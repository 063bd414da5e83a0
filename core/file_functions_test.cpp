// kcCore's file and folder operations on a fresh machine: backups, renames and copies that never
// lose a file, the file list's exact bytes, folders across drives, time stamps and line reads.
#include "file_functions.h"

#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <cstdlib>
#include <ctime>
#include <fstream>
#include <sstream>

#include "platform/codepage.h"
#include "platform/files.h"
#include "platform/temp_machine.h"

namespace {

namespace fs = std::filesystem;

class FileFunctions : public ::testing::Test {
 protected:
  // Writes a file at a path under the machine's drive folders ("c/a/plan.dwg").
  void put(const std::string& where, const std::string& bytes) {
    fs::path file = machine.root() / ("drive_" + where);
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << bytes;
  }
  std::string get(const std::string& where) {
    std::ifstream in(machine.root() / ("drive_" + where), std::ios::binary);
    if (!in) return "(missing)";
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
  }
  void folder(const std::string& where) { fs::create_directories(machine.root() / ("drive_" + where)); }

  plat::TempMachine machine;
};

TEST_F(FileFunctions, BackUpDrawingReplacesTheOlderBackup) {
  put("c/a/plan.dwg", "new");
  put("c/a/PLAN.bak", "old");
  core::backUpDrawing(L"C:\\a\\plan.dwg");
  EXPECT_EQ(get("c/a/plan.dwg"), "(missing)");
  EXPECT_EQ(plat::findFiles(L"C:\\a\\*.*").size(), 3u);  // ".", ".." and the backup
  EXPECT_EQ(get("c/a/plan.BAK"), "new");  // the older backup gave way: the name is as formed
}

TEST_F(FileFunctions, BackUpDrawingCutsFourCharactersWheneverThePathHoldsADot) {
  put("c/a.b/plan.DWG", "drawing");
  put("c/a.b/.DWG", "nameless");
  core::backUpDrawing(L"C:\\a.b\\plan");  // "plan" is taken for the extension
  EXPECT_EQ(get("c/a.b/plan.DWG"), "drawing");
  EXPECT_EQ(get("c/a.b/.BAK"), "nameless");

  put("c/a/plan.DWG", "drawing");
  core::backUpDrawing(L"c:/a/plan");  // no dot: the name is kept
  EXPECT_EQ(get("c/a/plan.BAK"), "drawing");

  core::backUpDrawing(L"a.b");  // nothing left to name a drawing
  core::backUpDrawing(L"C:\\missing\\plan.dwg");
  EXPECT_EQ(get("c/a/plan.BAK"), "drawing");
}

TEST_F(FileFunctions, RenameReplacesTheTargetButNeverLosesAFile) {
  put("c/old.txt", "old");
  put("c/new.txt", "new");
  core::renameReplacing(L"C:\\OLD.TXT", L"c:\\new.txt");
  EXPECT_EQ(get("c/new.txt"), "old");
  EXPECT_EQ(get("c/old.txt"), "(missing)");

  core::renameReplacing(L"C:\\gone.txt", L"C:\\new.txt");  // a missing source leaves the target
  EXPECT_EQ(get("c/new.txt"), "old");

  core::renameReplacing(L"C:\\new.txt", L"C:\\NEW.txt");  // the same file: only its case changes
  EXPECT_EQ(get("c/NEW.txt"), "old");
}

TEST_F(FileFunctions, CopyTakesEveryByteAndSparesWhatItCannotReplace) {
  std::string bytes("a\0b\r\n\x1a\xff", 7);
  put("c/src.bin", bytes);
  core::copyBytes(L"C:\\src.bin", L"D:\\missing\\copy.bin");  // no drive D: yet
  core::copyBytes(L"C:\\src.bin", L"C:\\copy.bin");
  EXPECT_EQ(get("c/copy.bin"), bytes);

  core::copyBytes(L"C:\\src.bin", L"c:\\SRC.BIN");  // onto itself: the file is kept whole
  EXPECT_EQ(get("c/src.bin"), bytes);

  put("c/locked.bin", "locked");
  plat::setAttributes(L"C:\\locked.bin", plat::FILE_ATTRIBUTE_READONLY);
  core::copyBytes(L"C:\\src.bin", L"C:\\locked.bin");
  EXPECT_EQ(get("c/locked.bin"), "locked");

  put("c/copy.bin", "older");
  core::copyBytes(L"C:\\none.bin", L"C:\\copy.bin");
  EXPECT_EQ(get("c/copy.bin"), "older");
}

TEST_F(FileFunctions, FileListWritesQuotedNamesInTheAnsiCodePage) {
  put("c/dwg/b.dwg", "");
  put("c/dwg/A.DWG", "");
  put("c/dwg/c.txt", "");
  folder("c/Def");
  EXPECT_EQ(core::writeFileList(L"C:\\Def\\KCAD.OUT", L"C:\\dwg\\*.dwg"), 2);
  EXPECT_EQ(get("c/Def/KCAD.OUT"), "(\"A.DWG\"\"b.dwg\")");  // 16 bytes, NTFS order

  put("c/dwg/平面.dwg", "");
  EXPECT_EQ(core::writeFileList(L"C:\\Def\\KCAD.OUT", L"C:\\dwg\\平*"), 1);
  EXPECT_EQ(get("c/Def/KCAD.OUT"), "(\"" + plat::fromWide(950, L"平面.dwg") + "\")");

  EXPECT_EQ(core::writeFileList(L"C:\\Def\\KCAD.OUT", L"C:\\dwg\\*.*"), 6);  // "." and ".." count
  EXPECT_EQ(core::writeFileList(L"C:\\Def\\KCAD.OUT", L"C:\\nowhere\\*.*"), 0);
  EXPECT_EQ(get("c/Def/KCAD.OUT"), "()");
}

TEST_F(FileFunctions, AnUnwritableFileListIsReportedAndTheOldOneKept) {
  put("c/Def/KCAD.OUT", "(\"kept\")");
  plat::setAttributes(L"C:\\Def\\KCAD.OUT", plat::FILE_ATTRIBUTE_READONLY);
  EXPECT_EQ(core::writeFileList(L"C:\\Def\\KCAD.OUT", L"C:\\*.*"), std::nullopt);
  EXPECT_EQ(get("c/Def/KCAD.OUT"), "(\"kept\")");
  EXPECT_EQ(core::writeFileList(L"C:\\NoDef\\KCAD.OUT", L"C:\\*.*"), std::nullopt);
}

TEST_F(FileFunctions, SubfoldersComeWithOrWithoutTheTrailingBackslash) {
  folder("c/work/Zeta");
  folder("c/work/alpha");
  put("c/work/file.txt", "");
  std::vector<std::wstring> expected{L"alpha", L"Zeta"};
  EXPECT_EQ(core::subfolders(L"C:\\work"), expected);
  EXPECT_EQ(core::subfolders(L"c:\\WORK\\"), expected);
  EXPECT_TRUE(core::subfolders(L"C:\\work\\alpha").empty());
  EXPECT_TRUE(core::subfolders(L"C:\\missing").empty());
}

TEST_F(FileFunctions, ChangeDriveAndFolderKeepsEachDrivesFolder) {
  folder("c/cad");
  folder("d/work/sub");
  folder("c/x");
  plat::setCurrentDirectory(L"C:\\cad");
  core::changeDriveAndFolder(L"d:\\work");
  EXPECT_EQ(plat::currentDrive(), L'D');
  EXPECT_EQ(plat::currentDirectory(), L"D:\\work");
  EXPECT_EQ(plat::currentDirectoryOf(L'C'), L"C:\\cad");
  core::changeDriveAndFolder(L"D:sub");  // relative to the drive's current folder
  EXPECT_EQ(plat::currentDirectory(), L"D:\\work\\sub");
  core::changeDriveAndFolder(L"c:");
  EXPECT_EQ(plat::currentDirectory(), L"C:\\cad");
  core::changeDriveAndFolder(L"q:\\x");  // no drive Q: on this machine: C:\x is not entered
  EXPECT_EQ(plat::currentDirectory(), L"C:\\cad");
}

TEST_F(FileFunctions, MakeFolderCreatesOnTheNamedDriveAndRestoresTheCurrentOne) {
  folder("d/work");
  plat::setCurrentDirectory(L"D:\\work");
  plat::setCurrentDrive(L'C');
  core::makeFolderOnDrive(L"d:\\work\\new");
  core::makeFolderOnDrive(L"D:rel");  // in D:'s current folder
  core::makeFolderOnDrive(L"d:\\a\\b");  // only the last level is made
  core::makeFolderOnDrive(L"q:\\lost");  // no drive Q:: nothing lands on C:
  EXPECT_EQ(plat::currentDrive(), L'C');
  EXPECT_TRUE(fs::is_directory(machine.drive('d') / "work" / "new"));
  EXPECT_TRUE(fs::is_directory(machine.drive('d') / "work" / "rel"));
  EXPECT_FALSE(fs::exists(machine.drive('d') / "a"));
  EXPECT_FALSE(fs::exists(machine.drive('c') / "lost"));
}

TEST_F(FileFunctions, HideAddsToTheFilesAttributes) {
  put("c/f.txt", "");
  plat::setAttributes(L"C:\\f.txt", plat::FILE_ATTRIBUTE_READONLY);
  core::hideFile(L"c:\\F.TXT");
  core::hideFile(L"C:\\missing.txt");
  EXPECT_EQ(plat::getAttributes(L"C:\\f.txt"),
            plat::FILE_ATTRIBUTE_READONLY | plat::FILE_ATTRIBUTE_HIDDEN);
}

// Runs a test body in the time zone of Taipei (UTC+8, no daylight saving).
class InTaipei {
 public:
  InTaipei() {
    if (const char* tz = std::getenv("TZ")) saved_ = tz;
    setenv("TZ", "CST-8", 1);
    tzset();
  }
  ~InTaipei() {
    if (saved_) setenv("TZ", saved_->c_str(), 1);
    else unsetenv("TZ");
    tzset();
  }

 private:
  std::optional<std::string> saved_;
};

TEST_F(FileFunctions, ModificationStampIsLocalTimeAsYymmddDotHhmmss) {
  InTaipei zone;
  put("c/plan.dwg", "");
  fs::path host = machine.drive() / "plan.dwg";
  struct Case {
    int year, month, day, hour, minute, second;  // UTC
    double stamp;
  } cases[] = {
      {2024, 3, 5, 6, 7, 30, 240305.14073},  // trailing zeros of the seconds vanish
      {2005, 12, 31, 16, 0, 0, 60101.0},  // the next day in Taipei; a leading zero of the year
      {2024, 1, 1, 0, 0, 5, 240101.080005},
  };
  for (const auto& c : cases) {
    std::tm utc{};
    utc.tm_year = c.year - 1900, utc.tm_mon = c.month - 1, utc.tm_mday = c.day;
    utc.tm_hour = c.hour, utc.tm_min = c.minute, utc.tm_sec = c.second;
    struct timespec times[2] = {{timegm(&utc), 0}, {timegm(&utc), 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, host.c_str(), times, 0), 0);
    EXPECT_DOUBLE_EQ(core::modificationStamp(L"c:\\PLAN.DWG"), c.stamp) << c.year;
  }
  EXPECT_EQ(core::modificationStamp(L"C:\\missing.dwg"), 0.0);
}

TEST_F(FileFunctions, LineReadsTakeAtMost255CharactersEach) {
  std::string big5Line = plat::fromWide(950, std::wstring(200, L'坪')) + "\r\n";  // 400 bytes
  struct Case {
    std::string text;
    int reads;
  } cases[] = {
      {"", 0},
      {"a\r\nb\r\n", 2},
      {"a\nb", 2},
      {"\n\n\n", 3},
      {std::string(254, 'x') + "\n", 1},
      {std::string(255, 'x') + "\n", 2},  // the full buffer, then the line feed alone
      {std::string(600, 'x'), 3},
      {big5Line, 1},  // characters of the ANSI code page, not bytes
  };
  for (const auto& c : cases) {
    put("c/t.txt", c.text);
    EXPECT_EQ(core::countLineReads(L"C:\\T.TXT"), c.reads) << c.text.size();
  }
  EXPECT_EQ(core::countLineReads(L"C:\\missing.txt"), 0);
  EXPECT_EQ(core::countLineReads(L"C:\\"), 0);
}

TEST_F(FileFunctions, CurrentFolderIsTheCurrentDrives) {
  folder("c/KORA_CAD");
  plat::setCurrentDirectory(L"c:\\kora_cad");
  EXPECT_EQ(core::currentFolder(), L"C:\\kora_cad");
}

}  // namespace
