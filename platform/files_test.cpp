// Windows paths and files: full paths from per-drive current folders, case-insensitive
// resolution, wildcard enumeration in NTFS order, DOS attributes, and the file operations' rules.
#include "platform/files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/xattr.h>

#include <fstream>

#include "platform/codepage.h"
#include "platform/temp_machine.h"

using namespace plat;
namespace fs = std::filesystem;

namespace {

void touch(const fs::path& file, const std::string& bytes = "") {
  fs::create_directories(file.parent_path());
  std::ofstream(file, std::ios::binary) << bytes;
}

std::string readAll(std::FILE* f) {
  std::string out;
  char buf[256];
  for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, f)) > 0;) out.append(buf, n);
  std::fclose(f);
  return out;
}

std::vector<std::wstring> names(std::wstring_view pattern) {
  std::vector<std::wstring> out;
  for (const auto& f : findFiles(pattern)) out.push_back(f.name);
  return out;
}

class Files : public ::testing::Test {
 protected:
  TempMachine machine;
};

}  // namespace

TEST_F(Files, FullPathsUseTheCurrentFolderOfEachDrive) {
  fs::create_directories(machine.drive('c') / "KORA_CAD" / "Pop");
  fs::create_directories(machine.drive('d') / "data");
  EXPECT_EQ(currentDrive(), L'C');
  EXPECT_EQ(currentDirectory(), L"C:\\");
  ASSERT_TRUE(setCurrentDirectory(L"c:/kora_cad"));
  ASSERT_TRUE(setCurrentDirectory(L"D:\\DATA\\"));
  EXPECT_FALSE(setCurrentDirectory(L"D:\\missing"));
  EXPECT_EQ(currentDrive(), L'D');
  EXPECT_EQ(currentDirectoryOf(L'c'), L"C:\\kora_cad");
  struct Case {
    const wchar_t *path, *full;
  } cases[] = {
      {L"x.txt", L"D:\\DATA\\x.txt"},
      {L"C:x.txt", L"C:\\kora_cad\\x.txt"},
      {L"c:..\\y", L"C:\\y"},
      {L"\\root.txt", L"D:\\root.txt"},
      {L"..\\..\\..\\z", L"D:\\z"},
      {L"e:a", L"E:\\a"},
      {L"C:/KORA_CAD/./Pop//rtmain.POP", L"C:\\KORA_CAD\\Pop\\rtmain.POP"},
      {L"C:\\dir\\name. ", L"C:\\dir\\name"},
      {L"C:\\dir\\", L"C:\\dir\\"},
  };
  for (const auto& c : cases) EXPECT_EQ(fullPath(c.path), c.full) << utf8(c.path);
  ASSERT_TRUE(setCurrentDirectory(L"C:Pop"));  // relative to C:'s current folder
  EXPECT_EQ(currentDirectory(), L"C:\\kora_cad\\Pop");
}

TEST_F(Files, EveryComponentResolvesWithoutRegardToCase) {
  touch(machine.drive() / "KORA_CAD" / "Pop" / "rtmain.POP", "menu");
  auto host = resolve(L"c:/kora_cad/pop/RTMAIN.pop");
  ASSERT_TRUE(host);
  EXPECT_EQ(*host, machine.drive() / "KORA_CAD" / "Pop" / "rtmain.POP");
  EXPECT_EQ(readAll(openFile(L"C:\\KORA_CAD\\POP\\RTMAIN.POP", L"rb")), "menu");
  EXPECT_FALSE(resolve(L"C:\\KORA_CAD\\Pop\\rtmain.POP\\"));
  EXPECT_FALSE(resolve(L"C:\\KORA_CAD\\Nope\\rtmain.POP"));
  EXPECT_FALSE(resolve(L"Q:\\"));  // no such drive
  EXPECT_EQ(*resolveForCreate(L"c:\\kora_cad\\POP\\New.txt"), machine.drive() / "KORA_CAD" / "Pop" / "New.txt");
  EXPECT_EQ(*resolveForCreate(L"c:\\kora_cad\\POP\\RTMAIN.pop"), *host);
  EXPECT_FALSE(resolveForCreate(L"C:\\missing\\new.txt"));
  EXPECT_FALSE(resolveForCreate(L"C:\\bad|name"));
  EXPECT_EQ(windowsPath(*host), L"C:\\KORA_CAD\\Pop\\rtmain.POP");
  EXPECT_FALSE(windowsPath(machine.root() / "system.reg"));
}

