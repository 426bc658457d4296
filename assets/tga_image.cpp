#include "assets/tga_image.h"

#include <cstring>
#include <utility>

#include "assets/asset_buffer.h"
#include "platform/message_box.h"

TgaImage tgaImage;

namespace {

constexpr std::size_t headerSize = 18;

// A bounded cursor over the file: every take either yields all requested bytes or fails.
struct TgaReader {
  const std::uint8_t* next;
  std::size_t left;

  const std::uint8_t* take(std::size_t count) {
    if (count > left) return nullptr;
    const std::uint8_t* at = next;
    next += count;
    left -= count;
    return at;
  }
};

std::uint16_t le16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }

// Writes one stored pixel into `out`: 16-bit values become blue, green, red bytes with the
// low three bits zero (bit 15 is dropped); other depths are copied as they are.
void putPixel(const std::uint8_t* in, std::size_t inBytes, std::uint8_t* out) {
  if (inBytes == 2) {
    const unsigned v = le16(in);
    out[0] = static_cast<std::uint8_t>((v & 0x1F) << 3);
    out[1] = static_cast<std::uint8_t>(((v >> 5) & 0x1F) << 3);
    out[2] = static_cast<std::uint8_t>(((v >> 10) & 0x1F) << 3);
  } else {
    std::memcpy(out, in, inBytes);
  }
}

bool decodeRaw(TgaReader& in, std::size_t pixelCount, std::size_t inBytes, std::size_t outBytes,
               std::uint8_t* out) {
  const std::uint8_t* src = in.take(pixelCount * inBytes);
  if (!src) return false;
  if (inBytes == outBytes) {
    std::memcpy(out, src, pixelCount * inBytes);
  } else {
    for (std::size_t i = 0; i < pixelCount; ++i)
      putPixel(src + i * inBytes, inBytes, out + i * outBytes);
  }
  return true;
}

// Packets run on across row ends; writing stops at the end of the picture even inside a packet.
bool decodeRunLength(TgaReader& in, std::size_t pixelCount, std::size_t inBytes,
                     std::size_t outBytes, std::uint8_t* out) {
  std::size_t done = 0;
  while (done < pixelCount) {
    const std::uint8_t* head = in.take(1);
    if (!head) return false;
    std::size_t count = (head[0] & 0x7Fu) + 1;
    if (count > pixelCount - done) count = pixelCount - done;
    if (head[0] & 0x80u) {
      const std::uint8_t* pixel = in.take(inBytes);
      if (!pixel) return false;
      std::uint8_t expanded[4];
      putPixel(pixel, inBytes, expanded);
      for (std::size_t i = 0; i < count; ++i, ++done)
        std::memcpy(out + done * outBytes, expanded, outBytes);
    } else {
      if (!decodeRaw(in, count, inBytes, outBytes, out + done * outBytes)) return false;
      done += count;
    }
  }
  return true;
}

TgaStatus decodeInto(const std::uint8_t* bytes, std::size_t size, TgaImage& image) {
  TgaReader in{bytes, bytes ? size : 0};
  const std::uint8_t* h = in.take(headerSize);
  if (!h) return TgaStatus::Malformed;
  const std::uint8_t idLength = h[0];
  image.colorMapType = h[1];
  image.imageType = h[2];
  image.colorMapLength = le16(h + 5);
  image.colorMapEntrySize = h[7];
  image.width = le16(h + 12);
  image.height = le16(h + 14);
  image.pixelDepth = h[16];
  if (!in.take(idLength)) return TgaStatus::Malformed;

  const std::uint8_t type = image.imageType;
  const bool mapped = type == 1 || type == 9;
  const bool grey = type == 3 || type == 11;
  const bool trueColour = type == 2 || type == 10;
  if (!mapped && !grey && !trueColour) return TgaStatus::Malformed;
  const bool runLength = type >= 9;

  if (mapped) {
    if (image.colorMapType != 1 || image.colorMapEntrySize != 24 || image.colorMapLength == 0) {
      return TgaStatus::Malformed;
    }
    const std::size_t paletteBytes = std::size_t{image.colorMapLength} * 3;
    const std::uint8_t* palette = in.take(paletteBytes);
    if (!palette) return TgaStatus::Malformed;
    image.palette.assign(palette, palette + paletteBytes);
  } else if (image.colorMapType == 1) {
    // A map that the pixels do not use still sits between the header and the pixels.
    const std::size_t entryBytes = (std::size_t{image.colorMapEntrySize} + 7) / 8;
    if (!in.take(std::size_t{image.colorMapLength} * entryBytes)) return TgaStatus::Malformed;
  }

  const std::uint8_t depth = image.pixelDepth;
  if (depth != 8 && depth != 16 && depth != 24 && depth != 32) return TgaStatus::UnsupportedDepth;
  if ((mapped || grey) != (depth == 8)) return TgaStatus::Malformed;

  if (image.width == 0 || image.height == 0 || image.width > maxTgaSide ||
      image.height > maxTgaSide) {
    return TgaStatus::Malformed;
  }
  const std::size_t pixelCount = std::size_t{image.width} * image.height;
  const std::size_t inBytes = depth / 8;
  const std::size_t outBytes = depth == 16 ? 3 : inBytes;
  // Refuse before allocating when the file cannot hold that many pixels: raw data needs every
  // byte, and one run packet covers at most 128 pixels.
  const std::size_t leastInput =
      runLength ? (pixelCount + 127) / 128 * (1 + inBytes) : pixelCount * inBytes;
  if (leastInput > in.left) return TgaStatus::Malformed;

  std::vector<std::uint8_t> decoded(pixelCount * outBytes);
  const bool complete = runLength
                            ? decodeRunLength(in, pixelCount, inBytes, outBytes, decoded.data())
                            : decodeRaw(in, pixelCount, inBytes, outBytes, decoded.data());
  if (!complete) return TgaStatus::Malformed;

  if (mapped) {
    std::vector<std::uint8_t> expanded(pixelCount * 3);
    for (std::size_t i = 0; i < pixelCount; ++i) {
      const std::size_t index = decoded[i];
      if (index >= image.colorMapLength) return TgaStatus::Malformed;
      std::memcpy(&expanded[i * 3], &image.palette[index * 3], 3);
    }
    decoded = std::move(expanded);
    image.palette.clear();
    image.palette.shrink_to_fit();
    image.pixelDepth = 24;
  } else if (depth == 16) {
    image.pixelDepth = 24;
  } else if (depth == 32) {
    for (std::size_t i = 0; i < pixelCount; ++i) std::swap(decoded[i * 4], decoded[i * 4 + 2]);
  }
  image.pixels = std::move(decoded);
  return TgaStatus::Ok;
}

}  // namespace

TgaStatus decodeTga(const std::uint8_t* bytes, std::size_t size, TgaImage& image) {
  image = TgaImage{};
  const TgaStatus status = decodeInto(bytes, size, image);
  if (status != TgaStatus::Ok) image = TgaImage{};
  return status;
}

bool loadTga(const char* name) {
  AssetBuffer entry;
  if (!entry.open(name)) {
    tgaImage = TgaImage{};
    return false;
  }
  return loadTgaEntry(entry);
}

bool loadTgaEntry(AssetBuffer& entry) {
  const TgaStatus status = decodeTga(entry.data, entry.size, tgaImage);
  entry.release();
  if (status == TgaStatus::UnsupportedDepth) showMessageBox("Unsupported image depth.", "TGA");
  return status == TgaStatus::Ok;
}
