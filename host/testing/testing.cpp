// Test support: temporary machines, an installed suite and a host session per test.
#include "testing.h"
#include "platform/process.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "install.h"
#include "platform/codepage.h"
#include "platform/machine.h"
#include "platform/msgbox.h"

namespace kctest {

std::filesystem::path binFolder() { return plat::programFolder(); }

TempMachine::TempMachine(bool install) {
  plat::scripted::reset();
  if (install) {
    setup::InstallOptions options;
    options.modulesFrom = binFolder();
    options.linkModules = true;  // the tests' machines share the built modules
    setup::install(options);
  }
}

void HostTest::SetUp() {
  machine_ = std::make_unique<TempMachine>();
  restartSession();
}

void HostTest::restartSession() {
  session_.reset();
  host::SessionOptions options;
  options.output = [this](std::wstring_view text) { output_ += text; };
  options.runStartup = startup_;
  session_ = std::make_unique<host::Session>(options);
}

void HostTest::TearDown() {
  session_.reset();
  machine_.reset();
}

lisp::Value HostTest::eval(const std::wstring& source) {
  try {
    return session_->eval(source);
  } catch (const lisp::Error& e) {
    ADD_FAILURE() << "LISP error in " << plat::utf8(source) << ": " << plat::utf8(e.message());
    return {};
  }
}

std::wstring HostTest::show(const std::wstring& source) { return lisp::prin1String(eval(source)); }

std::wstring HostTest::takeOutput() {
  std::wstring out;
  out.swap(output_);
  return out;
}

namespace {

std::string readAll(int fd) {
  std::string text;
  char buf[4096];
  ssize_t n;
  while ((n = read(fd, buf, sizeof buf)) > 0) text.append(buf, n);
  return text;
}

}  // namespace

ProgramRun runProgram(const std::string& program, const std::vector<std::string>& args,
                      const std::map<std::string, std::string>& env, const std::string& input) {
  std::string path = (binFolder() / program).string();
  // Output goes to files: two pipes read one after the other could fill and block.
  std::string outFile = (std::filesystem::temp_directory_path() / "kora-run-XXXXXX").string();
  std::string errFile = outFile;
  std::string inFile = outFile;
  int outFd = mkstemp(outFile.data());
  int errFd = mkstemp(errFile.data());
  int inFd = mkstemp(inFile.data());
  [[maybe_unused]] ssize_t written = write(inFd, input.data(), input.size());
  lseek(inFd, 0, SEEK_SET);
  ProgramRun run;
  pid_t pid = fork();
  if (pid == 0) {
    dup2(outFd, 1);
    dup2(errFd, 2);
    dup2(inFd, 0);
    for (auto& [k, v] : env) setenv(k.c_str(), v.c_str(), 1);
    std::vector<char*> argv{path.data()};
    std::vector<std::string> copies(args);
    for (auto& a : copies) argv.push_back(a.data());
    argv.push_back(nullptr);
    execv(path.c_str(), argv.data());
    _exit(127);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  lseek(outFd, 0, SEEK_SET);
  lseek(errFd, 0, SEEK_SET);
  run.out = readAll(outFd);
  run.err = readAll(errFd);
  close(outFd);
  close(errFd);
  close(inFd);
  unlink(inFile.c_str());
  unlink(outFile.c_str());
  unlink(errFile.c_str());
  return run;
}

}  // namespace kctest
