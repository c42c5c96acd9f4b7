#pragma once
// The words a display language gives the editor's default listing: the key of the id line and the title of
// each kind of entry. Everything else in the listing stays English. A description holds the words in UTF-8;
// a sandbox holds them in the bytes of the listing's code page, which `winsim make` converts them to: the
// editor is linked statically and also built for Windows, and neither build can load a code page.

#include <array>
#include <cstddef>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "machine/boot_store.h"

namespace winsim {

enum class HeaderStyle { identifier, id };  // "identifier" as Windows 7 lists entries, or "id" and 8 blanks

struct ListingWords {
  std::string language;  // as the description names it ("de-DE"); "" when it names none
  int codePage = 437;
  std::string identifier = "identifier";
  std::array<std::string, 4> titles = {"Windows Boot Manager", "Windows Boot Loader", "Windows Legacy OS Loader",
                                       "Windows Memory Tester"};  // by EntryKind

  std::string& title(EntryKind kind) { return titles[static_cast<std::size_t>(kind)]; }
  const std::string& title(EntryKind kind) const { return titles[static_cast<std::size_t>(kind)]; }
  bool operator==(const ListingWords&) const = default;
};

// The description's key of each title, by EntryKind: boot_manager, boot_loader, legacy_loader, memory_tester.
const char* titleKey(EntryKind kind);
inline constexpr EntryKind allKinds[] = {EntryKind::bootManager, EntryKind::loader, EntryKind::legacy, EntryKind::tool};

// The display languages winsim knows, en-US first; nullptr for a name it does not know.
std::span<const ListingWords> knownLanguages();
const ListingWords* knownLanguage(std::string_view name);

// UTF-8 text in a code page's bytes; nullopt when the code page is unknown or has no place for a character.
using CodePageEncoder = std::function<std::optional<std::string>(std::string_view utf8, int codePage)>;

// The words as the editor prints them: in the code page's bytes, each title with the number of characters
// its line of dashes has.
struct ListingText {
  struct Title {
    std::string bytes;
    std::size_t characters = 0;
    bool operator==(const Title&) const = default;
  };
  std::string key;
  std::array<Title, 4> titles;  // by EntryKind

  const Title& title(EntryKind kind) const { return titles[static_cast<std::size_t>(kind)]; }
  bool operator==(const ListingText&) const = default;
};

// The English words in code page 437, the key as the header style has it.
ListingText englishListingText(HeaderStyle header);

// The words in their code page. nullopt when one has no place there, with its description key in failedKey.
std::optional<ListingText> encodeListingWords(const ListingWords& words, const CodePageEncoder& encode,
                                              std::string& failedKey);

// The sandbox's file of the words (layout::listingWords): one a line, its description key, a blank, for a
// title its characters and a blank, then its bytes up to the LF. Its words never hold a line end.
std::string formatListingText(const ListingText& text);
// nullopt, with the reason in error, for a file that is not all of that.
std::optional<ListingText> parseListingText(std::string_view file, std::string& error);

}  // namespace winsim
