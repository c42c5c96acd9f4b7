#include "text/windows_path.h"

#include <gtest/gtest.h>

namespace quillfex {
namespace {

TEST(WindowsPath, FullPathFromTheCurrentDirectory) {
  const WindowsPath boot = *parseFullPath("C:\\Boot");
  struct Case {
    std::string path, full;  // "" for no path
  } cases[] = {
      {"org.bcd", "C:\\Boot\\org.bcd"},
      {"\\bootmgr", "C:\\bootmgr"},
      {"D:\\Boot\\lid.bcd", "D:\\Boot\\lid.bcd"},
      {"d:/boot/", "d:\\boot"},
      {"C:lid.bcd", "C:\\Boot\\lid.bcd"},      // drive-relative on the current drive
      {"E:lid.bcd", "E:\\lid.bcd"},            // another drive: from its root
      {"..\\..\\..\\Windows", "C:\\Windows"},  // ".." stops at the root
      {".\\Fonts\\.\\x", "C:\\Boot\\Fonts\\x"},
      {"C:\\Users\\John Smith\\Temp\\Quillfex.000", "C:\\Users\\John Smith\\Temp\\Quillfex.000"},
      {"\\", "C:\\"},
      {"", ""},
      {"\\\\.\\PhysicalDrive0", ""},
      {"\\\\server\\share", ""},
  };
  for (const auto& c : cases) {
    const auto full = fullWindowsPath(c.path, boot);
    EXPECT_EQ(full ? full->text() : "", c.full) << c.path;
  }
}

TEST(WindowsPath, ParsesOnlyFullDrivePaths) {
  EXPECT_EQ(parseFullPath("C:\\")->text(), "C:\\");
  EXPECT_EQ(parseFullPath("c:\\boot\\")->text(), "c:\\boot");
  EXPECT_FALSE(parseFullPath("C:"));
  EXPECT_FALSE(parseFullPath("\\Boot"));
  EXPECT_FALSE(parseFullPath("1:\\"));
}

}  // namespace
}  // namespace quillfex
