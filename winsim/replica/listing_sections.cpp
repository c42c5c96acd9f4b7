#include "winsim/replica/listing_sections.h"

#include <algorithm>

#include "readers/captured_lines.h"
#include "readers/listing.h"

namespace winsim {

namespace {

bool isDashes(std::string_view line) {
  return !line.empty() && std::all_of(line.begin(), line.end(), [](char c) { return c == '-'; });
}

std::string_view trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::string_view trimmedEnd(std::string_view text) { return text.substr(0, text.find_last_not_of(' ') + 1); }

// "name   value": the name up to the first blank, the value after the blanks that follow it.
ListingField fieldOf(std::string_view line) {
  const std::size_t blank = std::min(line.find(' '), line.size());
  ListingField field{std::string(line.substr(0, blank)), {}};
  if (const std::string_view value = trimmed(line.substr(blank)); !value.empty()) field.values.emplace_back(value);
  return field;
}

}  // namespace

std::string ListingSection::value(std::string_view name) const {
  const auto all = values(name);
  return all.empty() ? "" : all.front();
}

std::vector<std::string> ListingSection::values(std::string_view name) const {
  for (const auto& field : fields) {
    if (field.name == name) return field.values;
  }
  return {};
}

std::vector<ListingSection> listingSections(std::string_view listing) {
  std::vector<ListingSection> sections;
  quillfex::ListingLines lines(listing);
  std::string twoBefore, before;
  bool inSection = false, afterHeader = false;
  for (int number = 1; !lines.atEnd(); ++number) {
    const std::string line = lines.readLine();
    if (lines.headsEntry()) {
      sections.push_back({number,
                          isDashes(before) ? twoBefore : "",
                          quillfex::entryIdOf(line),
                          std::string(trimmedEnd(std::string_view(line).substr(0, 24))),
                          line.starts_with("id "),
                          true,
                          {}});
      inSection = afterHeader = true;
    } else {
      if (afterHeader) sections.back().deviceFollows = fieldOf(line).name == "device";
      afterHeader = false;
      if (trimmed(line).empty()) {
        inSection = false;  // a blank line ends the entry
      } else if (inSection && line[0] == ' ' && !sections.back().fields.empty()) {
        sections.back().fields.back().values.emplace_back(trimmed(line));
      } else if (inSection) {
        sections.back().fields.push_back(fieldOf(line));
      }
    }
    twoBefore = before;
    before = line;
  }
  if (afterHeader) sections.back().deviceFollows = false;
  return sections;
}

}  // namespace winsim
