#pragma once
// The binary entry layouts of the two mesh kinds, written from the tools' side.
#include <cstdint>
#include <vector>

#include "assets/mesh_model.h"
#include "assets/tools/morph_shapes.h"

// The .dat bytes: V, F, T, then positions, faces, texture faces, texture vertices, normals.
std::vector<std::uint8_t> encodeDat(const MeshData& mesh);
bool writeDat(const char* path, const MeshData& mesh);
