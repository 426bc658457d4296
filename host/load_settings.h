#pragma once
// The process-wide settings record against the platform's store.
#include <string>

// The folder where the installation put data.sdd when the program runs installed, else the
// build's data folder.
std::string defaultDataFolder();

// Loads `settings` from the store.
void loadSettings();
// Stores `settings`; false when the store could not be written (it then holds what it had),
// with `problem`, when given, saying why in a sentence for the user.
bool saveSettings(std::string* problem = nullptr);
