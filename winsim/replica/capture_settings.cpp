#include "winsim/replica/capture_settings.h"

#include <cstdio>

#include "machine/toml.h"

namespace winsim {

namespace {

// Windows keeps the letter as it was set; winsim's descriptions write it in upper case.
void upperDriveLetter(std::optional<std::string>& text) {
  if (text && !text->empty() && (*text)[0] >= 'a' && (*text)[0] <= 'z') (*text)[0] = static_cast<char>((*text)[0] - 32);
}

bool isDrive(const std::string& text) { return text.size() == 2 && text[0] >= 'A' && text[0] <= 'Z' && text[1] == ':'; }

enum class Missing { isAProblem, isNot };

template <typename T>
std::optional<T> valueOf(const toml::table& table, const char* key, CaptureSettings& settings,
                         Missing missing = Missing::isAProblem) {
  const toml::node* node = table.get(key);
  if (node == nullptr) {
    if (missing == Missing::isAProblem) settings.problems.push_back(std::string("capture.toml has no ") + key);
    return std::nullopt;
  }
  if (auto value = valueAs<T>(*node)) return *value;
  settings.problems.push_back(std::string("capture.toml's ") + key + " has a value of the wrong type");
  return std::nullopt;
}

}  // namespace

CaptureSettings readCaptureSettings(const std::optional<std::string>& text) {
  CaptureSettings settings;
  if (!text) {
    settings.problems.push_back("capture.toml is missing");
    return settings;
  }
  toml::table table;
  try {
    table = parseToml(*text, "capture.toml");
  } catch (const toml::parse_error& failure) {
    settings.problems.push_back("capture.toml does not read: line " + std::to_string(failure.source().begin.line) +
                                ": " + std::string(failure.description()));
    return settings;
  }
  settings.systemDrive = valueOf<std::string>(table, "system_drive", settings);
  upperDriveLetter(settings.systemDrive);
  if (settings.systemDrive && !isDrive(*settings.systemDrive)) {
    settings.problems.push_back("capture.toml's system_drive \"" + *settings.systemDrive + "\" is no drive such as C:");
    settings.systemDrive.reset();
  }
  settings.temp = valueOf<std::string>(table, "temp", settings);
  upperDriveLetter(settings.temp);
  if (settings.temp &&
      (settings.temp->size() < 3 || !isDrive(settings.temp->substr(0, 2)) || (*settings.temp)[2] != '\\')) {
    settings.problems.push_back("capture.toml's temp \"" + *settings.temp + "\" is no full path such as C:\\Temp");
    settings.temp.reset();
  }
  settings.elevated = valueOf<bool>(table, "elevated", settings);
  settings.version = valueOf<std::string>(table, "version", settings);
  // Whether a missing code page is a problem depends on the version, which the replica weighs.
  const auto codePage = valueOf<std::int64_t>(table, "code_page", settings, Missing::isNot);
  if (codePage && (*codePage < 1 || *codePage > 65535)) {
    settings.problems.push_back("capture.toml's code_page " + std::to_string(*codePage) + " is no code page");
  } else if (codePage) {
    settings.codePage = static_cast<int>(*codePage);
  }
  settings.windowsVersion = valueOf<std::string>(table, "windows_version", settings, Missing::isNot);
  return settings;
}

bool recordsTheConsole(const std::string& version) {
  int major = 0, minor = 0;
  char end = 0;
  if (std::sscanf(version.c_str(), "%d.%d%c", &major, &minor, &end) < 2) return false;
  return major > 1 || (major == 1 && minor >= 4);
}

}  // namespace winsim
