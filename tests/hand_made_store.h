#pragma once
// An item store built at run time from item texts, in the data image's layout: each item record followed by a
// link record to the next item record, the last link null. Give the terminator as an item when it belongs.

#include <string>
#include <vector>

#include "data/item_store.h"

namespace quillfex::testing {

class HandMadeStore {
 public:
  explicit HandMadeStore(std::vector<std::string> items) : texts_(std::move(items)) {
    records_.reserve(2 * texts_.size() + 1);
    for (const std::string& text : texts_) {
      records_.push_back({static_cast<std::int16_t>(text.size()), text.c_str()});
      records_.push_back({linkLength, nullptr});
    }
    if (records_.empty()) records_.push_back({linkLength, nullptr});
    for (std::size_t link = 1; link + 1 < records_.size(); link += 2) records_[link].reference = &records_[link + 1];
  }
  HandMadeStore(const HandMadeStore&) = delete;
  HandMadeStore& operator=(const HandMadeStore&) = delete;

  const ItemRecord* records() const { return records_.data(); }

 private:
  std::vector<std::string> texts_;
  std::vector<ItemRecord> records_;
};

}  // namespace quillfex::testing
