// The headless driver: scripted keys one at a time as the program asks, snapshots, the exhausted script.

#include "screen/drivers/headless.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "screen/screen.h"

namespace quillfex {
namespace {

namespace fs = std::filesystem;

void openHeadless(Screen& screen, const char* script, std::string snapshots = "", std::string snap = "") {
  std::string error;
  ASSERT_EQ(screen.openScreenWith(makeHeadlessDriver({parseKeyScript(script, error).value(), snapshots, snap})), 0);
}

TEST(HeadlessTest, KeysArriveOneAtATimeWhenTheProgramAsks) {
  Screen screen;
  openHeadless(screen, "Down Down Enter Alt+Up F10 Up Alt+x F10 Esc");
  EXPECT_EQ(screen.pollKey(), "\xFFP") << "a poll of an empty queue takes the next key";
  screen.waitKey();
  EXPECT_EQ(screen.pollKey(), "\xFFP") << "the wait's key stays queued for the poll";
  screen.waitKey();
  screen.waitKey();  // two waits, two keys: Enter, then Up after Alt+Up and F10 queued nothing
  EXPECT_EQ(screen.pollKey(), "\r");
  EXPECT_EQ(screen.pollKey(), "\xFFH");
  EXPECT_EQ(screen.pollKey(), "") << "Alt+x queues nothing";
  screen.waitKey();  // F10 is pressed and ignored; the wait goes on until Esc
  EXPECT_EQ(screen.pollKey(), "\x1B");
  EXPECT_EQ(screen.pollKey(), "") << "a used-up script leaves polls empty";
}

class HeadlessSnapshotTest : public ::testing::Test {
 protected:
  void SetUp() override { fs::remove_all(folder); }
  void TearDown() override { fs::remove_all(folder); }
  const fs::path folder = fs::temp_directory_path() / ("quillfex-headless-" + std::to_string(::getpid()));
};

TEST_F(HeadlessSnapshotTest, AtEveryWaitAndAtTheEnd) {
  const fs::path snap = folder / "end" / "screen.png";
  {
    Screen screen;
    openHeadless(screen, "a b", folder.string(), snap.string());
    screen.waitKey();
    screen.waitKey();
    EXPECT_TRUE(fs::exists(folder / "wait-002.png"));
    EXPECT_FALSE(fs::exists(snap));
  }
  EXPECT_TRUE(fs::exists(folder / "wait-001.png"));
  EXPECT_TRUE(fs::exists(folder / "exit.png"));
  EXPECT_TRUE(fs::exists(snap));
}

TEST(HeadlessTest, PollingAUsedUpScriptForLongEndsTheProcess) {
  EXPECT_EXIT(
      {
        Screen screen;
        openHeadless(screen, "Down");
        for (;;) screen.pollKey();
      },
      ::testing::ExitedWithCode(3), "key script exhausted");
}

TEST_F(HeadlessSnapshotTest, WaitingAfterTheScriptEndsTheProcessAfterTheSnapshot) {
  const fs::path snap = folder / "screen.png";
  EXPECT_EXIT(
      {
        Screen screen;
        openHeadless(screen, "Enter", "", snap.string());
        screen.waitKey();
        screen.pollKey();
        screen.waitKey();
      },
      ::testing::ExitedWithCode(3), "key script exhausted");
  EXPECT_TRUE(fs::exists(snap));
}

}  // namespace
}  // namespace quillfex
