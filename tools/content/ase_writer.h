#pragma once
// Writes generated geometry as ASCII scene exports, laid out as a modelling package exports
// them (one tab per nesting level), so that generated meshes go through the same importers as
// modelled art.
#include <array>
#include <string>
#include <vector>

#include "assets/tools/morph_shapes.h"
#include "tools/content/surface_mesh.h"

// A static export with smooth normals and the node rotation left at zero.
std::string staticAseText(const SurfaceMesh& mesh, const char* name);

// An animated export: the base mesh (key 0) and ten key shapes sharing its triangles, each
// with its own smooth normals.
std::string animatedAseText(const std::vector<std::uint32_t>& triangles,
                            const std::array<std::vector<Vec3>, morphKeyCount>& keys,
                            const char* name);
