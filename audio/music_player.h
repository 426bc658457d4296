#pragma once
// The saver's music: the audio module (libbass.so, audio/module/audio_module_api.h) loaded at
// run time from the Path folder, and the archive entry "music.ogg" looping through it.
//
// - startAudio(window) loads the module from the Path setting followed by "/libbass.so" (plain
//   concatenation; an empty Path means the root folder), looks up its nine functions and opens
//   the output (device 1, 44100 Hz). Where the Path folder holds no file of that name, the
//   installed library folder is tried next (audioModuleFile below), so a Path of the user's
//   own with only a data.sdd in it still plays music. Only when the output opens is it
//   started, its volume kept in savedVolume and the Volume setting applied. Returns false,
//   with nothing left loaded, when the module cannot be loaded or lacks one of the functions;
//   the caller decides what that means (the saver run ends before drawing anything).
// - playMusic() reads "music.ogg" of data.sdd in the current directory into the player's
//   buffer and plays it in a loop. A missing entry or bytes the module cannot play leave the
//   run silent.
// - stopAudio() puts savedVolume back, stops and frees the output and unloads the module. A
//   volume that was never read is not "restored": after a failed output start the module's
//   volume stays as it was. Harmless when startAudio never ran or failed.
// - The module plays from the player's buffer: destroy the player only after stopAudio.
// - One thread makes every call; the module decodes on its own thread and nobody waits for it.
#include <cstdint>
#include <string>

#include "assets/asset_buffer.h"
#include "platform/window.h"

class MusicPlayer {
 public:
  virtual ~MusicPlayer() = default;
  void playMusic();

  AssetBuffer music;
};

bool startAudio(WindowHandle window);

// The module file startAudio loads: the one in pathFolder (Path, concatenated as above) when
// that name exists; otherwise the one in installedFolder when that exists; otherwise the
// pathFolder one again, whose load then fails as it would without the fallback. An empty
// installedFolder is no folder. A module that exists but cannot be loaded is never passed
// over for the other: what Path names wins. The installed folder is the module folder of an
// installed program, found from the program's own folder (none on Windows, where the
// installer puts the module into the Path folder).
std::string audioModuleFile(const std::string& pathFolder, const std::string& installedFolder);
// Pauses the output, or resumes it where it paused; harmless when startAudio never ran.
void pauseAudio(bool paused);
void stopAudio();

// The module's volume found when the output started (0 until then) and the playing stream
// (0 when there is none).
extern std::uint32_t savedVolume;
extern std::uint32_t musicStream;
