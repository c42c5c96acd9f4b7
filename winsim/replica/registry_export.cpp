#include "winsim/replica/registry_export.h"

#include <optional>
#include <tuple>

#include "machine/mounted_devices.h"
#include "readers/captured_lines.h"
#include "readers/mounted_devices.h"
#include "text/text.h"

namespace winsim {

namespace {

// The export as 8-bit text: UTF-16LE (after its byte-order mark, or told by the zero high byte of its first
// character) narrowed to its low bytes, which hold every character the names and data of such a key use.
std::string eightBitText(std::string_view file) {
  if (file.starts_with("\xFF\xFE")) return quillfex::narrowedExport(file.substr(2));
  if (file.size() >= 2 && file[1] == '\0') return quillfex::narrowedExport(file);
  return std::string(file);
}

bool isBlank(std::string_view line) { return line.find_first_not_of(" \t") == std::string_view::npos; }

std::string_view withoutLeadingBlanks(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t");
  return first == std::string_view::npos ? std::string_view() : text.substr(first);
}

std::string_view withoutTrailingBlanks(std::string_view text) {
  const std::size_t last = text.find_last_not_of(" \t");
  return last == std::string_view::npos ? std::string_view() : text.substr(0, last + 1);
}

// A quoted text from text[0] ('"') on, \\ and \" undone; the rest after the closing quote. nullopt without one.
std::optional<std::pair<std::string, std::string_view>> quoted(std::string_view text) {
  std::string value;
  for (std::size_t at = 1; at < text.size(); ++at) {
    if (text[at] == '"') return std::make_pair(value, text.substr(at + 1));
    if (text[at] == '\\' && at + 1 < text.size()) ++at;
    value += text[at];
  }
  return std::nullopt;
}

std::optional<std::vector<std::uint8_t>> dwordBytes(std::string_view digits) {
  if (digits.size() != 8 || digits.find_first_not_of("0123456789abcdefABCDEF") != std::string_view::npos) {
    return std::nullopt;
  }
  const auto number = static_cast<std::uint32_t>(std::stoul(std::string(digits), nullptr, 16));
  return std::vector<std::uint8_t>{static_cast<std::uint8_t>(number), static_cast<std::uint8_t>(number >> 8),
                                   static_cast<std::uint8_t>(number >> 16), static_cast<std::uint8_t>(number >> 24)};
}

class ExportReader {
 public:
  explicit ExportReader(RegistryExport& result) : result_(result) {}

  void read(const std::string& text) {
    quillfex::CapturedLines lines(text);
    int number = 0;
    while (!lines.atEnd()) {
      const std::string line = lines.readLine();
      ++number;
      // A last line without its line end is where a copy or a write stopped.
      const bool cut = lines.atEnd() && !text.ends_with('\n');
      if (folded_) {
        continueFolded(line, number, cut);
      } else if (!isBlank(line)) {
        readLine(line, number, cut);
      }
    }
    if (folded_) {
      problem(folded_->line, "the value " + shown(folded_->name) + " is folded past the end of the export: left out");
    }
    if (!text.ends_with("\n\n") && !text.ends_with("\n\r\n")) {
      problem(0, "the export does not end with the blank line regedit writes last: it may be cut off");
    }
  }

 private:
  struct Folded {
    std::string name, type, hex;
    int line = 0;
  };

  void readLine(std::string_view line, int number, bool cut) {
    if (!headerRead_) {
      headerRead_ = true;
      const std::string_view header = withoutTrailingBlanks(line);
      result_.header = header == "Windows Registry Editor Version 5.00" || header == "REGEDIT4";
      if (result_.header) return;
      problem(number, "the file does not begin with a registry editor's header");
    }
    if (line[0] == ';') return;
    if (line[0] == '[') return readKey(withoutTrailingBlanks(line), number);
    if (line[0] == '"' || line[0] == '@') return readValue(line, number, cut);
    problem(number, "neither a [key] nor a value line");
  }

  void readKey(std::string_view line, int number) {
    if (line.size() < 2 || line.back() != ']') return problem(number, "a [key] line without its closing ]");
    result_.keys.push_back({std::string(line.substr(1, line.size() - 2)), number, {}});
  }

  void readValue(std::string_view line, int number, bool cut) {
    std::string name;
    std::string_view rest;
    if (line[0] == '@') {
      rest = line.substr(1);
    } else if (const auto nameAndRest = quoted(line)) {
      std::tie(name, rest) = *nameAndRest;
    } else {
      return problem(number, "a value name without its closing quote");
    }
    if (!rest.starts_with('=')) return problem(number, "no = after the value name " + shown(name));
    if (cut) return problem(number, "the last line has no line end: the value " + shown(name) + " is left out");
    readData(name, rest.substr(1), number);
  }

  void readData(const std::string& name, std::string_view data, int number) {
    data = withoutTrailingBlanks(data);
    if (data.starts_with('"')) {
      const auto text = quoted(data);
      if (!text || !isBlank(text->second)) return problem(number, "the text of " + shown(name) + " does not read");
      return add({name, "string", {text->first.begin(), text->first.end()}, number});
    }
    if (data.starts_with("dword:")) {
      const auto bytes = dwordBytes(data.substr(6));
      if (!bytes) return problem(number, "the dword of " + shown(name) + " is not 8 hexadecimal digits");
      return add({name, "dword", *bytes, number});
    }
    const std::size_t colon = data.find(':');
    if (!data.starts_with("hex") || colon == std::string_view::npos) {
      return problem(number, "the value " + shown(name) + " has data of no form the registry editor writes");
    }
    folded_ = Folded{name, std::string(data.substr(0, colon)), "", number};
    continueFolded(data.substr(colon + 1), number, false);
  }

  // Hex data goes on after a line that ends in "\"; regedit indents the lines that continue it.
  void continueFolded(std::string_view part, int number, bool cut) {
    if (cut) {
      problem(number, "the last line has no line end: the value " + shown(folded_->name) + " is left out");
      folded_.reset();
      return;
    }
    part = withoutTrailingBlanks(withoutLeadingBlanks(part));
    const bool goesOn = part.ends_with('\\');
    folded_->hex += part.substr(0, part.size() - (goesOn ? 1 : 0));
    if (goesOn) return;
    const Folded value = *folded_;
    folded_.reset();
    const auto bytes = parseHexBytes(value.hex);
    if (!bytes) return problem(value.line, "the hex data of " + shown(value.name) + " does not read");
    add({value.name, value.type, *bytes, value.line});
  }

  void add(RegistryValue value) {
    if (result_.keys.empty()) return problem(value.line, "the value " + shown(value.name) + " stands under no [key]");
    result_.keys.back().values.push_back(std::move(value));
  }

  void problem(int line, const std::string& what) { result_.problems.push_back({line, what}); }

  static std::string shown(const std::string& name) { return name.empty() ? "@" : "\"" + name + "\""; }

  RegistryExport& result_;
  bool headerRead_ = false;
  std::optional<Folded> folded_;
};

}  // namespace

const RegistryKey* RegistryExport::key(std::string_view name) const {
  for (const auto& key : keys) {
    if (quillfex::equalIgnoringCase(key.name, name)) return &key;
  }
  return nullptr;
}

RegistryExport readRegistryExport(std::string_view file) {
  RegistryExport result;
  const std::string text = eightBitText(file);
  if (text.empty()) {
    result.problems.push_back({0, "the file is empty"});
  } else {
    ExportReader(result).read(text);
  }
  return result;
}

}  // namespace winsim
