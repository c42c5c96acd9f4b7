#include "helper/extract_helper.h"

#include <limits>
#include <string>

#include "helper/payload_item.h"
#include "platform/binary_file.h"

namespace quillfex {

namespace {

constexpr std::size_t blockSize = 64 * 1024;
// An item never decodes to more bytes than it has characters, and its length is a 16-bit count.
constexpr std::size_t longestItemBytes = std::numeric_limits<std::int16_t>::max();

// Decoded bytes on their way to the file, gathered into blocks. Each block is written where its first byte
// belongs, so every byte lands at the position it would have had written one at a time.
class BlockWriter {
 public:
  explicit BlockWriter(BinaryFile& file) : file_(file), block_(blockSize + longestItemBytes, '\0') {}

  void decode(std::string_view item) {
    filled_ += decodePayloadItem(item, block_.data() + filled_);
    if (filled_ >= blockSize) writeBlock();
  }

  void writeBlock() {
    file_.write(writePosition_, std::string_view(block_.data(), filled_));
    file_.flush();
    writePosition_ += filled_;
    filled_ = 0;
  }

 private:
  BinaryFile& file_;
  std::string block_;
  std::size_t filled_ = 0;
  std::uint64_t writePosition_ = 1;
};

}  // namespace

void extractHelper(Os& os, const ItemRecord* store) {
  // The file is opened without being emptied: a longer one left by an earlier run would keep its tail.
  os.deleteFile(helperFileName);
  BinaryFile file = openBinaryFile(os, helperFileName);
  ItemCursor cursor;
  cursor.restore(store);

  BlockWriter writer(file);
  for (auto item = cursor.readItemText(); item && *item != payloadTerminator; item = cursor.readItemText()) {
    writer.decode(*item);
  }
  writer.writeBlock();
}

}  // namespace quillfex
