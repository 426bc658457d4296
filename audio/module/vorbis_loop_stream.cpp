#include "audio/module/vorbis_loop_stream.h"

#include <algorithm>
#include <bit>
#include <cstdio>
#include <cstring>

namespace {

using Source = VorbisLoopStream::Source;

std::size_t readSource(void* destination, std::size_t size, std::size_t count, void* data) {
  auto* source = static_cast<Source*>(data);
  if (size == 0) return 0;
  std::size_t n = std::min(count, (source->size - source->position) / size);
  if (n > 0) std::memcpy(destination, source->bytes + source->position, n * size);
  source->position += n * size;
  return n;
}

int seekSource(void* data, ogg_int64_t offset, int whence) {
  auto* source = static_cast<Source*>(data);
  std::size_t base = 0;
  if (whence == SEEK_CUR)
    base = source->position;
  else if (whence == SEEK_END)
    base = source->size;
  else if (whence != SEEK_SET)
    return -1;
  // Never before the first byte or past the last: the decoder then sees a failed seek.
  if (offset < -static_cast<ogg_int64_t>(base) ||
      (offset > 0 && static_cast<std::uint64_t>(offset) > source->size - base))
    return -1;
  source->position = static_cast<std::size_t>(static_cast<ogg_int64_t>(base) + offset);
  return 0;
}

long tellSource(void* data) { return static_cast<long>(static_cast<Source*>(data)->position); }

std::int16_t scaled(std::int16_t sample, int volume) {
  return static_cast<std::int16_t>(sample * volume / 100);
}

}  // namespace

VorbisLoopStream::~VorbisLoopStream() {
  if (open_) ov_clear(&file_);
}

bool VorbisLoopStream::open(const std::uint8_t* bytes, std::size_t size) {
  if (open_) ov_clear(&file_);
  open_ = false;
  ended_ = true;
  rate_ = 0;
  pendingCount_ = pendingNext_ = 0;
  if (bytes == nullptr) return false;
  source_ = Source{bytes, size, 0};
  const ov_callbacks callbacks{readSource, seekSource, nullptr, tellSource};
  // A failed open leaves the decoder cleared.
  if (ov_open_callbacks(&source_, &file_, nullptr, 0, callbacks) != 0) return false;
  open_ = true;
  const vorbis_info* info = ov_info(&file_, 0);
  if (info == nullptr || info->channels <= 0 || info->rate <= 0) {
    ov_clear(&file_);
    open_ = false;
    return false;
  }
  rate_ = info->rate;
  ended_ = false;
  return true;
}

bool VorbisLoopStream::restart() {
  pendingCount_ = pendingNext_ = 0;
  if (!open_) return false;
  // A raw seek to the start resets the decoder as a fresh open does, so the second pass
  // decodes exactly the samples of the first.
  ended_ = ov_raw_seek(&file_, 0) != 0;
  return !ended_;
}

bool VorbisLoopStream::refill() {
  pendingCount_ = pendingNext_ = 0;
  bool restarted = false;  // a stream with no samples at all must not restart for ever
  while (!ended_) {
    int link = 0;
    long got = ov_read(&file_, reinterpret_cast<char*>(pending_), sizeof pending_,
                       std::endian::native == std::endian::big ? 1 : 0, 2, 1, &link);
    if (got > 0) {
      const vorbis_info* info = ov_info(&file_, link);
      if (info == nullptr || info->channels <= 0) break;
      pendingChannels_ = info->channels;
      std::size_t frames = static_cast<std::size_t>(got) / 2 / info->channels;
      pendingCount_ = frames * info->channels;
      if (frames > 0) return true;
    } else if (got == OV_HOLE) {
      // A gap in the data: play on with what follows it.
    } else if (got == 0 && looping && !restarted) {
      restarted = true;
      restart();
    } else {
      break;
    }
  }
  ended_ = true;
  return false;
}

std::size_t VorbisLoopStream::render(std::int16_t* out, std::size_t frames, int volume) {
  std::size_t done = 0;
  while (done < frames && !ended_) {
    if (pendingNext_ >= pendingCount_ && !refill()) break;
    const std::size_t channels = static_cast<std::size_t>(pendingChannels_);
    std::size_t n = std::min((pendingCount_ - pendingNext_) / channels, frames - done);
    for (std::size_t i = 0; i < n; ++i, ++done, pendingNext_ += channels) {
      const std::int16_t left = pending_[pendingNext_];
      const std::int16_t right = channels > 1 ? pending_[pendingNext_ + 1] : left;
      out[2 * done] = scaled(left, volume);
      out[2 * done + 1] = scaled(right, volume);
    }
  }
  std::fill(out + 2 * done, out + 2 * frames, std::int16_t{0});
  return done;
}
