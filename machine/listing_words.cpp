#include "machine/listing_words.h"

#include <algorithm>
#include <charconv>

namespace winsim {

namespace {

const char* const titleKeys[] = {"boot_manager", "boot_loader", "legacy_loader", "memory_tester"};

std::size_t characterCount(std::string_view utf8) {
  return static_cast<std::size_t>(
      std::count_if(utf8.begin(), utf8.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

enum class Counted { no, yes };

// One line of the words' file, "NAME WORD" or "NAME CHARACTERS WORD", taken off the file; nullopt when the
// file does not go on so.
std::optional<ListingText::Title> takeLine(std::string_view& file, std::string_view name, Counted counted) {
  const std::size_t end = file.find('\n');
  if (end == std::string_view::npos) return std::nullopt;
  std::string_view line = file.substr(0, end);
  if (!line.starts_with(name) || line.size() <= name.size() || line[name.size()] != ' ') return std::nullopt;
  line.remove_prefix(name.size() + 1);
  ListingText::Title title;
  if (counted == Counted::yes) {
    const auto [after, failure] = std::from_chars(line.data(), line.data() + line.size(), title.characters);
    if (failure != std::errc() || after == line.data() || after == line.data() + line.size() || *after != ' ') {
      return std::nullopt;
    }
    line.remove_prefix(static_cast<std::size_t>(after - line.data()) + 1);
  }
  if (line.empty() || line.find('\r') != std::string_view::npos) return std::nullopt;
  // A character takes a byte at least, in every code page.
  if (counted == Counted::yes && (title.characters == 0 || title.characters > line.size())) return std::nullopt;
  title.bytes = line;
  file.remove_prefix(end + 1);
  return title;
}

}  // namespace

const char* titleKey(EntryKind kind) { return titleKeys[static_cast<std::size_t>(kind)]; }

std::span<const ListingWords> knownLanguages() {
  static const ListingWords languages[] = {
      {"en-US",
       437,
       "identifier",
       {"Windows Boot Manager", "Windows Boot Loader", "Windows Legacy OS Loader", "Windows Memory Tester"}},
      {"de-DE",
       850,
       "Bezeichner",
       {"Windows-Start-Manager", "Windows-Startladeprogramm", "Windows-Legacy-Betriebssystem-Ladeprogramm",
        "Windows-Speichertestprogramm"}},
      {"fr-FR",
       850,
       "identificateur",
       {"Gestionnaire de démarrage Windows", "Chargeur de démarrage Windows",
        "Chargeur du système d'exploitation hérité de Windows", "Testeur de mémoire Windows"}},
      {"it-IT",
       850,
       "identificatore",
       {"Boot Manager di Windows", "Caricatore di avvio di Windows",
        "Caricatore del sistema operativo legacy di Windows", "Tester memoria di Windows"}},
      {"es-ES",
       850,
       "Identificador",
       {"Administrador de arranque de Windows", "Cargador de arranque de Windows",
        "Cargador del sistema operativo heredado de Windows", "Comprobador de memoria de Windows"}},
      {"ru-RU",
       866,
       "идентификатор",
       {"Диспетчер загрузки Windows", "Загрузка Windows", "Загрузчик предыдущих версий Windows",
        "Средство проверки памяти Windows"}},
      {"zh-CN",
       936,
       "标识符",
       {"Windows 启动管理器", "Windows 启动加载器", "Windows 旧 OS 加载器", "Windows 内存测试程序"}},
      {"ja-JP",
       932,
       "identifier",
       {"Windows ブート マネージャー", "Windows ブート ローダー", "Windows レガシ OS ローダー",
        "Windows メモリ テスター"}},
  };
  return languages;
}

const ListingWords* knownLanguage(std::string_view name) {
  for (const ListingWords& language : knownLanguages()) {
    if (language.language == name) return &language;
  }
  return nullptr;
}

ListingText englishListingText(HeaderStyle header) {
  const ListingWords english;
  ListingText text{header == HeaderStyle::id ? "id" : english.identifier, {}};
  for (const EntryKind kind : allKinds) {
    text.titles[static_cast<std::size_t>(kind)] = {english.title(kind), english.title(kind).size()};
  }
  return text;
}

std::optional<ListingText> encodeListingWords(const ListingWords& words, const CodePageEncoder& encode,
                                              std::string& failedKey) {
  ListingText text;
  const auto key = encode(words.identifier, words.codePage);
  if (!key) {
    failedKey = "identifier";
    return std::nullopt;
  }
  text.key = *key;
  for (const EntryKind kind : allKinds) {
    const auto title = encode(words.title(kind), words.codePage);
    if (!title) {
      failedKey = titleKey(kind);
      return std::nullopt;
    }
    text.titles[static_cast<std::size_t>(kind)] = {*title, characterCount(words.title(kind))};
  }
  return text;
}

std::string formatListingText(const ListingText& text) {
  std::string file = "identifier " + text.key + "\n";
  for (const EntryKind kind : allKinds) {
    const ListingText::Title& title = text.title(kind);
    file += std::string(titleKey(kind)) + " " + std::to_string(title.characters) + " " + title.bytes + "\n";
  }
  return file;
}

std::optional<ListingText> parseListingText(std::string_view file, std::string& error) {
  ListingText text;
  int lineNumber = 1;
  const auto failed = [&](const std::string& why) {
    error = "line " + std::to_string(lineNumber) + " " + why;
    return std::nullopt;
  };
  const auto key = takeLine(file, "identifier", Counted::no);
  if (!key) return failed("is not \"identifier WORD\" and a line end");
  text.key = key->bytes;
  for (const EntryKind kind : allKinds) {
    ++lineNumber;
    const auto title = takeLine(file, titleKey(kind), Counted::yes);
    if (!title) return failed("is not \"" + std::string(titleKey(kind)) + " CHARACTERS WORD\" and a line end");
    text.titles[static_cast<std::size_t>(kind)] = *title;
  }
  if (!file.empty()) return failed("is one too many");
  return text;
}

}  // namespace winsim
