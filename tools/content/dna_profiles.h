#pragma once
// Cross-sections of the DNA strand: twelve atoms of one base pair each, backbone atoms at the
// ends and the two bases between them.
#include <array>
#include <cstdint>
#include <vector>

#include "render/math.h"

constexpr int dnaProfileAtoms = 12;

struct DnaAtom {
  Vec3 offset;  // across the strand, second cross-section axis, along the strand
  Vec3 colour;
};

using DnaProfile = std::array<DnaAtom, dnaProfileAtoms>;

// Profile number 0 to 9: each a different base pair with its own propeller twist and buckle.
DnaProfile dnaProfile(int index);

// The 288-byte dna%d.dat entry.
std::vector<std::uint8_t> encodeDnaProfile(const DnaProfile& profile);
bool writeDnaProfile(const char* path, const DnaProfile& profile);

// Where the atoms of the first strand of a strand helix built from this profile stand, before
// the helix spins (the second strand is the same turned half round the vertical axis).
std::vector<Vec3> strandAtomPositions(const DnaProfile& profile);