TEST_F(Files, ExactNameWinsAmongCaseVariants) {
  touch(machine.drive() / "data.TXT", "upper");
  touch(machine.drive() / "data.txt", "lower");
  EXPECT_EQ(readAll(openFile(L"C:\\data.txt", L"r")), "lower");
  EXPECT_EQ(readAll(openFile(L"C:\\data.TXT", L"r")), "upper");
  EXPECT_EQ(resolve(L"C:\\DATA.txt")->filename(), "data.TXT");  // first in ordinal order
}

TEST_F(Files, WildcardsFollowWindowsRulesInNtfsOrder) {
  for (const char* name : {"b.txt", "A.TXT", "_first.txt", "readme", "c.tar.gz", "ab.c", "abc",
                           "Note.", "x.txtx"})
    touch(machine.drive() / "dir" / name);
  fs::create_directories(machine.drive() / "dir" / "Sub");
  using V = std::vector<std::wstring>;
  struct Case {
    const wchar_t* pattern;
    V expected;
  } cases[] = {
      {L"C:\\dir\\*", V{L".", L"..", L"A.TXT", L"ab.c", L"abc", L"b.txt", L"c.tar.gz", L"Note.",
                        L"readme", L"Sub", L"x.txtx", L"_first.txt"}},
      {L"C:\\dir\\*.*", V{L".", L"..", L"A.TXT", L"ab.c", L"abc", L"b.txt", L"c.tar.gz", L"Note.",
                          L"readme", L"Sub", L"x.txtx", L"_first.txt"}},
      {L"c:/DIR/*.txt", V{L"A.TXT", L"b.txt", L"_first.txt"}},
      {L"C:\\dir\\*.", V{L".", L"..", L"abc", L"Note.", L"readme", L"Sub"}},
      {L"C:\\dir\\?.txt", V{L"A.TXT", L"b.txt"}},
      {L"C:\\dir\\ab?", V{L"abc"}},
      {L"C:\\dir\\ab?.c", V{L"ab.c"}},  // "?" also matches nothing before a dot
      {L"C:\\dir\\*.gz", V{L"c.tar.gz"}},
      {L"C:\\dir\\c.*", V{L"c.tar.gz"}},
      {L"C:\\dir\\README", V{L"readme"}},
      {L"C:\\dir\\nothing*", V{}},
      {L"C:\\missing\\*", V{}},
      {L"C:\\dir\\", V{}},
  };
  for (const auto& c : cases) EXPECT_EQ(names(c.pattern), c.expected) << utf8(c.pattern);
  // A drive's root lists no "." and "..".
  EXPECT_EQ(names(L"C:\\*"), V{L"dir"});
  ASSERT_TRUE(setCurrentDirectory(L"C:\\dir"));
  EXPECT_EQ(names(L"*.txt").size(), 3u);
  EXPECT_EQ(names(L"C:?.txt").size(), 2u);
}

TEST_F(Files, FindDataDescribesEntries) {
  touch(machine.drive() / "f.bin", std::string(1234, 'x'));
  fs::create_directories(machine.drive() / "Folder");
  auto found = findFiles(L"C:\\*");
  ASSERT_EQ(found.size(), 2u);
  EXPECT_EQ(found[0].name, L"f.bin");
  EXPECT_EQ(found[0].size, 1234u);
  EXPECT_EQ(found[0].attributes, FILE_ATTRIBUTE_ARCHIVE);
  EXPECT_GT(found[0].lastWrite, 0);
  EXPECT_EQ(found[1].attributes, FILE_ATTRIBUTE_DIRECTORY);
  EXPECT_EQ(fileInfo(L"c:\\FOLDER")->name, L"Folder");
}

