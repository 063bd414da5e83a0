// The simulated Windows machine this process runs on: one folder holding the drives (drive C: is
// the sub-folder drive_c, D: is drive_d, ...) and the registry hives system.reg (local machine) and
// user.reg (current user). Every other platform service works inside the open machine.
#pragma once

#include <filesystem>

namespace plat {

// Makes `dir` the process's machine, creating the folder and drive_c when missing. A machine is
// open until another is opened; tests open a fresh temporary one each.
void openMachine(const std::filesystem::path& dir);
bool machineOpen();
const std::filesystem::path& machineRoot();  // throws std::logic_error when no machine is open
std::filesystem::path driveFolder(wchar_t drive);  // machineRoot()/"drive_c" for L'C'

}  // namespace plat
