// The real program in a terminal, as a person runs it: a tmux server of the test's own runs
// `winsim run DIR --screen tty -- Quillfex` in a 100 x 30 window; keys go in through send-keys, each once the
// pane shows the screen that takes it, and the pane comes back through capture-pane.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
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

// The pane's text without the colour sequences that capture-pane -e puts in.
std::string withoutColours(const std::string& pane) {
  std::string text;
  for (std::size_t at = 0; at < pane.size(); ++at) {
    if (pane[at] == '\x1b' && at + 1 < pane.size() && pane[at + 1] == '[') {
      at = pane.find('m', at);
      if (at == std::string::npos) break;
    } else {
      text += pane[at];
    }
  }
  return text;
}

// What keeps a colour capture from showing the whole menu with entry 0 or 1 highlighted; "" when nothing does.
std::string menuMissing(const std::string& pane, int highlighted) {
  std::string missing;
  const std::string text = withoutColours(pane);
  if (text.find("Tavrinel") == std::string::npos) missing += " the title;";
  for (int entry = 0; entry < 2; ++entry) {
    const std::string_view name = entry == 0 ? firstEntry : secondEntry;
    const std::string line = lineWith(pane, name);
    if (line.empty()) {
      missing += " the entry \"" + std::string(name) + "\";";
    } else if ((line.find(highlight) != std::string::npos) != (entry == highlighted)) {
      missing +=
          " the highlight " + std::string(entry == highlighted ? "on" : "off") + " \"" + std::string(name) + "\";";
    }
  }
  return missing;
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
    std::error_code ignored;
    fs::remove_all(folder, ignored);
  }

  Output tmux(const std::string& arguments) const {
    // A socket of its own in the test's folder: its own server, gone with the folder.
    return shell("unset TMUX; tmux -S " + quoted(folder / "tmux") + " -f /dev/null " + arguments);
  }

  // At its end, the program's status goes into the pane, with whether the terminal's settings came back;
  // once that line shows, tmux has read all that the program wrote.
  void startProgram(int columns = 100, int rows = 30) {
    std::ofstream(folder / "run.sh") << "before=$(stty -g)\n"
                                     << quoted(WINSIM) << " run " << quoted(folder / "machine") << " --screen tty -- "
                                     << quoted(QUILLFEX) << "\nstatus=$?\n"
                                     << "[ \"$(stty -g)\" = \"$before\" ] && terminal=restored || terminal=changed\n"
                                     << "echo \"" << endMark << "$status $terminal.\"\nexec sleep 600\n";
    ASSERT_EQ(tmux("new-session -d -s run -x " + std::to_string(columns) + " -y " + std::to_string(rows) + " \"sh " +
                   quoted(folder / "run.sh") + "\"")
                  .status,
              0);
  }

  std::string capture(bool withColours = false) const {
    return tmux(withColours ? "capture-pane -p -e" : "capture-pane -p").text;
  }

  ::testing::AssertionResult sendKey(const std::string& key) const {
    if (tmux("send-keys " + key).status == 0) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "tmux did not take " << key;
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

  // Waits for the menu with entry 0 or 1 highlighted; "" once it shows, else what it lacked after 15 s.
  std::string waitForMenu(int highlighted) {
    const auto shown = [&](const std::string& pane) { return menuMissing(pane, highlighted).empty(); };
    if (!waitFor(shown, true).empty()) return "";
    const std::string pane = capture(true);
    return "after 15 s the menu still lacks" + menuMissing(pane, highlighted) + " the pane:\n" + withoutColours(pane);
  }

  // "<status> restored" or "<status> changed" once the program has ended.
  std::string waitForResult() {
    const auto ended = [](const std::string& pane) {
      const std::string line = lineWith(pane, endMark);
      return !line.empty() && line.back() == '.';
    };
    const std::string pane = waitFor(ended);
    if (pane.empty()) return "the program did not end in 15 s; the pane:\n" + capture();
    const std::string line = lineWith(pane, endMark);
    const std::size_t from = line.find(endMark) + endMark.size();
    return line.substr(from, line.size() - 1 - from);
  }

  void expectTerminalAsBefore() {
    EXPECT_EQ(tmux("display-message -p '#{alternate_on} #{cursor_flag}'").text, "0 1\n")
        << "the main screen and the cursor are back";
  }

  static constexpr std::string_view endMark = "Program ended: ";
  fs::path folder;
};

TEST_F(TtyInTmux, TheMenuShowsDownMovesTheHighlightEscapeLeaves) {
  startProgram();
  ASSERT_EQ(waitForMenu(0), "");
  ASSERT_TRUE(sendKey("Down"));
  ASSERT_EQ(waitForMenu(1), "") << "after Down";
  ASSERT_TRUE(sendKey("Escape"));
  EXPECT_EQ(waitForResult(), "0 restored");
  expectTerminalAsBefore();
}

TEST_F(TtyInTmux, AKeyTypedAtTheEnlargeNoticeIsNotActedOn) {
  startProgram(60, 20);
  ASSERT_NE(waitForText("Please enlarge the"), "") << "no notice in a 60 x 20 pane; the pane:\n" << capture();
  ASSERT_TRUE(sendKey("Enter"));
  ASSERT_EQ(tmux("resize-window -t run -x 100 -y 30").status, 0);
  ASSERT_EQ(waitForMenu(0), "") << "once the pane is large enough";
  ASSERT_TRUE(sendKey("Escape"));
  EXPECT_EQ(waitForResult(), "0 restored");
  const std::string json = shell(quoted(WINSIM) + " show " + quoted(folder / "machine") + " --json").text;
  EXPECT_NE(json.find("\"D\":{\"bootmgr\":false"), std::string::npos) << "no elimination run; " << json;
}

TEST_F(TtyInTmux, AnEliminationRunTakesAKeyPerPreparedPartition) {
  startProgram();
  ASSERT_EQ(waitForMenu(0), "");
  ASSERT_TRUE(sendKey("Enter"));
  for (const std::string drive : {"D:", "E:"}) {
    const std::string message = "Partition " + drive + " is now bootable";
    ASSERT_NE(waitForText(message), "") << "no \"" << message << "\" after 15 s; the pane:\n" << capture();
    ASSERT_TRUE(sendKey("Enter"));
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
