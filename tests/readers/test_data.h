#pragma once
// Fixture files of tests/data, by name, through the path the build passes in.

#include <fstream>
#include <iterator>
#include <string>

namespace quillfex::testing {

// The file's bytes as they are; "" when it cannot be read, which no fixture is.
inline std::string testData(const std::string& name) {
  std::ifstream file(std::string(QUILLFEX_TEST_DATA) + "/" + name, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

}  // namespace quillfex::testing
