#include "data/item_store.h"

#include <cstring>

namespace quillfex {

std::optional<std::string> ItemCursor::readItem() {
  const auto text = readItemText();
  if (!text) return std::nullopt;
  return std::string(*text);
}

std::optional<std::string_view> ItemCursor::readItemText() {
  while (position_ != nullptr && position_->length == linkLength) {
    position_ = static_cast<const ItemRecord*>(position_->reference);
  }
  if (position_ == nullptr || position_->length < 0) return std::nullopt;
  const char* text = static_cast<const char*>(position_->reference);
  const std::size_t length = text ? strnlen(text, static_cast<std::size_t>(position_->length)) : 0;
  ++position_;
  return std::string_view(text ? text : "", length);
}

}  // namespace quillfex
