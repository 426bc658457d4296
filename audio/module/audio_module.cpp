// The audio module: one SDL output device fed by the Vorbis streams that play on it.
#include <SDL.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <vector>

#include "audio/module/audio_module_api.h"
#include "audio/module/vorbis_loop_stream.h"

namespace {

struct Stream {
  VorbisLoopStream decoder;
  bool playing = false;
};

// Frames each stream renders at a time before they are mixed.
constexpr std::size_t mixFrames = 1024;
// Enough for any caller; stops a runaway one from growing the table without end.
constexpr std::size_t maxStreams = 256;

// Changed by the calling thread only while the output thread is locked out (the device lock,
// or the device closed); read by the output thread under that lock.
struct Output {
  SDL_AudioDeviceID device = 0;
  int rate = 0;
  std::vector<std::unique_ptr<Stream>> streams;  // handle = index + 1
  std::int16_t scratch[2 * mixFrames];
};
Output output;

// Read on every fill; set at any time.
std::atomic<int> volume{100};
// Why the last call failed: calls come from one thread.
int lastError = AudioOk;

AudioBool fail(AudioError code) {
  lastError = code;
  return 0;
}
AudioBool succeed() {
  lastError = AudioOk;
  return 1;
}

// Runs on SDL's output thread with the device locked.
void fill(void*, Uint8* bytes, int length) {
  auto* out = reinterpret_cast<std::int16_t*>(bytes);
  const std::size_t frames = static_cast<std::size_t>(length) / (2 * sizeof(std::int16_t));
  std::fill(out, out + 2 * frames, std::int16_t{0});
  const int level = volume.load(std::memory_order_relaxed);
  for (const auto& stream : output.streams) {
    if (!stream->playing) continue;
    for (std::size_t at = 0; at < frames; at += mixFrames) {
      const std::size_t n = std::min(mixFrames, frames - at);
      stream->decoder.render(output.scratch, n, level);
      for (std::size_t i = 0; i < 2 * n; ++i) {
        int sum = out[2 * at + i] + output.scratch[i];
        out[2 * at + i] = static_cast<std::int16_t>(std::clamp(sum, -32768, 32767));
      }
    }
  }
}

Stream* streamOf(AudioHandle handle) {
  if (handle == 0 || handle > output.streams.size()) return nullptr;
  return output.streams[handle - 1].get();
}

}  // namespace

extern "C" {

int BASS_ErrorGetCode() { return lastError; }

AudioBool BASS_Init(int device, std::uint32_t rate, std::uint32_t, void*, const void*) {
  if (output.device != 0) return fail(AudioErrorAlready);
  if (device != 1) return fail(AudioErrorDevice);
  if (rate < 8000 || rate > 192000) return fail(AudioErrorValue);
  // The program that loads the module keeps its own signal handling.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return fail(AudioErrorDevice);
  SDL_AudioSpec wanted{};
  wanted.freq = static_cast<int>(rate);
  wanted.format = AUDIO_S16SYS;
  wanted.channels = 2;
  wanted.samples = 2048;
  wanted.callback = fill;
  SDL_AudioSpec obtained{};
  // No changes allowed: SDL converts to whatever the hardware takes.
  SDL_AudioDeviceID opened = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
  if (opened == 0) {
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return fail(AudioErrorDevice);
  }
  output.device = opened;
  output.rate = static_cast<int>(rate);
  SDL_PauseAudioDevice(opened, 0);
  return succeed();
}

AudioBool BASS_Free() {
  if (output.device == 0) return fail(AudioErrorInit);
  // Returns once the output thread has finished its last fill.
  SDL_CloseAudioDevice(output.device);
  output.device = 0;
  output.streams.clear();
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
  return succeed();
}

AudioHandle BASS_StreamCreateFile(AudioBool fromMemory, const void* file, std::uint64_t offset,
                                  std::uint64_t length, std::uint32_t) {
  if (output.device == 0) return fail(AudioErrorInit);
  if (!fromMemory || file == nullptr || length > SIZE_MAX || offset > SIZE_MAX - length)
    return fail(AudioErrorValue);
  if (output.streams.size() >= maxStreams) return fail(AudioErrorValue);
  auto stream = std::make_unique<Stream>();
  const auto* bytes = static_cast<const std::uint8_t*>(file) + offset;
  if (!stream->decoder.open(bytes, static_cast<std::size_t>(length)) ||
      stream->decoder.rate() != output.rate)
    return fail(AudioErrorFormat);
  SDL_LockAudioDevice(output.device);
  output.streams.push_back(std::move(stream));
  const auto handle = static_cast<AudioHandle>(output.streams.size());
  SDL_UnlockAudioDevice(output.device);
  succeed();
  return handle;
}

AudioBool BASS_StreamPlay(AudioHandle handle, AudioBool flush, std::uint32_t flags) {
  if (output.device == 0) return fail(AudioErrorInit);
  Stream* stream = streamOf(handle);
  if (stream == nullptr) return fail(AudioErrorHandle);
  SDL_LockAudioDevice(output.device);
  stream->decoder.looping = (flags & audioLoopFlag) != 0;
  if (flush) stream->decoder.restart();
  stream->playing = true;
  SDL_UnlockAudioDevice(output.device);
  return succeed();
}

AudioBool BASS_SetVolume(std::uint32_t percent) {
  if (percent > 100) return fail(AudioErrorValue);
  volume.store(static_cast<int>(percent), std::memory_order_relaxed);
  return succeed();
}

int BASS_GetVolume() {
  lastError = AudioOk;
  return volume.load(std::memory_order_relaxed);
}

AudioBool BASS_Start() {
  if (output.device == 0) return fail(AudioErrorInit);
  SDL_PauseAudioDevice(output.device, 0);
  return succeed();
}

AudioBool BASS_Stop() {
  if (output.device == 0) return fail(AudioErrorInit);
  SDL_PauseAudioDevice(output.device, 1);
  return succeed();
}

}  // extern "C"