TEST_F(Files, DosAttributesRoundTripAndReadOnlyProtects) {
  const fs::path host = machine.drive() / "locked.txt";
  touch(host, "data");
  EXPECT_EQ(getAttributes(L"C:\\LOCKED.TXT"), FILE_ATTRIBUTE_ARCHIVE);
  ASSERT_TRUE(setAttributes(L"C:\\locked.txt", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
  EXPECT_EQ(getAttributes(L"C:\\locked.txt"), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
  char text[16] = {};
  ASSERT_GT(getxattr(host.c_str(), "user.DOSATTRIB", text, sizeof text - 1), 0);
  EXPECT_STREQ(text, "0x3");
  EXPECT_EQ(fs::status(host).permissions() & fs::perms::owner_write, fs::perms::none);

  EXPECT_FALSE(deleteFile(L"C:\\locked.txt"));
  EXPECT_EQ(openFile(L"C:\\locked.txt", L"r+b"), nullptr);
  EXPECT_EQ(openFile(L"C:\\locked.txt", L"w"), nullptr);
  EXPECT_EQ(openFile(L"C:\\locked.txt", L"ab"), nullptr);
  EXPECT_FALSE(copyFile(L"C:\\other.txt", L"C:\\locked.txt", false));
  EXPECT_EQ(readAll(openFile(L"C:\\locked.txt", L"rb")), "data");

  ASSERT_TRUE(setAttributes(L"C:\\locked.txt", FILE_ATTRIBUTE_NORMAL));
  EXPECT_EQ(getAttributes(L"C:\\locked.txt"), FILE_ATTRIBUTE_NORMAL);
  EXPECT_NE(fs::status(host).permissions() & fs::perms::owner_write, fs::perms::none);
  EXPECT_TRUE(deleteFile(L"C:\\locked.txt"));
  EXPECT_EQ(getAttributes(L"C:\\locked.txt"), INVALID_FILE_ATTRIBUTES);
}

TEST_F(Files, OpenModes) {
  EXPECT_EQ(openFile(L"C:\\new.txt", L"r+b"), nullptr);
  std::FILE* f = openFile(L"C:\\New.txt", L"w+b");
  ASSERT_NE(f, nullptr);
  std::fputs("one", f);
  std::fclose(f);
  EXPECT_TRUE(fs::exists(machine.drive() / "New.txt"));
  f = openFile(L"c:\\NEW.TXT", L"a");
  ASSERT_NE(f, nullptr);
  std::fputs("two", f);
  std::fclose(f);
  EXPECT_EQ(readAll(openFile(L"C:\\new.txt", L"rb")), "onetwo");
  EXPECT_EQ(fs::directory_iterator(machine.drive())->path().filename(), "New.txt");  // no twin
  fs::create_directories(machine.drive() / "folder");
  EXPECT_EQ(openFile(L"C:\\folder", L"r"), nullptr);
  EXPECT_EQ(openFile(L"C:\\missing\\x.txt", L"w"), nullptr);
  EXPECT_EQ(openFile(L"C:\\new.txt", L"q"), nullptr);
}

TEST_F(Files, FolderAndFileOperations) {
  EXPECT_TRUE(createDirectory(L"C:\\Work"));
  EXPECT_FALSE(createDirectory(L"c:\\WORK"));
  EXPECT_FALSE(createDirectory(L"C:\\a\\b"));  // the parent must exist
  touch(machine.drive() / "Work" / "f.txt", "content");
  EXPECT_FALSE(removeDirectory(L"C:\\work"));  // not empty
  EXPECT_FALSE(removeDirectory(L"C:\\"));

  ASSERT_TRUE(setAttributes(L"C:\\Work\\f.txt", FILE_ATTRIBUTE_READONLY));
  EXPECT_TRUE(copyFile(L"C:\\work\\F.TXT", L"C:\\work\\g.txt", true));
  EXPECT_EQ(getAttributes(L"C:\\work\\g.txt"), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE);
  EXPECT_EQ(fileInfo(L"C:\\work\\g.txt")->lastWrite, fileInfo(L"C:\\work\\f.txt")->lastWrite);
  EXPECT_FALSE(copyFile(L"C:\\work\\f.txt", L"C:\\work\\g.txt", true));
  ASSERT_TRUE(setAttributes(L"C:\\Work\\f.txt", 0));
  ASSERT_TRUE(setAttributes(L"C:\\Work\\g.txt", 0));

  EXPECT_FALSE(moveFile(L"C:\\work\\f.txt", L"C:\\work\\G.TXT"));  // the target exists
  EXPECT_TRUE(moveFile(L"C:\\work\\f.txt", L"C:\\work\\F.txt"));   // a change of case only
  EXPECT_EQ(names(L"C:\\work\\f*"), std::vector<std::wstring>{L"F.txt"});
  EXPECT_TRUE(moveFile(L"C:\\work\\f.txt", L"C:\\moved.txt"));
  EXPECT_TRUE(deleteFile(L"C:\\moved.txt"));
  EXPECT_TRUE(deleteFile(L"C:\\work\\g.txt"));
  EXPECT_FALSE(deleteFile(L"C:\\work"));  // a folder is no file
  EXPECT_TRUE(removeDirectory(L"C:\\WORK"));
}

TEST_F(Files, AtomicWriteReplacesWholeFile) {
  const fs::path file = machine.root() / "out.txt";
  ASSERT_TRUE(writeFileAtomically(file, "first version"));
  ASSERT_TRUE(writeFileAtomically(file, "second"));
  std::ifstream in(file);
  std::string text((std::istreambuf_iterator<char>(in)), {});
  EXPECT_EQ(text, "second");
  EXPECT_EQ(std::distance(fs::directory_iterator(machine.root()), {}), 2);  // drive_c and out.txt
  EXPECT_FALSE(writeFileAtomically(machine.root() / "missing" / "x", "x"));
}

TEST_F(Files, CurrentDriveKeepsEachDrivesFolder) {
  fs::create_directories(machine.drive('d') / "work");
  ASSERT_TRUE(setCurrentDirectory(L"D:\\work"));
  ASSERT_TRUE(setCurrentDrive(L'c'));
  EXPECT_EQ(currentDirectory(), L"C:\\");
  ASSERT_TRUE(setCurrentDrive(L'D'));
  EXPECT_EQ(currentDirectory(), L"D:\\work");
  EXPECT_FALSE(setCurrentDrive(L'Q'));  // the machine has no drive Q:
  EXPECT_FALSE(setCurrentDrive(L'1'));
  EXPECT_EQ(currentDrive(), L'D');
}

TEST_F(Files, SplitPathKeepsSeparatorsAsWritten) {
  struct Case {
    const wchar_t *path, *drive, *folder, *name, *extension;
  } cases[] = {
      {L"C:\\a\\plan.dwg", L"C:", L"\\a\\", L"plan", L".dwg"},
      {L"c:/a.b/plan", L"c:", L"/a.b/", L"plan", L""},
      {L"plan.tar.gz", L"", L"", L"plan.tar", L".gz"},
      {L"D:", L"D:", L"", L"", L""},
      {L"\\dir\\", L"", L"\\dir\\", L"", L""},
      {L"C:\\a\\.profile", L"C:", L"\\a\\", L"", L".profile"},
      {L"", L"", L"", L"", L""},
  };
  for (const auto& c : cases) {
    PathParts parts = splitPath(c.path);
    EXPECT_EQ(parts.drive, c.drive) << utf8(c.path);
    EXPECT_EQ(parts.folder, c.folder) << utf8(c.path);
    EXPECT_EQ(parts.name, c.name) << utf8(c.path);
    EXPECT_EQ(parts.extension, c.extension) << utf8(c.path);
  }
}
