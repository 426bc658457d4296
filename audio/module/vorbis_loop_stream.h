#pragma once
// An Ogg Vorbis stream decoded from bytes in memory into 16-bit stereo, optionally looping.
//
// The bytes are read in place: they must outlive the stream. Opening checks the headers (and,
// the source being seekable, walks the whole stream once); bytes that are not Ogg Vorbis fail
// cleanly. Mono is doubled to both channels; of more channels the first two are kept. A decode
// error after opening ends the stream: it then renders silence. When looping, the end of the
// stream is followed by its first sample within the same render call, so a loop has no gap.
// Not thread-safe: the owner serialises render() against everything else.
#include <vorbis/vorbisfile.h>

#include <cstddef>
#include <cstdint>

class VorbisLoopStream {
 public:
  VorbisLoopStream() = default;
  virtual ~VorbisLoopStream();
  VorbisLoopStream(const VorbisLoopStream&) = delete;
  VorbisLoopStream& operator=(const VorbisLoopStream&) = delete;

  bool open(const std::uint8_t* bytes, std::size_t size);
  // Sample rate of the first logical stream; 0 when not open.
  long rate() const { return rate_; }

  // Back to the first sample; false (and the stream ended) when it cannot seek.
  bool restart();

  // Fills `frames` stereo frames (interleaved left, right), each sample scaled by
  // volume / 100 (truncated toward zero); once the stream has ended, the rest is silence.
  // Returns the frames that came from the stream.
  std::size_t render(std::int16_t* out, std::size_t frames, int volume);

  bool looping = false;
  bool ended() const { return ended_; }

  // The memory the decoder reads from; public for the decoder's callbacks.
  struct Source {
    const std::uint8_t* bytes = nullptr;
    std::size_t size = 0;
    std::size_t position = 0;
  };

 private:
  Source source_;
  OggVorbis_File file_{};
  bool open_ = false;
  bool ended_ = true;
  long rate_ = 0;
  // Decoded samples not yet rendered (all channels of each frame).
  std::int16_t pending_[4096];
  std::size_t pendingCount_ = 0;  // samples
  std::size_t pendingNext_ = 0;
  int pendingChannels_ = 0;
  bool refill();
};
