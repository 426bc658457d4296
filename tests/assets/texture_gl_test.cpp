// Textures drawn and read back: every picture kind shows its colours the right way up, and
// only the exact endings make a texture.
#include <GL/gl.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "assets/asset_buffer.h"
#include "assets/texture.h"
#include "tests/assets/jpeg_writer.h"
#include "tests/support/gl_test.h"
#include "tests/support/message_capture.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using Rgb = std::array<int, 3>;

Bytes tgaFile(std::uint8_t type, std::uint8_t depth, int w, int h, const Bytes& body,
              std::uint16_t mapLength = 0) {
  Bytes f = {0,
             static_cast<std::uint8_t>(mapLength ? 1 : 0),
             type,
             0,
             0,
             static_cast<std::uint8_t>(mapLength),
             static_cast<std::uint8_t>(mapLength >> 8),
             static_cast<std::uint8_t>(mapLength ? 24 : 0),
             0,
             0,
             0,
             0,
             static_cast<std::uint8_t>(w),
             0,
             static_cast<std::uint8_t>(h),
             0,
             depth,
             0};
  f.insert(f.end(), body.begin(), body.end());
  return f;
}

// A 4 x 4 picture: the two stored-first rows hold `bottom`, the other two `top`.
template <typename Pixel>
Bytes rows(const Pixel& bottom, const Pixel& top) {
  Bytes out;
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x)
      out.insert(out.end(), (y < 2 ? bottom : top).begin(), (y < 2 ? bottom : top).end());
  return out;
}

class TextureGl : public GlTest {
 protected:
  // Loads the bytes as the entry `name` and draws the texture over the whole viewport.
  Texture load(const char* name, const Bytes& file) {
    AssetBuffer entry;
    EXPECT_TRUE(entry.openFromMemory(file.data(), static_cast<std::uint32_t>(file.size())));
    Texture texture;
    texture.loadEntry(name, entry);
    EXPECT_EQ(entry.data, nullptr) << "the entry is released";
    return texture;
  }

  void draw(const Texture& texture) {
    glClear(GL_COLOR_BUFFER_BIT);
    glEnable(GL_TEXTURE_2D);
    texture.bind();
    glColor4f(1, 1, 1, 1);
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0);
    glVertex2f(-1, -1);
    glTexCoord2f(1, 0);
    glVertex2f(1, -1);
    glTexCoord2f(1, 1);
    glVertex2f(1, 1);
    glTexCoord2f(0, 1);
    glVertex2f(-1, 1);
    glEnd();
    readPixels();
  }

  void expectColour(int x, int y, Rgb want, int tolerance, const std::string& what) {
    const auto got = pixel(x, y);
    for (int c = 0; c < 3; ++c) {
      EXPECT_NEAR(got[c], want[c], tolerance)
          << what << " at (" << x << ", " << y << ") channel " << c;
    }
  }

  void expectBottomTop(const Texture& texture, Rgb bottom, Rgb top, int tolerance,
                       const std::string& what) {
    ASSERT_NE(texture.name, 0u) << what;
    draw(texture);
    expectColour(32, 16, bottom, tolerance, what + " bottom");
    expectColour(32, 48, top, tolerance, what + " top");
  }
};

TEST_F(TextureGl, TgaPicturesOfEveryKindShowTheirColoursTheRightWayUp) {
  const Rgb red = {248, 0, 0}, blue = {0, 0, 248};
  expectBottomTop(
      load("t32.tga", tgaFile(2, 32, 4, 4, rows(Bytes{0, 0, 248, 255}, Bytes{248, 0, 0, 255}))),
      red, blue, 1, "32-bit");
  expectBottomTop(load("t24.TGA", tgaFile(2, 24, 4, 4, rows(Bytes{0, 0, 248}, Bytes{248, 0, 0}))),
                  red, blue, 1, "24-bit");
  expectBottomTop(load("t16.tga", tgaFile(2, 16, 4, 4, rows(Bytes{0x00, 0x7C}, Bytes{0x1F, 0x00}))),
                  red, blue, 1, "16-bit");
  Bytes mapped = {0, 0, 248, 248, 0, 0};  // palette: red, blue (stored blue, green, red)
  const Bytes indices = rows(Bytes{0}, Bytes{1});
  mapped.insert(mapped.end(), indices.begin(), indices.end());
  expectBottomTop(load("t8.tga", tgaFile(1, 8, 4, 4, mapped, 2)), red, blue, 1, "colour-mapped");
  expectBottomTop(load("g8.tga", tgaFile(3, 8, 4, 4, rows(Bytes{200}, Bytes{40}))), {200, 200, 200},
                  {40, 40, 40}, 1, "greyscale");
}

