#pragma once
// Machines for the property tests: the sample set, and generated ones with 1 to 4 disks, 1 to 6 Windows
// partitions, XP or not, one or several entries of the system drive and, now and then, cloned signatures.

#include <rapidcheck.h>

#include <ostream>
#include <string>

namespace quillfex::testing {

struct GeneratedMachine {
  std::string description;  // a winsim machine description
};

rc::Gen<GeneratedMachine> genMachine();

void showValue(const GeneratedMachine& machine, std::ostream& os);

}  // namespace quillfex::testing

namespace rc {
template <>
struct Arbitrary<quillfex::testing::GeneratedMachine> {
  static Gen<quillfex::testing::GeneratedMachine> arbitrary() { return quillfex::testing::genMachine(); }
};
}  // namespace rc
