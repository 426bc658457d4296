#pragma once

#include <string>
#include <vector>

// Anti-aliased text coverage from a font file on the system, through FreeType.
struct TextMask {
  int width = 0, height = 0;
  std::vector<float> cover;  // 0..1, row 0 at the top
  // Position of the pen's starting point (on the baseline) inside the mask.
  int originX = 0, baselineY = 0;
  float at(int x, int y) const {
    return (x < 0 || y < 0 || x >= width || y >= height) ? 0.0f : cover[size_t(y) * width + x];
  }
};

// Where Debian's fonts-dejavu-core puts its files.
constexpr const char* kDejaVuFolder = "/usr/share/fonts/truetype/dejavu/";

class FontFace {
 public:
  FontFace();
  virtual ~FontFace();
  FontFace(const FontFace&) = delete;
  FontFace& operator=(const FontFace&) = delete;

  // Opens a font file; false with `error` naming the file and the remedy.
  bool open(const std::string& path, std::string& error);
  // Renders a line of text at the given pixel width and height of the em square (they
  // differ when the picture will be shown stretched). The mask is trimmed to the ink.
  bool render(const std::string& text, int pixelWidth, int pixelHeight, TextMask& out,
              std::string& error);

 private:
  void* library = nullptr;  // FT_Library
  void* face = nullptr;     // FT_Face
};
