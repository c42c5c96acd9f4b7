// The real program in its SDL window under Xvfb, used as a person would: the window is found by its title,
// given the focus, sent keys with xdotool and photographed with import. Each photograph must equal, pixel
// for pixel, what the program draws for the same keys on the headless screen.

#include <gtest/gtest.h>
#include <unistd.h>

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
    fs::create_directories(folder);
  }

  void TearDown() override {
    program.reset();
    if (!HasFailure()) fs::remove_all(folder);
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

  // Starts the program on the machine with the SDL screen and gives its window the focus.
  void startInWindow(const fs::path& machine) {
    // The display libraries (Mesa, D-Bus) keep memory to the end and are unloaded before LeakSanitizer
    // looks, so in sanitizer builds their leaks could be neither told apart nor suppressed.
    program = std::make_unique<BackgroundProgram>(std::vector<std::string>{
        "env", "LSAN_OPTIONS=detect_leaks=0", WINSIM, "run", machine.string(), "--screen", "sdl", "--", QUILLFEX});
    window = findWindow("Quillfex", 15);
    ASSERT_FALSE(window.empty()) << "no window titled Quillfex";
    ASSERT_TRUE(focusWindow(window));
  }

  // Photographs the window until it shows expected, for at most ten seconds.
  ::testing::AssertionResult shows(const Picture& expected, const std::string& what) {
    Picture shown;
    for (const auto giveUp = std::chrono::steady_clock::now() + 10s; std::chrono::steady_clock::now() < giveUp;) {
      shown = screenshot(window);
      if (!shown.empty() && shown == expected) return ::testing::AssertionSuccess();
      std::this_thread::sleep_for(20ms);
    }
    if (shown.empty()) return ::testing::AssertionFailure() << what << ": no screenshot of the window";
    std::size_t differing = 0;
    for (std::size_t at = 0; at < shown.size(); ++at) differing += shown[at] != expected[at];
    return ::testing::AssertionFailure() << what << ": " << differing << " pixels differ";
  }

  std::string machineJson(const fs::path& machine) {
    return runCommand({WINSIM, "show", machine.string(), "--json"}).output;
  }

  XvfbServer xvfb;
  const fs::path folder = fs::temp_directory_path() / ("quillfex-sdl-" + std::to_string(::getpid()));
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
  ASSERT_TRUE(requestClose(window));
  EXPECT_FALSE(program->waitForExit(100ms)) << "a close request ended the program";
  ASSERT_TRUE(pressKey("Down"));
  EXPECT_TRUE(shows(menuAfterDown, "the menu after Down"));
  ASSERT_TRUE(pressKey("Escape"));
  EXPECT_EQ(program->waitForExit(10s), 0);
}

TEST_F(SdlProgramRun, EliminationRunWithAKeyPressPerPreparedPartition) {
  const Picture menu = headlessScreens("", "menu").back();
  const std::vector<Picture> waits = headlessScreens("Enter Enter Enter", "scripted");
  ASSERT_EQ(waits.size(), 3u) << "two prepared partitions, one wait each, then the end";
  const fs::path machine = makeMachine("window");
  startInWindow(machine);

  EXPECT_TRUE(shows(menu, "the menu"));
  ASSERT_TRUE(pressKey("Return"));
  EXPECT_TRUE(shows(waits[0], "the first prepared partition"));
  ASSERT_TRUE(pressKey("Return"));
  EXPECT_TRUE(shows(waits[1], "the second prepared partition"));
  ASSERT_TRUE(pressKey("Return"));
  EXPECT_EQ(program->waitForExit(10s), 0);

  const std::string after = machineJson(machine);
  EXPECT_NE(after.find(R"("D":{"bootmgr":true,"store":[)"), std::string::npos) << after;
  EXPECT_NE(after.find(R"("E":{"bootmgr":true,"store":[)"), std::string::npos) << after;
  EXPECT_EQ(after, machineJson(folder / "scripted")) << "the window's run must do what the scripted run did";
}

}  // namespace
}  // namespace quillfex::testing
