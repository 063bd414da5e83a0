// Test support for everything that runs inside the host: a fresh machine folder per test, the
// suite installed into it, and a host session whose command line the test can read.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <vector>
#include <memory>
#include <string>

#include "host/session.h"

namespace kctest {

// A fresh machine folder under the system's temporary folder, opened as the process's machine
// and removed at the end. With `install`, the suite is installed into it as kcsetup does.
class TempMachine {
 public:
  explicit TempMachine(bool install = true);
  ~TempMachine();
  TempMachine(const TempMachine&) = delete;
  TempMachine& operator=(const TempMachine&) = delete;

  const std::filesystem::path& root() const { return root_; }
  std::filesystem::path driveC() const { return root_ / "drive_c"; }

 private:
  std::filesystem::path root_;
};

// A test with an installed machine and a running host session. With `startup` the installation's
// start-up LISP runs, loading every installed module; without it, tests load what they need.
class HostTest : public ::testing::Test {
 protected:
  explicit HostTest(bool startup = true) : startup_(startup) {}
  void SetUp() override;
  void TearDown() override;

  host::Session& session() { return *session_; }
  // Evaluates in the current document; a LISP error fails the test.
  lisp::Value eval(const std::wstring& source);
  // The value of the last form, as prin1 prints it.
  std::wstring show(const std::wstring& source);
  // What the command line printed since the last call.
  std::wstring takeOutput();
  void restartSession();

  std::unique_ptr<TempMachine> machine_;

 private:
  bool startup_;
  std::wstring output_;
  std::unique_ptr<host::Session> session_;
};

// The folder the programs and modules were built into.
std::filesystem::path binFolder();
// Runs a program of the bin folder with arguments; returns its exit status and captures its
// standard output and standard error.
struct ProgramRun {
  int status = -1;
  std::string out;
  std::string err;
};
// `input` is its standard input (empty: none).
ProgramRun runProgram(const std::string& program, const std::vector<std::string>& args,
                      const std::map<std::string, std::string>& env = {}, const std::string& input = {});

}  // namespace kctest
