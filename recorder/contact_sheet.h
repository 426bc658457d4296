#pragma once
// A contact sheet: C x R thumbnails of frames spread evenly over a recording, first and last
// included, left to right and top to bottom, on a dark grey ground. With fewer frames than
// cells every frame gets one and the rest stay empty. Thumbnails are at most 320 pixels wide
// (never wider than the frame), averaged down so thin lines do not shimmer away.
#include <cstdint>
#include <vector>

#include "recorder/rgb_image.h"

class ContactSheet {
 public:
  ContactSheet(int columns, int rows, std::int64_t frameCount, int frameWidth, int frameHeight);
  virtual ~ContactSheet() = default;

  // The cell frame `index` (0-based among the recording's frames) goes to, or -1 for none.
  int cellOf(std::int64_t index) const;
  // Places the frame in its cell when it has one.
  void add(std::int64_t index, const RgbImage& frame);

  const RgbImage& image() const { return sheet_; }

  static constexpr int gap = 4;
  static constexpr int maxThumbWidth = 320;

 private:
  int columns_, rows_;
  int thumbWidth_, thumbHeight_;
  std::vector<std::int64_t> frameOfCell_;
  RgbImage sheet_;
};

// `from` scaled to w x h by averaging the source pixels each target pixel covers.
RgbImage shrinkImage(const RgbImage& from, int w, int h);
