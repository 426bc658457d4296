#include "assets/texture.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "assets/asset_buffer.h"
#include "assets/jpeg_image.h"
#include "assets/tga_image.h"
#include "platform/message_box.h"

namespace {

// JPEGs upload as RGB: greyscale is widened; other component counts (CMYK, YCCK, odd files)
// have no meaning the upload could give them and are refused.
bool jpegToRgb(DecodedImage& image, std::vector<std::uint8_t>& rgb) {
  const std::size_t pixelCount = std::size_t(image.width) * std::size_t(image.height);
  if (image.components == 3) {
    rgb = std::move(image.pixels);
    return true;
  }
  if (image.components != 1) return false;
  rgb.resize(pixelCount * 3);
  for (std::size_t i = 0; i < pixelCount; ++i) {
    rgb[i * 3] = rgb[i * 3 + 1] = rgb[i * 3 + 2] = image.pixels[i];
  }
  return true;
}

// TGAs upload as RGBA: 32-bit pictures arrive so already; blue-green-red pictures (24-bit,
// 16-bit and colour-mapped) and greyscale ones are converted, opaque.
bool tgaToRgba(TgaImage& image, std::vector<std::uint8_t>& rgba) {
  const std::size_t pixelCount = std::size_t(image.width) * image.height;
  const std::size_t bytes = image.pixelDepth / 8;
  if (image.pixels.size() != pixelCount * bytes) return false;
  if (bytes == 4) {
    rgba = std::move(image.pixels);
    return true;
  }
  if (bytes != 3 && bytes != 1) return false;
  rgba.resize(pixelCount * 4);
  for (std::size_t i = 0; i < pixelCount; ++i) {
    const std::uint8_t* in = &image.pixels[i * bytes];
    std::uint8_t* out = &rgba[i * 4];
    if (bytes == 3) {
      out[0] = in[2];
      out[1] = in[1];
      out[2] = in[0];
    } else {
      out[0] = out[1] = out[2] = in[0];
    }
    out[3] = 0xFF;
  }
  return true;
}

std::uint32_t upload(int components, int width, int height, GLenum format,
                     const std::uint8_t* pixels) {
  GLuint name = 0;
  glGenTextures(1, &name);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glBindTexture(GL_TEXTURE_2D, name);
  if (gluBuild2DMipmaps(GL_TEXTURE_2D, components, width, height, format, GL_UNSIGNED_BYTE,
                        pixels) != 0) {
    glDeleteTextures(1, &name);
    return 0;
  }
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  return name;
}

}  // namespace

namespace {

enum class ImageKind { None, Jpeg, Tga };

// Only the exact endings count; a name too short to have one has none.
ImageKind imageKind(const char* entryName) {
  if (!entryName) return ImageKind::None;
  const std::size_t length = std::strlen(entryName);
  if (length < 3) return ImageKind::None;
  const char* ending = entryName + length - 3;
  if (std::strcmp(ending, "jpg") == 0 || std::strcmp(ending, "JPG") == 0) return ImageKind::Jpeg;
  if (std::strcmp(ending, "tga") == 0 || std::strcmp(ending, "TGA") == 0) return ImageKind::Tga;
  return ImageKind::None;
}

}  // namespace

void Texture::load(const char* entryName) {
  switch (imageKind(entryName)) {
    case ImageKind::Jpeg: {
      name = 0;
      DecodedImage image;
      if (loadJpeg(entryName, image)) uploadJpeg(entryName, image);
      break;
    }
    case ImageKind::Tga:
      name = 0;
      if (loadTga(entryName)) uploadTga();
      break;
    case ImageKind::None:
      break;
  }
}

void Texture::loadEntry(const char* entryName, AssetBuffer& entry) {
  switch (imageKind(entryName)) {
    case ImageKind::Jpeg: {
      name = 0;
      DecodedImage image;
      if (loadJpegEntry(entry, entryName, image)) uploadJpeg(entryName, image);
      break;
    }
    case ImageKind::Tga:
      name = 0;
      if (loadTgaEntry(entry)) uploadTga();
      break;
    case ImageKind::None:
      entry.release();
      break;
  }
}

void Texture::uploadJpeg(const char* entryName, DecodedImage& image) {
  std::vector<std::uint8_t> rgb;
  if (!jpegToRgb(image, rgb)) {
    showMessageBox((std::string("ARCH:Can't load JPG file: ") + entryName).c_str(), "Error");
    return;
  }
  name = upload(3, image.width, image.height, GL_RGB, rgb.data());
}

void Texture::uploadTga() {
  std::vector<std::uint8_t> rgba;
  const bool converted = tgaToRgba(tgaImage, rgba);
  tgaImage.pixels.clear();
  tgaImage.pixels.shrink_to_fit();
  if (converted) name = upload(4, tgaImage.width, tgaImage.height, GL_RGBA, rgba.data());
}

void Texture::bind() const { glBindTexture(GL_TEXTURE_2D, name); }
