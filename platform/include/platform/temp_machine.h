// A fresh machine in a temporary folder for one test: opened on construction, removed on
// destruction. Header-only, for the test programs of every folder.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

#include "platform/machine.h"

namespace plat {

class TempMachine {
 public:
  TempMachine() {
    std::string dir = (std::filesystem::temp_directory_path() / "kcmachine-XXXXXX").string();
    if (!::mkdtemp(dir.data())) throw std::runtime_error("cannot make a temporary machine folder");
    root_ = dir;
    openMachine(root_);
  }
  ~TempMachine() {
    std::error_code ec;
    std::filesystem::remove_all(root_, ec);
  }
  TempMachine(const TempMachine&) = delete;
  TempMachine& operator=(const TempMachine&) = delete;

  const std::filesystem::path& root() const { return root_; }
  std::filesystem::path drive(char letter = 'c') const { return root_ / (std::string("drive_") + letter); }

 private:
  std::filesystem::path root_;
};

}  // namespace plat
