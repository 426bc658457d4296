#include "tests/support/gl_test.h"

#include <GL/gl.h>

#include <cstdio>

void GlTest::SetUp() {
  context = createOffscreenContext(width, height);
  ASSERT_NE(context, nullptr) << "no off-screen OpenGL context (Mesa EGL surfaceless)";
  glClearColor(0, 0, 0, 0);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
}

void GlTest::TearDown() {
  if (context) {
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    destroyOffscreenContext(context);
    context = nullptr;
  }
}

const std::vector<std::uint8_t>& GlTest::readPixels() {
  pixels_ = readOffscreenPixels(context);
  return pixels_;
}

std::array<int, 4> GlTest::pixel(int x, int y) const {
  const std::size_t i = (static_cast<std::size_t>(y) * width + x) * 4;
  if (x < 0 || y < 0 || x >= width || y >= height || i + 3 >= pixels_.size()) {
    ADD_FAILURE() << "pixel (" << x << ", " << y << ") outside the read picture";
    return {-1, -1, -1, -1};
  }
  return {pixels_[i], pixels_[i + 1], pixels_[i + 2], pixels_[i + 3]};
}

std::array<int, 4> GlTest::readPixel(int x, int y) {
  readPixels();
  return pixel(x, y);
}

bool GlTest::savePpm(const char* path) const {
  FILE* f = std::fopen(path, "wb");
  if (!f) return false;
  std::fprintf(f, "P6\n%d %d\n255\n", width, height);
  for (int y = height - 1; y >= 0; --y)
    for (int x = 0; x < width; ++x)
      std::fwrite(&pixels_[(static_cast<std::size_t>(y) * width + x) * 4], 1, 3, f);
  return std::fclose(f) == 0;
}
