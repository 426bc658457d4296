#include "assets/jpeg_image.h"

#include <csetjmp>
#include <cstdio>
#include <memory>
#include <string>

#include <jerror.h>
#include <jpeglib.h>

#include "assets/asset_buffer.h"
#include "platform/message_box.h"

namespace {

// Progressive files may carry any number of scans; a hostile one could keep the decoder busy
// for minutes, so a decode that needs more than this is abandoned.
constexpr int maxScans = 500;

// Everything one decode touches lives here, on the heap, so that a jump back out of the
// library skips no destructor and leaves no local in an indeterminate state.
struct JpegSession {
  jpeg_decompress_struct cinfo{};
  jpeg_error_mgr err{};
  jpeg_source_mgr src{};
  jpeg_progress_mgr progress{};
  void (*standardFormat)(j_common_ptr, char*) = nullptr;
  const std::uint8_t* bytes = nullptr;
  std::size_t size = 0;
  std::vector<std::uint8_t> pixels;
  std::jmp_buf abandon;
};

JpegSession& sessionOf(j_common_ptr cinfo) {
  return *static_cast<JpegSession*>(cinfo->client_data);
}

void formatMessage(j_common_ptr cinfo, char* buffer) {
  sessionOf(cinfo).standardFormat(cinfo, buffer);
}

// Messages of the library never reach the user.
void outputMessage(j_common_ptr cinfo) {
  char buffer[JMSG_LENGTH_MAX];
  cinfo->err->format_message(cinfo, buffer);
}

void emitMessage(j_common_ptr cinfo, int level) {
  jpeg_error_mgr* err = cinfo->err;
  if (level < 0) {
    if (err->num_warnings == 0 || err->trace_level >= 3) err->output_message(cinfo);
    err->num_warnings++;
  } else if (err->trace_level >= level) {
    err->output_message(cinfo);
  }
}

// The library cannot continue after a fatal error, so the decode is abandoned here.
[[noreturn]] void errorExit(j_common_ptr cinfo) {
  cinfo->err->output_message(cinfo);
  std::longjmp(sessionOf(cinfo).abandon, 1);
}

void progressMonitor(j_common_ptr cinfo) {
  auto* d = reinterpret_cast<j_decompress_ptr>(cinfo);
  if (d->input_scan_number > maxScans) std::longjmp(sessionOf(cinfo).abandon, 1);
}

// The whole entry is offered at once; past its end the source supplies an end-of-image
// marker, so a truncated file ends cleanly and the library never reads outside the entry.
void initSource(j_decompress_ptr cinfo) {
  JpegSession& s = sessionOf(reinterpret_cast<j_common_ptr>(cinfo));
  s.src.next_input_byte = s.bytes;
  s.src.bytes_in_buffer = s.size;
}

boolean fillInputBuffer(j_decompress_ptr cinfo) {
  static const JOCTET endOfImage[2] = {0xFF, JPEG_EOI};
  WARNMS(cinfo, JWRN_JPEG_EOF);
  cinfo->src->next_input_byte = endOfImage;
  cinfo->src->bytes_in_buffer = sizeof endOfImage;
  return TRUE;
}

void skipInputData(j_decompress_ptr cinfo, long count) {
  if (count <= 0) return;
  jpeg_source_mgr* src = cinfo->src;
  const std::size_t step = static_cast<unsigned long>(count) < src->bytes_in_buffer
                               ? static_cast<std::size_t>(count)
                               : src->bytes_in_buffer;
  src->next_input_byte += step;
  src->bytes_in_buffer -= step;
}

void termSource(j_decompress_ptr) {}

bool decodeSession(JpegSession& s, DecodedImage& image) {
  jpeg_decompress_struct& cinfo = s.cinfo;
  if (jpeg_read_header(&cinfo, TRUE) != JPEG_HEADER_OK) return false;
  jpeg_calc_output_dimensions(&cinfo);
  const std::uint64_t width = cinfo.output_width;
  const std::uint64_t height = cinfo.output_height;
  const std::uint64_t components = static_cast<std::uint64_t>(cinfo.output_components);
  if (width == 0 || height == 0 || components == 0 || width > maxJpegSide || height > maxJpegSide ||
      width * height > maxJpegPixels) {
    return false;
  }
  if (!jpeg_start_decompress(&cinfo)) return false;
  // Sized from what the library actually delivers, not from an assumed three components.
  const std::size_t stride = static_cast<std::size_t>(cinfo.output_width) * cinfo.output_components;
  const std::size_t rows = cinfo.output_height;
  s.pixels.assign(stride * rows, 0);

  while (cinfo.output_scanline < cinfo.output_height) {
    JSAMPROW targets[8];
    const std::size_t first = cinfo.output_scanline;
    std::size_t want = rows - first;
    if (want > 8) want = 8;
    for (std::size_t i = 0; i < want; ++i)
      targets[i] = &s.pixels[(rows - 1 - (first + i)) * stride];
    // With this source the library never suspends; a zero count would otherwise spin forever.
    if (jpeg_read_scanlines(&cinfo, targets, static_cast<JDIMENSION>(want)) == 0) return false;
  }
  image.components = cinfo.output_components;
  image.rowStride = static_cast<std::int32_t>(stride);
  image.width = static_cast<std::int32_t>(cinfo.output_width);
  image.height = static_cast<std::int32_t>(cinfo.output_height);
  return true;
}

}  // namespace

bool decodeJpeg(const std::uint8_t* bytes, std::size_t size, DecodedImage& image) {
  image = DecodedImage{};
  if (!bytes || size == 0) return false;
  auto session = std::make_unique<JpegSession>();
  JpegSession* s = session.get();
  s->bytes = bytes;
  s->size = size;
  s->cinfo.err = jpeg_std_error(&s->err);
  s->standardFormat = s->err.format_message;
  s->err.error_exit = errorExit;
  s->err.emit_message = emitMessage;
  s->err.output_message = outputMessage;
  s->err.format_message = formatMessage;
  // Set before creation: creating the object keeps client_data, and may already fail.
  s->cinfo.client_data = s;

  if (setjmp(s->abandon)) {
    jpeg_destroy_decompress(&s->cinfo);
    image = DecodedImage{};
    return false;
  }
  jpeg_create_decompress(&s->cinfo);
  s->src.init_source = initSource;
  s->src.fill_input_buffer = fillInputBuffer;
  s->src.skip_input_data = skipInputData;
  s->src.resync_to_restart = jpeg_resync_to_restart;
  s->src.term_source = termSource;
  s->cinfo.src = &s->src;
  s->progress.progress_monitor = progressMonitor;
  s->cinfo.progress = &s->progress;

  const bool decoded = decodeSession(*s, image);
  jpeg_destroy_decompress(&s->cinfo);
  if (!decoded) {
    image = DecodedImage{};
    return false;
  }
  image.pixels = std::move(s->pixels);
  return true;
}

namespace {

void reportJpegFailure(const char* name) {
  std::string text = "ARCH:Can't load JPG file: ";
  text += name ? name : "";
  showMessageBox(text.c_str(), "Error");
}

}  // namespace

bool loadJpeg(const char* name, DecodedImage& image) {
  AssetBuffer entry;
  if (!entry.open(name)) {
    image = DecodedImage{};
    reportJpegFailure(name);
    return false;
  }
  return loadJpegEntry(entry, name, image);
}

bool loadJpegEntry(AssetBuffer& entry, const char* name, DecodedImage& image) {
  const bool ok = decodeJpeg(entry.data, entry.size, image);
  entry.release();
  if (!ok) reportJpegFailure(name);
  return ok;
}
