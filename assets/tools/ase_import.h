#pragma once
// Import of ASCII scene exports (ASE) into the two mesh layouts. Keywords are matched at the
// start of a line together with their leading tabs, and each step scans forward for its
// keyword from where the previous one stopped.
#include <cstddef>
#include <string>

#include "assets/tools/mesh_encoding.h"
#include "assets/tools/morph_shapes.h"

// A static export: positions, faces, texture vertices and faces, and the corner normals
// turned by the node's rotation (axis and angle in radians). False, with the mesh left in an
// unspecified state, when a keyword is missing, a line does not carry its numbers, a count
// exceeds what the text can hold, an index is out of range, or the texture-face count differs
// from the face count.
bool parseStaticAse(const char* text, std::size_t size, MeshData& mesh);

// An animated export: faces, base normals and ten key shapes; tangents, the initial shape and
// its texture coordinates are derived. False on the same kinds of damage.
bool parseAnimatedAse(const char* text, std::size_t size, MorphShapes& shapes);

// The source path with its last three characters replaced by "dat"; empty when too short.
std::string datPathFor(const std::string& sourcePath);

// Reads the source file, parses it and writes the .dat beside it. False when the source cannot
// be read or parsed (nothing is written then) or the .dat cannot be written.
bool importAse(const char* sourcePath, MeshData& mesh);

// Reads and parses an animated source file.
bool importAnimatedAse(const char* sourcePath, MorphShapes& shapes);

class MeshModel;
class MorphMesh;

// The same imports into the saver's own mesh objects, which need a current GL context: the
// static import also compiles the model's display list exactly as loading the .dat would, the
// animated one builds the morph mesh's arrays and buffer object. False when the import fails
// or no display list can be had.
bool importAse(MeshModel& model, const char* sourcePath);
bool importAnimatedAse(MorphMesh& mesh, const char* sourcePath);

// The .trk layout of a loaded morph mesh.
bool writeTrk(const char* path, const MorphMesh& mesh);
