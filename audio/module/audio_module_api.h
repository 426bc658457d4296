#pragma once
// The nine functions of the audio module, libbass.so (bass.dll on Windows), as it exports them
// (C linkage) and as the music player calls them through its table of pointers.
//
// Contract of the module:
// - One output device at a time, opened by BASS_Init on the system's default output (device
//   number 1; any other number fails) at the given rate, 16-bit stereo. The window argument is
//   accepted and not used: the output is not bound to a window here. A device that cannot be
//   opened, or a second BASS_Init without BASS_Free, returns 0.
// - Streams play Ogg Vorbis from memory only (first argument of BASS_StreamCreateFile set); the
//   caller's bytes are read in place and must stay valid until BASS_Free. A stream must have
//   the device's rate; mono plays on both channels, from more channels the first two play.
//   Data that is not Ogg Vorbis gives handle 0; a decode error in the middle ends that stream
//   in silence. Streams need an initialised device; BASS_Free releases them all.
// - BASS_StreamPlay with flag 4 loops: at the end the decoder restarts inside the same
//   buffer fill, so the first sample follows the last without a gap. A flush (non-zero
//   second argument) restarts the stream from its beginning.
// - The volume is the module's own, in percent (0 to 100, 100 leaves the samples as decoded),
//   applied to every sample played. It can be read and set whether or not a device is open
//   and lasts as long as the module is loaded; it starts at 100. Larger values fail.
// - BASS_Start and BASS_Stop resume and pause the output (BASS_Init starts it).
// - Decoding runs on the output's own thread; no call waits for it beyond a buffer fill.
// - BASS_ErrorGetCode reports why the last call failed (0 when it did not).
#include <cstdint>

// Only the module's own build exports the functions; the player sees plain declarations.
#if defined(PLASMORA_AUDIO_MODULE) && defined(_WIN32)
#define AUDIO_MODULE_EXPORT __declspec(dllexport)
#elif defined(PLASMORA_AUDIO_MODULE)
#define AUDIO_MODULE_EXPORT __attribute__((visibility("default")))
#else
#define AUDIO_MODULE_EXPORT
#endif

extern "C" {

using AudioBool = int;
using AudioHandle = std::uint32_t;

// Flag of BASS_StreamPlay: start again from the beginning at the end.
constexpr std::uint32_t audioLoopFlag = 4;

// Codes of BASS_ErrorGetCode.
enum AudioError : int {
  AudioOk = 0,
  AudioErrorDevice = 1,   // no such device, or it cannot be opened
  AudioErrorInit = 2,     // the call needs BASS_Init first
  AudioErrorAlready = 3,  // BASS_Init twice
  AudioErrorHandle = 4,   // no such stream
  AudioErrorFormat = 5,   // not a playable Ogg Vorbis stream
  AudioErrorValue = 6,    // an argument out of range
};

using AudioErrorGetCodeFunction = int();
using AudioInitFunction = AudioBool(int device, std::uint32_t rate, std::uint32_t flags,
                                    void* window, const void* classId);
using AudioFreeFunction = AudioBool();
using AudioStreamCreateFileFunction = AudioHandle(AudioBool fromMemory, const void* file,
                                                  std::uint64_t offset, std::uint64_t length,
                                                  std::uint32_t flags);
using AudioStreamPlayFunction = AudioBool(AudioHandle stream, AudioBool flush, std::uint32_t flags);
using AudioSetVolumeFunction = AudioBool(std::uint32_t volume);
using AudioStartFunction = AudioBool();
using AudioStopFunction = AudioBool();
// The volume in percent; -1 on failure.
using AudioGetVolumeFunction = int();

AUDIO_MODULE_EXPORT AudioErrorGetCodeFunction BASS_ErrorGetCode;
AUDIO_MODULE_EXPORT AudioInitFunction BASS_Init;
AUDIO_MODULE_EXPORT AudioFreeFunction BASS_Free;
AUDIO_MODULE_EXPORT AudioStreamCreateFileFunction BASS_StreamCreateFile;
AUDIO_MODULE_EXPORT AudioStreamPlayFunction BASS_StreamPlay;
AUDIO_MODULE_EXPORT AudioSetVolumeFunction BASS_SetVolume;
AUDIO_MODULE_EXPORT AudioStartFunction BASS_Start;
AUDIO_MODULE_EXPORT AudioStopFunction BASS_Stop;
AUDIO_MODULE_EXPORT AudioGetVolumeFunction BASS_GetVolume;
}
