#include "audio/music_player.h"

#include <filesystem>
#include <string>

#include "audio/module/audio_module_api.h"
#include "platform/program_location.h"
#include "platform/shared_library.h"
#include "settings/settings.h"

std::uint32_t savedVolume = 0;
std::uint32_t musicStream = 0;

namespace {

#ifdef _WIN32
const char* const libraryFile = "\\bass.dll";
#else
const char* const libraryFile = "/libbass.so";
#endif

// The module's functions, all found or none.
struct AudioModuleTable {
  AudioErrorGetCodeFunction* errorGetCode;
  AudioInitFunction* init;
  AudioFreeFunction* free;
  AudioStreamCreateFileFunction* streamCreateFile;
  AudioStreamPlayFunction* streamPlay;
  AudioSetVolumeFunction* setVolume;
  AudioStartFunction* start;
  AudioStopFunction* stop;
  AudioGetVolumeFunction* getVolume;
};

bool fileExists(const std::string& path) {
  std::error_code error;
  return std::filesystem::exists(path, error);
}

// Where an installed program's module lies, from the program's own folder; empty when the
// build names no such folder or the program's folder cannot be told.
std::string installedModuleFolder() {
#ifdef PLASMORA_INSTALLED_MODULE_DIR
  const std::string folder = programFolder();
  if (!folder.empty()) return folder + "/" PLASMORA_INSTALLED_MODULE_DIR;
#endif
  return {};
}

SharedLibrary library = nullptr;
AudioModuleTable audio{};
bool volumeRead = false;

template <class Function>
bool find(const char* name, Function*& slot) {
  slot = reinterpret_cast<Function*>(sharedLibrarySymbol(library, name));
  return slot != nullptr;
}

// The one place the table is filled, in the order the names are looked up.
bool resolveModule() {
  bool complete = find("BASS_ErrorGetCode", audio.errorGetCode) && find("BASS_Init", audio.init) &&
                  find("BASS_Free", audio.free) &&
                  find("BASS_StreamCreateFile", audio.streamCreateFile) &&
                  find("BASS_StreamPlay", audio.streamPlay) &&
                  find("BASS_SetVolume", audio.setVolume) && find("BASS_Start", audio.start) &&
                  find("BASS_Stop", audio.stop) && find("BASS_GetVolume", audio.getVolume);
  if (!complete) audio = AudioModuleTable{};
  return complete;
}

void unloadModule() {
  freeSharedLibrary(library);
  library = nullptr;
  audio = AudioModuleTable{};
  musicStream = 0;
  volumeRead = false;
}

}  // namespace

std::string audioModuleFile(const std::string& pathFolder, const std::string& installedFolder) {
  const std::string inPath = pathFolder + libraryFile;
  if (fileExists(inPath) || installedFolder.empty()) return inPath;
  const std::string installed = installedFolder + libraryFile;
  return fileExists(installed) ? installed : inPath;
}

bool startAudio(WindowHandle window) {
  if (library != nullptr) return true;
  const std::string path = audioModuleFile(settings.Path, installedModuleFolder());
  library = loadSharedLibrary(path.c_str());
  if (library == nullptr) return false;
  // A library of that name without all nine functions is not one we can play through.
  if (!resolveModule()) {
    unloadModule();
    return false;
  }
  if (audio.init(1, 44100, 0, reinterpret_cast<void*>(window), nullptr)) {
    audio.start();
    const int found = audio.getVolume();
    volumeRead = found >= 0;
    if (volumeRead) savedVolume = static_cast<std::uint32_t>(found);
    audio.setVolume(static_cast<std::uint32_t>(settings.Volume));
  }
  return true;
}

void MusicPlayer::playMusic() {
  // Also keeps a playing stream's bytes from being replaced under it.
  if (library == nullptr || musicStream != 0) return;
  music.release();  // nothing plays from it yet
  if (!music.open("music.ogg")) return;
  musicStream = audio.streamCreateFile(1, music.data, 0, music.size, 0);
  if (musicStream != 0) audio.streamPlay(musicStream, 0, audioLoopFlag);
}

void pauseAudio(bool paused) {
  if (library == nullptr) return;
  if (paused)
    audio.stop();
  else
    audio.start();
}

void stopAudio() {
  if (library == nullptr) return;
  if (volumeRead) audio.setVolume(savedVolume);
  audio.stop();
  audio.free();
  unloadModule();
}
