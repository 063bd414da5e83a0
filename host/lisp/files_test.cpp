// File streams, findfile and load on a simulated machine: text on disk in the ANSI code page
// (Big5), LISP sources in UTF-8 or Big5.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "lisp/interpreter.h"
#include "platform/files.h"
#include "platform/machine.h"

namespace lisp {
namespace {

namespace fs = std::filesystem;

class Files : public ::testing::Test {
 protected:
  void SetUp() override {
    root = fs::temp_directory_path() / ("kclisp_files_" + std::to_string(::getpid()) + "_" +
                                        ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(root);
    plat::openMachine(root);
    plat::setCurrentDirectory(L"C:\\");
  }
  void TearDown() override { fs::remove_all(root); }

  fs::path drive() const { return root / "drive_c"; }
  void writeBytes(const char* name, std::string_view bytes) {
    std::ofstream(drive() / name, std::ios::binary) << bytes;
  }
  std::string readBytes(const char* name) {
    std::ifstream f(drive() / name, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), {}};
  }
  std::wstring run(std::wstring_view source) {
    try {
      return prin1String(in.evalString(source));
    } catch (const Error& e) {
      return L"error: " + e.message();
    }
  }

  fs::path root;
  Namespace ns;
  Interpreter in{ns};
};

// 中文測試 in Big5.
constexpr std::string_view kBig5 = "\xA4\xA4\xA4\xE5\xB4\xFA\xB8\xD5";

TEST_F(Files, WriteAndReadLinesInTheAnsiCodePage) {
  EXPECT_EQ(run(L"(setq f (open \"C:/Out.txt\" \"w\")) (write-line \"中文測試\" f) (princ 12 f) (close f)"), L"nil");
  EXPECT_EQ(readBytes("Out.txt"), std::string(kBig5) + "\r\n12");
  EXPECT_EQ(run(L"(setq f (open \"c:\\\\OUT.TXT\" \"r\")) (list (read-line f) (read-line f) (read-line f))"),
            L"(\"中文測試\" \"12\" nil)");
  EXPECT_EQ(run(L"(close f) (setq f (open \"out.txt\" \"a\")) (write-char 65 f) (close f)"), L"nil");
  EXPECT_EQ(readBytes("Out.txt"), std::string(kBig5) + "\r\n12A");
  EXPECT_EQ(run(L"(setq f (open \"out.txt\" \"r\")) (list (read-char f) (read-char f))"), L"(20013 25991)");
  EXPECT_EQ(run(L"(close f) (read-line f)"), L"error: bad argument type: streamp: #<file \"C:\\\\out.txt\">");
}

TEST_F(Files, OpenFailsWithNil) {
  EXPECT_EQ(run(L"(open \"C:\\\\missing\\\\x.txt\" \"r\")"), L"nil");
  EXPECT_EQ(run(L"(open \"C:\\\\missing\\\\x.txt\" \"w\")"), L"nil");
  EXPECT_EQ(run(L"(open \"x.txt\" \"q\")"), L"error: bad argument value: \"q\"");
}

TEST_F(Files, FindFileGivesTheFullWindowsPath) {
  fs::create_directories(drive() / "KORA_CAD");
  writeBytes("KORA_CAD/kcad.lsp", "1");
  EXPECT_EQ(run(L"(findfile \"c:/kora_cad/KCAD.lsp\")"), L"\"C:\\\\kora_cad\\\\KCAD.lsp\"");
  plat::setCurrentDirectory(L"C:\\KORA_CAD");
  EXPECT_EQ(run(L"(findfile \"kcad.lsp\")"), L"\"C:\\\\KORA_CAD\\\\kcad.lsp\"");
  EXPECT_EQ(run(L"(findfile \"none.lsp\")"), L"nil");
}

TEST_F(Files, LoadDecodesUtf8AndAnsiSources) {
  writeBytes("plain.lsp", "(setq a \"中文\")\n(defun twice (x) (* 2 x))");
  writeBytes("bom.lsp", "\xEF\xBB\xBF(setq b \"測試\")");
  writeBytes("big5.lsp", "(setq c \"" + std::string(kBig5) + "\")");
  EXPECT_EQ(run(L"(load \"plain\")"), L"TWICE");
  EXPECT_EQ(run(L"(load \"C:\\\\bom.lsp\") (load \"big5.LSP\") (list a b c (twice 4))"),
            L"(\"中文\" \"測試\" \"中文測試\" 8)");
}

TEST_F(Files, LoadFailures) {
  EXPECT_EQ(run(L"(load \"nothing\")"), L"error: LOAD failed: \"nothing\"");
  EXPECT_EQ(run(L"(load \"nothing\" 'missing)"), L"MISSING");
  writeBytes("bad.lsp", "(setq d 1) (car 1)");
  EXPECT_EQ(run(L"(load \"bad\" 'missing)"), L"error: bad argument type: consp: 1");
  EXPECT_EQ(run(L"d"), L"1");
  writeBytes("open.lsp", "(setq e (list 1)");
  EXPECT_EQ(run(L"(load \"open\")"), L"error: malformed list on input");
}

}  // namespace
}  // namespace lisp
