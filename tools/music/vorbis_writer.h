#pragma once

#include <string>
#include <vector>

#include "tools/music/music_synth.h"

// Encodes a stereo track as an Ogg Vorbis stream (variable bit rate at the given quality,
// -0.1..1). The stream's serial number is fixed so that the bytes depend only on the sound.
// Empty with `error` set on failure.
std::vector<unsigned char> encodeVorbis(const StereoTrack& track, float quality,
                                        std::string& error);
