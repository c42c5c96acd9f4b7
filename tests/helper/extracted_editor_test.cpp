// The editor this build carries, written out on a simulated machine and run by winsim-cmd the way the
// program runs it: an extraction that is off by a single byte would not run, or not list the store.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "helper/command.h"
#include "helper/command_lines.h"
#include "helper/extract_helper.h"
#include "platform/posix/posix_os.h"
#include "screen/screen.h"

namespace quillfex {
namespace {

class ExtractedEditorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (std::filesystem::temp_directory_path() / "quillfex-editor-test-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    root = pattern;
    const std::string make = "'" WINSIM "' make --default '" + (root / "machine").string() + "'";
    ASSERT_EQ(std::system(make.c_str()), 0) << make;
    root /= "machine";
    ::setenv("QUILLFEX_SIM_ROOT", root.c_str(), 1);
    ::setenv("SystemDrive", "C:", 1);
    ::setenv("temp", "C:\\Temp", 1);
  }
  void TearDown() override { std::filesystem::remove_all(root.parent_path()); }

  std::string hostFile(const std::string& relative) const {
    std::ifstream in(root / relative, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
  }

  std::filesystem::path root;
};

TEST_F(ExtractedEditorTest, RunsAndListsTheStore) {
  PosixOs os(root.string(), WINSIM_CMD);
  ProgramState state;
  Screen screen;
  Context context{state, os, screen};
  ASSERT_TRUE(os.changeDirectory("C:\\Boot"));

  extractHelper(os);
  runCommand(context, listingCommand(os));

  const std::string listing = hostFile("drives/C/Temp/Quillfex.000");
  EXPECT_NE(listing.find("Windows Boot Manager\r\n"), std::string::npos) << listing;
  EXPECT_NE(listing.find("identifier              {bootmgr}\r\n"), std::string::npos) << listing;
}

}  // namespace
}  // namespace quillfex
