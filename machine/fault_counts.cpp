#include "machine/fault_counts.h"

#include <fstream>
#include <vector>

namespace winsim {

int countFaultMatch(const std::string& countsFile, std::size_t index) {
  if (countsFile.empty()) return 1;
  std::vector<int> counts;
  {
    std::ifstream in(countsFile);
    for (int count; in >> count;) counts.push_back(count);
  }
  if (counts.size() <= index) counts.resize(index + 1, 0);
  ++counts[index];
  std::ofstream out(countsFile, std::ios::trunc);
  for (const int count : counts) out << count << '\n';
  return counts[index];
}

}  // namespace winsim
