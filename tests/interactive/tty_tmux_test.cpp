// The real program in a terminal, as a person runs it: a tmux server of the test's own runs
// `winsim run DIR --screen tty -- Quillfex` in a 100 x 30 window; keys go in through send-keys and the pane
// comes back through capture-pane.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <thread>

namespace quillfex {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

constexpr std::string_view highlight = "48;2;221;160;221";  // the selected entry's background, DDA0DD
constexpr std::string_view firstEntry = "Eliminate the Windows bootmanager";
constexpr std::string_view secondEntry = "The Windows bootmanager integrate again";

struct Output {
  int status = -1;
  std::string text;
};

Output shell(const std::string& command) {
  Output output;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) return output;
  char buffer[4096];
  while (const std::size_t count = std::fread(buffer, 1, sizeof buffer, pipe)) output.text.append(buffer, count);
  const int status = ::pclose(pipe);
  output.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return output;
}

std::string quoted(const std::string& path) { return "'" + path + "'"; }

// The pane's line that holds text, or "".
std::string lineWith(const std::string& pane, std::string_view text) {
  const auto at = pane.find(text);
  if (at == std::string::npos) return "";
  const auto start = pane.rfind('\n', at) + 1;  // npos + 1 is 0: the first line
  return pane.substr(start, pane.find('\n', at) - start);
}

class TtyInTmux : public ::testing::Test {
 protected:
  void SetUp() override {
    if (shell("tmux -V >/dev/null 2>&1").status != 0) GTEST_SKIP() << "no tmux (scripts/setup installs it)";
    std::string made = (fs::temp_directory_path() / "quillfex-tty-XXXXXX").string();
    ASSERT_NE(::mkdtemp(made.data()), nullptr);
    folder = made;
    ASSERT_EQ(shell(quoted(WINSIM) + " make --default " + quoted(folder / "machine") + " >/dev/null").status, 0);
  }

  void TearDown() override {
    if (folder.empty()) return;
    tmux("kill-server 2>/dev/null");
    fs::remove_all(folder);
  }

  Output tmux(const std::string& arguments) const {
    // A socket of its own in the test's folder: its own server, gone with the folder.
    return shell("unset TMUX; tmux -S " + quoted(folder / "tmux") + " -f /dev/null " + arguments);
  }

  // At its end, the program's status goes to the result file, with whether the terminal's settings came back.
  void startProgram() {
    std::ofstream(folder / "run.sh") << "before=$(stty -g)\n"
                                     << quoted(WINSIM) << " run " << quoted(folder / "machine") << " --screen tty -- "
                                     << quoted(QUILLFEX) << "\nstatus=$?\n"
                                     << "[ \"$(stty -g)\" = \"$before\" ] && terminal=restored || terminal=changed\n"
                                     << "echo \"$status $terminal\" > " << quoted(folder / "result")
                                     << "\nexec sleep 600\n";
    ASSERT_EQ(tmux("new-session -d -x 100 -y 30 \"sh " + quoted(folder / "run.sh") + "\"").status, 0);
  }

  std::string capture(bool withColours = false) const {
    return tmux(withColours ? "capture-pane -p -e" : "capture-pane -p").text;
  }

  // Captures the pane until done holds; the capture, or "" when 15 seconds went by first.
  std::string waitFor(const std::function<bool(const std::string&)>& done, bool withColours = false) const {
    for (const auto end = std::chrono::steady_clock::now() + 15s; std::chrono::steady_clock::now() < end;) {
      if (std::string pane = capture(withColours); done(pane)) return pane;
      std::this_thread::sleep_for(50ms);
    }
    return "";
  }

  std::string waitForText(std::string_view text) {
    return waitFor([&](const std::string& pane) { return pane.find(text) != std::string::npos; });
  }

  // "<status> restored" or "<status> changed" once the program has ended.
  std::string waitForResult() {
    std::string line;
    const auto ended = [&](const std::string&) {
      std::ifstream in(folder / "result");
      line.assign(std::istreambuf_iterator<char>(in), {});
      return !line.empty() && line.back() == '\n';
    };
    if (waitFor(ended).empty()) return "no end; the pane:\n" + capture();
    return line.substr(0, line.size() - 1);
  }

  void expectTerminalAsBefore() {
    EXPECT_EQ(tmux("display-message -p '#{alternate_on} #{cursor_flag}'").text, "0 1\n")
        << "the main screen and the cursor are back";
  }

  fs::path folder;
};

TEST_F(TtyInTmux, TheMenuShowsDownMovesTheHighlightEscapeLeaves) {
  startProgram();
  ASSERT_NE(waitForText(firstEntry), "") << capture();
  EXPECT_NE(capture().find(secondEntry), std::string::npos);
  EXPECT_NE(capture().find("Tavrinel"), std::string::npos) << "the title, on its gradient band";
  std::string pane = capture(true);
  EXPECT_NE(lineWith(pane, firstEntry).find(highlight), std::string::npos) << pane;
  EXPECT_EQ(lineWith(pane, secondEntry).find(highlight), std::string::npos) << pane;

  tmux("send-keys Down");
  pane = waitFor(
      [](const std::string& shown) { return lineWith(shown, secondEntry).find(highlight) != std::string::npos; }, true);
  ASSERT_NE(pane, "") << capture(true);
  EXPECT_EQ(lineWith(pane, firstEntry).find(highlight), std::string::npos) << pane;

  tmux("send-keys Escape");
  EXPECT_EQ(waitForResult(), "0 restored");
  expectTerminalAsBefore();
}

TEST_F(TtyInTmux, AnEliminationRunTakesAKeyPerPreparedPartition) {
  startProgram();
  ASSERT_NE(waitForText(firstEntry), "") << capture();
  tmux("send-keys Enter");
  for (const std::string drive : {"D:", "E:"}) {
    ASSERT_NE(waitForText("Partition " + drive + " is now bootable"), "") << drive << "\n" << capture();
    tmux("send-keys Enter");
  }
  EXPECT_EQ(waitForResult(), "0 restored");
  expectTerminalAsBefore();

  const std::string json = shell(quoted(WINSIM) + " show " + quoted(folder / "machine") + " --json").text;
  EXPECT_NE(json.find("\"D\":{\"bootmgr\":true"), std::string::npos) << json;
  EXPECT_NE(json.find("\"E\":{\"bootmgr\":true"), std::string::npos) << json;
  const std::string systemStore = json.substr(0, json.find("\"drives\""));
  EXPECT_EQ(systemStore.find("partition=D:"), std::string::npos) << systemStore;
  EXPECT_EQ(systemStore.find("partition=E:"), std::string::npos) << systemStore;
}

}  // namespace
}  // namespace quillfex
