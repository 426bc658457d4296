#pragma once
// GoogleTest fixture for tests that draw: a current off-screen GL context of a chosen size
// (no X server needed) and helpers to read the picture back.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <vector>

#include "platform/offscreen_context.h"

class GlTest : public ::testing::Test {
 protected:
  // Subclasses may change the size before SetUp runs (e.g. in their constructor).
  int width = 64;
  int height = 64;

  void SetUp() override;
  void TearDown() override;

  // Reads the whole framebuffer (RGBA, bottom row first) and caches it for pixel().
  const std::vector<std::uint8_t>& readPixels();
  // RGBA of one pixel of the last readPixels(); (0, 0) is the bottom left.
  std::array<int, 4> pixel(int x, int y) const;
  // Reads the framebuffer and returns one pixel.
  std::array<int, 4> readPixel(int x, int y);
  // Writes the last read picture as a binary PPM (for looking at a failing test).
  bool savePpm(const char* path) const;

  OffscreenContext* context = nullptr;

 private:
  std::vector<std::uint8_t> pixels_;
};
