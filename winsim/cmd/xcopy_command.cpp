// xcopy [/s] [/c] [/h] [/r] [/k] [/y] SOURCE [TARGET]: copies a file, or a folder's files (with /s its
// non-empty subfolders too), printing each source as it goes and the count at the end.

#include <algorithm>
#include <filesystem>

#include "winsim/cmd/command_line.h"
#include "winsim/cmd/commands.h"
#include "winsim/cmd/host_files.h"

namespace winsim {

namespace {

// xcopy's exit statuses.
constexpr int nothingCopied = 1;
constexpr int badStart = 4;
constexpr int copyFailed = 5;

struct XcopyOptions {
  bool subfolders = false;       // /s
  bool continueOnError = false;  // /c
  bool hiddenFiles = false;      // /h: hidden and system files too
  bool readOnlyTargets = false;  // /r: read-only files are overwritten too
  bool keepAttributes = false;   // /k: a copy keeps the read-only attribute, which it otherwise loses
  bool overwrite = false;        // /y: no question before a file is replaced
  std::vector<std::string> paths;
};

struct CopyItem {
  std::string shown;                  // the source as xcopy prints it
  std::string host;                   // the source on the host
  std::vector<std::string> relative;  // its place below the target folder
};

std::string joined(const std::string& folder, const std::string& name) {
  return folder.empty() || folder.back() == '\\' ? folder + name : folder + '\\' + name;
}

class Xcopy {
 public:
  Xcopy(Shell& shell, XcopyOptions options) : shell_(shell), options_(std::move(options)) {}

  int run() {
    if (options_.paths.empty() || options_.paths.size() > 2) return failStart("Invalid number of parameters");
    const std::string& source = options_.paths[0];
    const auto sourcePath = shell_.fullPath(source);
    const std::string sourceHost = sourcePath ? shell_.hostPath(*sourcePath) : std::string();
    const bool folderSource = isFolder(sourceHost);
    if (!folderSource && !(isFile(sourceHost) && visible(sourceHost))) {
      return failStart("File not found - " + lastPart(source));
    }
    if (!findTarget(folderSource)) return failStart("Invalid drive specification");

    std::vector<CopyItem> items;
    if (folderSource) {
      collect(sourceHost, source, {}, items);
    } else {
      items.push_back({source, sourceHost, {sourceHost.substr(sourceHost.rfind('/') + 1)}});
    }
    return copyAll(items);
  }

 private:
  int failStart(const std::string& message) {
    shell_.console().error(message);
    shell_.console().print("0 File(s) copied");
    return badStart;
  }

  // The target is a folder when it ends in \, already is one, or receives a folder. Windows would ask
  // the user about the other cases; here a new name for a single file is taken as a file name.
  bool findTarget(bool folderSource) {
    const std::string written = options_.paths.size() == 2 ? options_.paths[1] : ".";
    auto path = shell_.fullPath(written);
    if (!path || !isFolder(shell_.hostPath(quillfex::WindowsPath{path->drive, {}}))) return false;
    targetDrive_ = path->drive;
    targetIsFolder_ = folderSource || written.ends_with('\\') || isFolder(shell_.hostPath(*path));
    if (!targetIsFolder_) {
      targetFileName_ = path->components.back();
      path->components.pop_back();
    }
    target_ = *path;
    return true;
  }

  bool visible(const std::string& host) {
    return options_.hiddenFiles || !(shell_.attributes().hidden(host) || shell_.attributes().system(host));
  }

  // A folder's files first, then (with /s) its subfolders, each in NTFS order.
  void collect(const std::string& host, const std::string& shown, const std::vector<std::string>& relative,
               std::vector<CopyItem>& items) {
    std::vector<FolderEntry> entries = readFolder(host);
    std::sort(entries.begin(), entries.end(),
              [](const FolderEntry& a, const FolderEntry& b) { return ntfsOrder(a.name, b.name); });
    for (const bool folders : {false, true}) {
      for (const auto& entry : entries) {
        const std::string entryHost = host + '/' + entry.name;
        if (entry.folder != folders || !visible(entryHost)) continue;
        std::vector<std::string> below = relative;
        below.push_back(entry.name);
        if (!folders) {
          items.push_back({joined(shown, entry.name), entryHost, below});
        } else if (options_.subfolders) {
          collect(entryHost, joined(shown, entry.name), below, items);
        }
      }
    }
  }

