#pragma once
// Where the running program lies.
#include <string>

// The folder holding the program's executable; empty when it cannot be told.
std::string programFolder();
