#include "screen/png_file.h"

#include <filesystem>
#include <system_error>
#include <vector>

#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>

namespace quillfex {

bool savePng(const Surface& surface, const std::string& path) {
  std::vector<unsigned char> rgb;
  rgb.reserve(std::size_t{surfaceWidth} * surfaceHeight * 3);
  for (int y = 0; y < surfaceHeight; ++y) {
    for (int x = 0; x < surfaceWidth; ++x) {
      const Pixel pixel = surface.row(y)[x];
      rgb.insert(rgb.end(), {static_cast<unsigned char>(pixel >> 16), static_cast<unsigned char>(pixel >> 8),
                             static_cast<unsigned char>(pixel)});
    }
  }
  const std::filesystem::path folder = std::filesystem::path(path).parent_path();
  std::error_code ignored;
  if (!folder.empty()) std::filesystem::create_directories(folder, ignored);
  return stbi_write_png(path.c_str(), surfaceWidth, surfaceHeight, 3, rgb.data(), surfaceWidth * 3) != 0;
}

}  // namespace quillfex