  int copyAll(const std::vector<CopyItem>& items) {
    int copied = 0;
    bool failed = false;
    for (const auto& item : items) {
      shell_.console().print(item.shown);
      const Outcome outcome = copyOne(item);
      copied += outcome == Outcome::copied;
      if (outcome == Outcome::failed) {
        failed = true;
        if (!options_.continueOnError) break;
      }
    }
    shell_.console().print(std::to_string(copied) + " File(s) copied");
    if (attributesChanged_) shell_.attributes().save();
    return failed ? copyFailed : copied == 0 ? nothingCopied : 0;
  }

  enum class Outcome { copied, kept, failed };

  Outcome copyOne(const CopyItem& item) {
    quillfex::WindowsPath destination = target_;
    if (targetIsFolder_) {
      destination.components.insert(destination.components.end(), item.relative.begin(), item.relative.end());
    } else {
      destination.components.push_back(targetFileName_);
    }
    const std::string host = shell_.hostPath(destination);
    if (shell_.isLiveStore(item.host) || shell_.isLiveStore(host)) return fail("Sharing violation");
    // A fault hits every copy onto its drive ("D"), or one file ("D:\bootmgr").
    FaultEffect fault = shell_.faultFor("copy", std::string(1, targetDrive_));
    if (fault == FaultEffect::none) fault = shell_.faultFor("copy", destination.text());
    if (fault == FaultEffect::noOp) return Outcome::copied;
    if (fault != FaultEffect::none) return fail("Access denied");
    if (identityOf(host) == identityOf(item.host)) return fail("File cannot be copied onto itself");
    if (!options_.readOnlyTargets && identityOf(host) && shell_.attributes().readOnly(host)) {
      return fail("Access denied");
    }
    if (!options_.overwrite && identityOf(host)) {
      // Nobody answers the question on a hidden console: the file is kept.
      shell_.console().print("Overwrite " + destination.text() + " (Yes/No/All)? ");
      return Outcome::kept;
    }
    std::error_code ignored;
    std::filesystem::create_directories(parentOf(host), ignored);
    if (copyFile(item.host, host) != 0) return fail("Access denied");
    keepAttributes(item.host, host);
    return Outcome::copied;
  }

  Outcome fail(const char* message) {
    shell_.console().error(message);
    return Outcome::failed;
  }

  void keepAttributes(const std::string& from, const std::string& to) {
    FileAttributes& attributes = shell_.attributes();
    std::string flags = attributes.of(from);
    if (!options_.keepAttributes) std::erase(flags, 'R');
    if (flags == attributes.of(to)) return;
    attributes.set(to, flags);
    attributesChanged_ = true;
  }

  Shell& shell_;
  XcopyOptions options_;
  quillfex::WindowsPath target_;
  char targetDrive_ = 'C';
  bool targetIsFolder_ = true;
  std::string targetFileName_;
  bool attributesChanged_ = false;
};

std::optional<XcopyOptions> readXcopyOptions(Shell& shell, const std::vector<std::string>& words) {
  XcopyOptions options;
  for (const auto& word : words) {
    if (word.size() != 2 || word[0] != '/') {
      options.paths.push_back(word);
      continue;
    }
    switch (word[1] | 0x20) {
      case 's':
        options.subfolders = true;
        break;
      case 'c':
        options.continueOnError = true;
        break;
      case 'h':
        options.hiddenFiles = true;
        break;
      case 'r':
        options.readOnlyTargets = true;
        break;
      case 'k':
        options.keepAttributes = true;
        break;
      case 'y':
        options.overwrite = true;
        break;
      default:
        shell.console().error("Invalid switch - " + word);
        return std::nullopt;
    }
  }
  return options;
}

}  // namespace

int xcopyCommand(Shell& shell, const std::vector<std::string>& words) {
  auto options = readXcopyOptions(shell, words);
  if (!options) return badStart;
  return Xcopy(shell, std::move(*options)).run();
}

}  // namespace winsim
