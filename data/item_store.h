#pragma once
// Item stores: fixed data compiled into the program as sequences of text items, read through one shared
// read cursor. A store is a run of item records chained by link records; the last link's reference is null.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quillfex {

struct ItemRecord {
  std::int16_t length;    // the item text's length, or linkLength for a link record
  const void* reference;  // an item's NUL-terminated text, or a link's next record (null: no more records)
};

inline constexpr std::int16_t linkLength = -1;

// The one position in the data image that every store reader shares.
class ItemCursor {
 public:
  // Puts the cursor on a store's first record.
  void restore(const ItemRecord* store) { position_ = store; }

  // Follows link records to the next item record, returns its text (up to its first NUL) and moves past it.
  // nullopt once a null link ends the chain: the cursor never reads beyond the store.
  std::optional<std::string> readItem();

  // readItem without the copy: the text stays in the data image, which lives as long as the program.
  std::optional<std::string_view> readItemText();

 private:
  const ItemRecord* position_ = nullptr;
};

}  // namespace quillfex
