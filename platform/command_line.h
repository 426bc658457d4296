#pragma once
// The command line of the process as one text, the way the saver's switches are read:
// the program name (in double quotes when it holds a space) and the arguments, joined by
// single spaces and otherwise unchanged.
#include <string>

std::string processCommandLine(int argc, char** argv);
