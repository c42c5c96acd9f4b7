#pragma once
// A throwaway sandbox folder on the host, for tests of the POSIX seam.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace quillfex::testing {

class SandboxTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Creates a host file (and its folders) under the sandbox root.
  void writeFile(const std::string& relative, const std::string& content) const;
  std::string readFile(const std::string& relative) const;
  bool exists(const std::string& relative) const { return std::filesystem::exists(root / relative); }

  std::filesystem::path root;
};

}  // namespace quillfex::testing
