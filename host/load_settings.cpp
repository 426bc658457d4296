#include <filesystem>
#include <system_error>

#include "host/load_settings.h"
#include "platform/display_mode.h"
#include "platform/program_location.h"
#include "platform/settings_store.h"
#include "settings/settings.h"

std::string defaultDataFolder() {
  std::string folder = programFolder();
  if (!folder.empty()) {
    std::filesystem::path installed = std::filesystem::path(folder) / PLASMORA_INSTALLED_DATA_DIR;
    std::error_code error;
    if (std::filesystem::is_regular_file(installed / "data.sdd", error))
      return std::filesystem::weakly_canonical(installed, error).string();
  }
  return PLASMORA_DATA_DIR;
}

void loadSettings() {
  DisplayMode desktop;
  bool haveDesktop = currentDisplayMode(desktop);
  applyStoredValues(settings, readStoredValues(), haveDesktop ? &desktop : nullptr,
                    defaultDataFolder());
}

bool saveSettings(std::string* problem) {
  return writeStoredValues(storedValuesOf(settings), problem);
}
