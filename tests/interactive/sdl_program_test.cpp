// The real program in its SDL window under Xvfb, used as a person would: the window is found by its title,
// given the focus, sent keys with xdotool and photographed with import. Each photograph must equal, pixel
// for pixel, what the program draws for the same keys on the headless screen.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <thread>

#include "sdl_x_tools.h"
#include "sdl_xvfb.h"

namespace quillfex::testing {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

std::string readFile(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

class SdlProgramRun : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(xvfb.running()) << "Xvfb did not start; scripts/setup installs it";
    std::string made = (fs::temp_directory_path() / "quillfex-sdl-XXXXXX").string();
    ASSERT_NE(::mkdtemp(made.data()), nullptr) << made;
    folder = made;
  }

  void TearDown() override {
    program.reset();
    std::error_code ignored;
    if (!folder.empty()) fs::remove_all(folder, ignored);
  }

  fs::path makeMachine(const std::string& name) {
    const fs::path root = folder / name;
    EXPECT_EQ(runCommand({WINSIM, "make", "--default", root.string()}).status, 0) << root;
    return root;
  }

  // What the program draws for the keys on the headless screen of a machine of its own: the screen at each
  // wait for a key, then the last one.
  std::vector<Picture> headlessScreens(const std::string& keys, const std::string& machineName) {
    const fs::path machine = makeMachine(machineName);
    const fs::path screens = folder / (machineName + "-screens");
    runCommand({"env", "QUILLFEX_SNAPSHOTS=" + screens.string(), WINSIM, "run", machine.string(), "--keys", keys,
                "--screen", "headless", "--snap", (screens / "last.png").string(), "--", QUILLFEX},
               30);
    std::vector<Picture> pictures;
    for (const std::string name : {"wait-001.png", "wait-002.png", "wait-003.png", "last.png"}) {
      if (fs::exists(screens / name)) pictures.push_back(decodePng(readFile(screens / name)));
    }
    EXPECT_FALSE(pictures.empty() || pictures.back().empty()) << "no headless screen for \"" << keys << "\"";
    return pictures;
  }

  // Starts the program on the machine with the SDL screen, waits for its window to show and gives it the focus.
  void startInWindow(const fs::path& machine) {
    // The display libraries (Mesa, D-Bus) keep memory to the end and are unloaded before LeakSanitizer
    // looks, so in sanitizer builds their leaks could be neither told apart nor suppressed.
    program = std::make_unique<BackgroundProgram>(std::vector<std::string>{
        "env", "LSAN_OPTIONS=detect_leaks=0", WINSIM, "run", machine.string(), "--screen", "sdl", "--", QUILLFEX});
    window = findWindow("Quillfex", 15s);
    ASSERT_FALSE(window.empty()) << "no window titled Quillfex after 15 s";
    ASSERT_TRUE(waitUntilViewable(window, 15s));
    ASSERT_TRUE(focusWindow(window, 15s));
  }

  // Photographs the window until it shows expected, for at most 15 seconds.
  ::testing::AssertionResult shows(const Picture& expected, const std::string& what) {
    Picture shown;
    for (const auto giveUp = std::chrono::steady_clock::now() + 15s; std::chrono::steady_clock::now() < giveUp;) {
      shown = screenshot(window);
      if (!shown.empty() && shown == expected) return ::testing::AssertionSuccess();
      std::this_thread::sleep_for(20ms);
    }
    if (shown.empty()) {
      const std::string wrong = whatIsWrongWithWindow(window);
      return ::testing::AssertionFailure()
             << what << ": no " << windowWidth << " x " << windowHeight << " screenshot of window " << hexId(window)
             << " in 15 s; it is " << (wrong.empty() ? "viewable, import failed" : wrong);
    }
    if (expected.size() != shown.size()) return ::testing::AssertionFailure() << what << ": no picture to compare with";
    std::size_t differing = 0;
    for (std::size_t at = 0; at < shown.size(); ++at) differing += shown[at] != expected[at];
    return ::testing::AssertionFailure() << what << ": still " << differing << " pixels differ after 15 s";
  }

  std::string machineJson(const fs::path& machine) {
    return runCommand({WINSIM, "show", machine.string(), "--json"}).output;
  }

  XvfbServer xvfb;
  fs::path folder;
  std::unique_ptr<BackgroundProgram> program;
  std::string window;
};

TEST_F(SdlProgramRun, WindowShowsTheMenuMovesTheHighlightAndEscapeLeaves) {
  const Picture menu = headlessScreens("", "menu").back();
  const Picture menuAfterDown = headlessScreens("Down", "menu-down").back();
  startInWindow(makeMachine("window"));

  const auto shape = windowShape(window);
  ASSERT_TRUE(shape);
  EXPECT_EQ(shape->title, "Quillfex");
  // Centred on the 1280 x 1024 screen; Xvfb has no window manager, so the window has no frame.
  EXPECT_EQ(std::vector({shape->left, shape->top, shape->width, shape->height}), std::vector({320, 368, 640, 288}));
  EXPECT_EQ(std::vector({shape->minWidth, shape->minHeight, shape->maxWidth, shape->maxHeight}),
            std::vector({640, 288, 640, 288}))
      << "a window that cannot be resized";

  EXPECT_TRUE(shows(menu, "the menu"));
  // The close button only queues the close key, which the menu ignores: the window stays and takes keys.
  // The program reads the close request before the Down that follows it, so once Down shows, it has been
  // handled.
  ASSERT_TRUE(requestClose(window));
  ASSERT_TRUE(pressKey(window, "Down"));
  EXPECT_TRUE(shows(menuAfterDown, "the menu after a close request and Down"));
  EXPECT_FALSE(program->waitForExit(0ms)) << "a close request ended the program";
  ASSERT_TRUE(pressKey(window, "Escape"));
  EXPECT_EQ(program->waitForExit(15s), 0);
}

TEST_F(SdlProgramRun, EliminationRunWithAKeyPressPerPreparedPartition) {
  const Picture menu = headlessScreens("", "menu").back();
  const std::vector<Picture> waits = headlessScreens("Enter Enter Enter", "scripted");
  ASSERT_EQ(waits.size(), 3u) << "two prepared partitions, one wait each, then the end";
  const fs::path machine = makeMachine("window");
  startInWindow(machine);

  EXPECT_TRUE(shows(menu, "the menu"));
  ASSERT_TRUE(pressKey(window, "Return"));
  EXPECT_TRUE(shows(waits[0], "the first prepared partition"));
  ASSERT_TRUE(pressKey(window, "Return"));
  EXPECT_TRUE(shows(waits[1], "the second prepared partition"));
  ASSERT_TRUE(pressKey(window, "Return"));
  EXPECT_EQ(program->waitForExit(15s), 0);

  const std::string after = machineJson(machine);
  EXPECT_NE(after.find(R"("D":{"bootmgr":true,"store":[)"), std::string::npos) << after;
  EXPECT_NE(after.find(R"("E":{"bootmgr":true,"store":[)"), std::string::npos) << after;
  EXPECT_EQ(after, machineJson(folder / "scripted")) << "the window's run must do what the scripted run did";
}

}  // namespace
}  // namespace quillfex::testing
