#include "recorder/contact_sheet.h"

#include <algorithm>

ContactSheet::ContactSheet(int columns, int rows, std::int64_t frameCount, int frameWidth,
                           int frameHeight)
    : columns_(std::max(columns, 1)), rows_(std::max(rows, 1)) {
  thumbWidth_ = std::min(frameWidth, maxThumbWidth);
  thumbHeight_ = std::max<int>(
      1, static_cast<int>(static_cast<std::int64_t>(frameHeight) * thumbWidth_ / frameWidth));
  int cells = columns_ * rows_;
  std::int64_t used = std::min<std::int64_t>(cells, std::max<std::int64_t>(frameCount, 0));
  for (std::int64_t c = 0; c < used; ++c)
    frameOfCell_.push_back(used == 1 ? 0 : c * (frameCount - 1) / (used - 1));
  sheet_.width = columns_ * thumbWidth_ + (columns_ + 1) * gap;
  sheet_.height = rows_ * thumbHeight_ + (rows_ + 1) * gap;
  sheet_.pixels.assign(static_cast<std::size_t>(sheet_.width) * sheet_.height * 3, 40);
}

int ContactSheet::cellOf(std::int64_t index) const {
  auto it = std::find(frameOfCell_.begin(), frameOfCell_.end(), index);
  return it == frameOfCell_.end() ? -1 : static_cast<int>(it - frameOfCell_.begin());
}

void ContactSheet::add(std::int64_t index, const RgbImage& frame) {
  int cell = cellOf(index);
  if (cell < 0 || frame.width <= 0 || frame.height <= 0) return;
  RgbImage thumb = shrinkImage(frame, thumbWidth_, thumbHeight_);
  int left = gap + (cell % columns_) * (thumbWidth_ + gap);
  int top = gap + (cell / columns_) * (thumbHeight_ + gap);
  for (int y = 0; y < thumbHeight_; ++y)
    std::copy_n(
        thumb.pixels.data() + static_cast<std::size_t>(y) * thumbWidth_ * 3, thumbWidth_ * 3,
        sheet_.pixels.data() + (static_cast<std::size_t>(top + y) * sheet_.width + left) * 3);
}

RgbImage shrinkImage(const RgbImage& from, int w, int h) {
  RgbImage to;
  to.width = w;
  to.height = h;
  to.pixels.assign(static_cast<std::size_t>(w) * h * 3, 0);
  for (int y = 0; y < h; ++y) {
    int y0 = static_cast<int>(static_cast<std::int64_t>(y) * from.height / h);
    int y1 = std::max(y0 + 1, static_cast<int>(static_cast<std::int64_t>(y + 1) * from.height / h));
    for (int x = 0; x < w; ++x) {
      int x0 = static_cast<int>(static_cast<std::int64_t>(x) * from.width / w);
      int x1 =
          std::max(x0 + 1, static_cast<int>(static_cast<std::int64_t>(x + 1) * from.width / w));
      for (int k = 0; k < 3; ++k) {
        std::uint32_t sum = 0;
        for (int sy = y0; sy < y1; ++sy)
          for (int sx = x0; sx < x1; ++sx)
            sum += from.pixels[(static_cast<std::size_t>(sy) * from.width + sx) * 3 + k];
        to.pixels[(static_cast<std::size_t>(y) * w + x) * 3 + k] =
            static_cast<std::uint8_t>(sum / ((y1 - y0) * (x1 - x0)));
      }
    }
  }
  return to;
}
