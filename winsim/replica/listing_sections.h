#pragma once
// The boot-configuration editor's default listing read into its sections, one per entry: the title above
// its line of dashes, the header that begins the entry (in either style, read as the program reads it) and
// every field line after it, values continued on the lines below included, in whatever language the field
// names come.

#include <string>
#include <string_view>
#include <vector>

namespace winsim {

struct ListingField {
  std::string name;                 // "device", "displayorder", ...
  std::vector<std::string> values;  // the value beside the name, then one for each line that continues it
};

struct ListingSection {
  int line = 0;                      // of the header, from 1
  std::string title;                 // "Windows Boot Loader"; "" when no line of dashes stands above the header
  std::string id;                    // as the program reads it: from column 25 of the header
  std::string key;                   // the header before column 25, without the blanks that end it
  bool shortHeader = false;          // headed by "id" and 8 blanks rather than "identifier"
  bool deviceFollows = true;         // the line right after the header, which the program takes for the device, is one
  std::vector<ListingField> fields;  // the header's excluded

  // The field's first value; "" when the section has no such field.
  std::string value(std::string_view name) const;
  // Every value of the field; none when the section has no such field.
  std::vector<std::string> values(std::string_view name) const;
};

std::vector<ListingSection> listingSections(std::string_view listing);

}  // namespace winsim