// 8 x 8, top half (first in the file) `top`, bottom half `bottom`.
Bytes halves(int components, const Bytes& top, const Bytes& bottom) {
  Bytes out;
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x)
      out.insert(out.end(), (y < 4 ? top : bottom).begin(),
                 (y < 4 ? top : bottom).begin() + components);
  return out;
}

TEST_F(TextureGl, JpegPicturesShowTheirColoursTheRightWayUp) {
  expectBottomTop(load("c.jpg", encodeJpeg(halves(3, {0, 0, 240}, {240, 0, 0}), 8, 8, 3)),
                  {240, 0, 0}, {0, 0, 240}, 24, "colour");
  expectBottomTop(load("g.JPG", encodeJpeg(halves(1, {30}, {220}), 8, 8, 1)), {220, 220, 220},
                  {30, 30, 30}, 16, "greyscale");
  // Sides that are not powers of two are scaled by the mipmap builder.
  const Bytes odd(6 * 5 * 3, 180);
  const Texture scaled = load("odd.jpg", encodeJpeg(odd, 6, 5, 3));
  ASSERT_NE(scaled.name, 0u);
  draw(scaled);
  expectColour(10, 50, {180, 180, 180}, 8, "scaled");
}

TEST_F(TextureGl, LoadLeavesTheTextureBoundMipmappedAndTrilinear) {
  const Texture texture = load("c.jpg", encodeJpeg(Bytes(8 * 8 * 3, 99), 8, 8, 3));
  ASSERT_NE(texture.name, 0u);
  GLint value = 0;
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &value);
  EXPECT_EQ(GLuint(value), texture.name);
  glGetIntegerv(GL_UNPACK_ALIGNMENT, &value);
  EXPECT_EQ(value, 1);
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &value);
  EXPECT_EQ(value, GL_LINEAR_MIPMAP_LINEAR);
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &value);
  EXPECT_EQ(value, GL_LINEAR);
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 3, GL_TEXTURE_WIDTH, &value);
  EXPECT_EQ(value, 1) << "the last mipmap level of an 8 x 8 picture";
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_INTERNAL_FORMAT, &value);
  EXPECT_EQ(value, 3) << "three components, as requested";
}

TEST_F(TextureGl, OnlyTheExactEndingsAreRecognised) {
  MessageCapture messages;
  const Bytes jpeg = encodeJpeg(Bytes(4 * 4 * 3, 128), 4, 4, 3);
  messages.take();
  for (const char* name :
       {"cell.Jpg", "cell.jPG", "cell.jpeg", "cell.Tga", "cell.png", "pg", "g", ""}) {
    EXPECT_EQ(load(name, jpeg).name, 0u) << name;
  }
  Texture untouched;
  untouched.name = 77;
  untouched.load("cell.Jpg");
  untouched.load("jp");
  untouched.load(nullptr);
  EXPECT_EQ(untouched.name, 77u);
  EXPECT_EQ(messages.take(), "");
  EXPECT_NE(load("cell.jpg", jpeg).name, 0u);
  EXPECT_NE(load("cell.JPG", jpeg).name, 0u);
}

TEST_F(TextureGl, AMissingJpegIsReportedOnceAndLeavesNoTexture) {
  MessageCapture messages;
  Texture texture;
  texture.name = 5;
  messages.take();
  texture.load("textures\\no-such-picture.jpg");
  EXPECT_EQ(messages.take(), "Error: ARCH:Can't load JPG file: textures\\no-such-picture.jpg\n");
  EXPECT_EQ(texture.name, 0u);

  texture.name = 5;
  messages.take();
  texture.load("textures\\no-such-picture.tga");
  EXPECT_EQ(messages.take(), "");
  EXPECT_EQ(texture.name, 0u);
}

TEST_F(TextureGl, PicturesTheUploadCannotTakeAreRefused) {
  MessageCapture messages;
  messages.take();
  EXPECT_EQ(load("cmyk.jpg", encodeJpeg(Bytes(4 * 4 * 4, 60), 4, 4, 4)).name, 0u);
  EXPECT_EQ(messages.take(), "Error: ARCH:Can't load JPG file: cmyk.jpg\n");
  EXPECT_EQ(load("short.tga", tgaFile(2, 24, 4, 4, Bytes(20, 1))).name, 0u);
}

}  // namespace
