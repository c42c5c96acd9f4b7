// The data image as it is compiled into the program: the gradient steps, and the payload store generated
// from the editor this build carries.

#include "data/data_image.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "fake_os.h"
#include "helper/extract_helper.h"
#include "helper/payload_item.h"
#include "tools/payload_encoding.h"

namespace quillfex {
namespace {

std::string readHostFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

TEST(DataImage, GradientStepsLeadOnIntoThePayloadStore) {
  ItemCursor cursor;
  cursor.restore(gradientStepsStore);
  std::vector<std::string> steps;
  for (int row = 0; row < 16; ++row) steps.push_back(cursor.readItem().value_or("(none)"));
  const std::vector<std::string> expected = {"10", "8", "6", "5", "4", "3", "2",  "1",
                                             "2",  "3", "4", "5", "6", "8", "10", "0"};
  EXPECT_EQ(steps, expected);
  EXPECT_EQ(cursor.readItem(), std::string(static_cast<const char*>(payloadStore[0].reference)));
}

TEST(DataImage, PayloadStoreEndsWithTheTerminatorThenNothing) {
  ItemCursor cursor;
  cursor.restore(payloadStore);
  std::vector<std::string> items;
  while (auto item = cursor.readItem()) items.push_back(std::move(*item));
  ASSERT_GE(items.size(), 2u);
  EXPECT_EQ(items.back(), payloadTerminator);
  for (std::size_t index = 0; index + 2 < items.size(); ++index) {
    EXPECT_GE(items[index].size(), itemCutLength) << index;
    EXPECT_LE(items[index].size(), longestItem) << index;
  }
}

TEST(DataImage, ExtractedEditorIsTheEmbeddedOneByteForByte) {
  const std::string editor = readHostFile(EMBEDDED_EDITOR);
  ASSERT_FALSE(editor.empty()) << EMBEDDED_EDITOR;
  testing::FakeOs os;
  os.changeDirectory("C:\\Boot");
  extractHelper(os);
  ASSERT_NE(os.file("C:\\Boot\\Zendrakx.exe"), nullptr);
  EXPECT_TRUE(*os.file("C:\\Boot\\Zendrakx.exe") == editor) << "the extracted editor differs from " EMBEDDED_EDITOR;
}

}  // namespace
}  // namespace quillfex
