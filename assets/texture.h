#pragma once
// An OpenGL 2-D texture made from a .jpg or .tga archive entry, fully mipmapped and
// trilinearly filtered. The texture object lives until the rendering context goes.
#include <cstdint>

class AssetBuffer;
struct DecodedImage;

class Texture {
 public:
  virtual ~Texture() = default;

  // Makes the texture from the entry; the kind of image is chosen by the exact endings
  // "jpg", "JPG", "tga" or "TGA". A failed load leaves `name` 0; another ending does nothing.
  void load(const char* entryName);

  // The same for an entry already open (it is released); `entryName` chooses the kind.
  void loadEntry(const char* entryName, AssetBuffer& entry);

  // Binds `name` to the 2-D texture target (0 selects no texture).
  void bind() const;

  std::uint32_t name = 0;

 private:
  void uploadJpeg(const char* entryName, DecodedImage& image);
  void uploadTga();
};
