#pragma once
// Where the X11 settings store keeps its file, and a seam for tests of an interrupted save.

// $XDG_CONFIG_HOME/quillmoor/plasmora.conf, with ~/.config in place of an unset or relative
// $XDG_CONFIG_HOME; empty when no home folder is known.
#include <string>

std::string settingsFilePath();

// Called, when set, after the new file has been written and flushed and before it replaces
// the old one.
extern void (*beforeSettingsRename)(const char* temporaryPath);
