#pragma once
// "--help" and "--version": answered on standard output before any switch reader sees the
// line. The saver's reader would take "--help" for a full-screen run (any letter but c, p
// and t starts one), which grabs the keyboard of someone who only asked how to use it.
#include <cstdio>
#include <string>

enum class InformationRequest { None, Help, Version };

// An argument that is exactly "--help" asks for the usage, else one that is exactly
// "--version" for the version; anything else is no such request.
InformationRequest readInformationRequest(int argc, const char* const* argv);

// The usage: the saver's switches, the hack options, and where the settings are kept
// (`settingsLocation`).
void printUsage(std::FILE* out, const std::string& settingsLocation);

void printVersion(std::FILE* out);
