#include "sandbox_fixture.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace quillfex::testing {

void SandboxTest::SetUp() {
  std::string pattern = (std::filesystem::temp_directory_path() / "quillfex-test-XXXXXX").string();
  ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
  root = pattern;
  std::filesystem::create_directories(root / "drives" / "C" / "Boot");
  std::filesystem::create_directories(root / "disks");
}

void SandboxTest::TearDown() { std::filesystem::remove_all(root); }

void SandboxTest::writeFile(const std::string& relative, const std::string& content) const {
  std::filesystem::create_directories((root / relative).parent_path());
  std::ofstream(root / relative, std::ios::binary) << content;
}

std::string SandboxTest::readFile(const std::string& relative) const {
  std::ifstream in(root / relative, std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

}  // namespace quillfex::testing
