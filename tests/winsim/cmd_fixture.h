#pragma once
// A throwaway sandbox in which the real winsim-cmd runs command lines, started as the POSIX seam starts
// it: one argument, in the host folder of the current directory, with SystemDrive, temp and
// QUILLFEX_SIM_ROOT set.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace winsim::testing {

struct CmdResult {
  int status = -1;
  std::string output;  // standard output: the console when nothing is redirected
  std::string errors;  // standard error
};

class CmdTest : public ::testing::Test {
 protected:
  // Drive C: holds \bootmgr (HS), \Boot with the live store BCD (HS), bootstat.dat (S), memtest.exe and
  // two subfolders, \Windows\System32 with names beginning with b, \Temp and \Users\John Smith\Temp.
  // Drive D: is empty. The registry holds the DosDevices values of C: and D: and one volume value.
  void SetUp() override;
  void TearDown() override;

  // Runs one line from a folder below the sandbox (drives/C/Boot unless told).
  CmdResult run(const std::string& line, const std::string& folder = "drives/C/Boot") const;

  // Files below the sandbox root; flags of R, H and S ("", "HS", "RHS") are the file's Windows attributes.
  void writeFile(const std::string& relative, const std::string& content, const std::string& flags = "") const;
  std::string readFile(const std::string& relative) const;
  bool exists(const std::string& relative) const { return std::filesystem::exists(root / relative); }
  std::string flagsOf(const std::string& relative) const;

  // Rewrites machine.toml with one fault.
  void addFault(const std::string& command, const std::string& arg) const;

  std::filesystem::path root;
  std::string temp = "C:\\Temp";  // the value of %temp% for the next run
};

}  // namespace winsim::testing
