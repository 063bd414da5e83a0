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
#include "platform/temp_machine.h"

namespace kctest {

// The platform's temporary machine with the scripted user's answers forgotten and, with
// `install`, the suite installed into it as kcsetup does.
class TempMachine : public plat::TempMachine {
 public:
  explicit TempMachine(bool install = true);
  std::filesystem::path driveC() const { return drive('c'); }
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
