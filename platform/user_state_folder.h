#pragma once
// The folder for this user's small run-time files (the owner lock, the display record):
// $XDG_RUNTIME_DIR/plasmora (private to the user, emptied at log-out), else the cache
// folder's plasmora/. Made (mode 0700) when missing; empty when no base folder is known.
// On Windows: %LOCALAPPDATA%\Plasmora (the user's own local application data).
#include <string>

std::string userStateFolder();
