#include "posix/process.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "posix/descriptor.h"

namespace quillfex::posix {
namespace {

namespace fs = std::filesystem;

class ProcessTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "quillfex-process-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    folder = pattern;
  }
  void TearDown() override { fs::remove_all(folder); }

  // What the shell line printed, run with `start` for everything but its arguments and output.
  std::string outputOf(const std::string& line, ProcessStart start) {
    const fs::path file = folder / "output";
    auto output = openFile(file.string(), O_WRONLY | O_CREAT | O_TRUNC);
    EXPECT_TRUE(output) << output.failure().text();
    start.arguments = {"sh", "-c", line};
    start.output = output->get();
    const auto end = runProcess(start);
    EXPECT_TRUE(end && end->status() == 0) << (end ? "" : end.failure().text());
    std::ostringstream text;
    text << std::ifstream(file).rdbuf();
    return text.str();
  }

  fs::path folder;
};

TEST_F(ProcessTest, TheChildGetsItsFolderEnvironmentAndOutputFromTheRequest) {
  ProcessStart start;
  start.workingDirectory = folder.string();
  start.environment = withVariables({"PATH=/usr/bin:/bin", "KEPT=old"}, {{"KEPT", "new"}, {"ADDED", "a b"}});
  EXPECT_EQ(outputOf("pwd; echo \"$KEPT|$ADDED|${HOME-unset}\"", start),
            fs::canonical(folder).string() + "\nnew|a b|unset\n");
}

TEST_F(ProcessTest, DescriptorsOpenedHereAreNotHandedOn) {
  const auto kept = openFile((folder / "kept").string(), O_WRONLY | O_CREAT);
  ASSERT_TRUE(kept);
  ProcessStart start;
  start.environment = currentEnvironment();
  const std::string probe = "[ -e /proc/self/fd/" + std::to_string(kept->get()) + " ] && echo inherited || echo closed";
  EXPECT_EQ(outputOf(probe, start), "closed\n");
}

TEST_F(ProcessTest, TheEndIsTheExitCodeOrTheSignal) {
  ProcessStart start;
  start.environment = currentEnvironment();
  start.arguments = {"sh", "-c", "exit 7"};
  auto end = runProcess(start);
  ASSERT_TRUE(end);
  EXPECT_EQ(end->exitCode, 7);
  EXPECT_EQ(end->status(), 7);
  start.arguments = {"sh", "-c", "kill -KILL $$"};
  end = runProcess(start);
  ASSERT_TRUE(end);
  EXPECT_EQ(end->signal, SIGKILL);
  EXPECT_EQ(end->status(), 128 + SIGKILL);
}

TEST_F(ProcessTest, AProgramThatCannotStartIsAFailureNamingTheCall) {
  struct Case {
    std::vector<std::string> arguments;
    std::string workingDirectory;
    int error;
    int output = -1;
    std::string call = "posix_spawn";
  };
  const Case cases[] = {
      {{(folder / "missing").string()}, "", ENOENT},
      {{"no-such-program-anywhere"}, "", ENOENT},
      {{"sh", "-c", "true"}, (folder / "gone").string(), ENOENT},
      {{folder.string()}, "", EACCES},
      // no descriptor can have this number: the child would otherwise write into this process's output
      {{"sh", "-c", "true"}, "", EBADF, 1 << 30, "posix_spawn_file_actions_adddup2"},
  };
  for (const Case& c : cases) {
    ProcessStart start;
    start.arguments = c.arguments;
    start.workingDirectory = c.workingDirectory;
    start.environment = currentEnvironment();
    start.output = c.output;
    const auto end = runProcess(start);
    ASSERT_FALSE(end) << c.arguments[0];
    EXPECT_EQ(end.failure().error, c.error) << c.arguments[0];
    EXPECT_EQ(end.failure().call, c.call + " " + c.arguments[0]);
  }
}

TEST_F(ProcessTest, AFileThatCannotOpenNamesTheCallThePathAndTheReason) {
  const std::string path = (folder / "none" / "file").string();
  const auto file = openFile(path, O_RDONLY);
  ASSERT_FALSE(file);
  EXPECT_EQ(file.failure().text(), "open " + path + ": No such file or directory");
}

TEST_F(ProcessTest, WritesAndReadsAtAPositionCoverEveryByte) {
  auto file = openFile((folder / "data").string(), O_RDWR | O_CREAT);
  ASSERT_TRUE(file);
  const std::string bytes(300000, 'x');
  ASSERT_FALSE(writeAllAt(file->get(), 5, bytes));
  std::string back(bytes.size() + 10, '\0');
  const auto got = readAllAt(file->get(), 5, back.data(), back.size());
  ASSERT_TRUE(got);
  EXPECT_EQ(*got, bytes.size());
  EXPECT_FALSE(file->close());
  EXPECT_EQ(file->get(), -1);
}

}  // namespace
}  // namespace quillfex::posix
