#pragma once
// The process's current directory.

// False, leaving the current directory as it was, when the folder cannot be entered.
bool setCurrentDirectory(const char* path);
