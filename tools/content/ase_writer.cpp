#include "tools/content/ase_writer.h"

#include <cstdarg>
#include <cstdio>

namespace {

void appendf(std::string& out, const char* format, ...) {
  char line[256];
  va_list args;
  va_start(args, format);
  std::vsnprintf(line, sizeof line, format, args);
  va_end(args);
  out += line;
}

// Vertex list, face list and normals of one mesh block; `depth` is the tab count of the
// block's own keywords.
void appendMeshBody(std::string& out, const std::vector<Vec3>& positions,
                    const std::vector<std::uint32_t>& triangles, int depth, bool withFaces) {
  const std::string t(depth, '\t');
  const std::string t1(depth + 1, '\t');
  const std::string t2(depth + 2, '\t');
  const std::size_t faceCount = triangles.size() / 3;
  appendf(out, "%s*MESH_NUMVERTEX %zu\n%s*MESH_NUMFACES %zu\n", t.c_str(), positions.size(),
          t.c_str(), faceCount);
  appendf(out, "%s*MESH_VERTEX_LIST {\n", t.c_str());
  for (std::size_t i = 0; i < positions.size(); ++i) {
    appendf(out, "%s*MESH_VERTEX %zu\t%.5f\t%.5f\t%.5f\n", t1.c_str(), i, positions[i].x,
            positions[i].y, positions[i].z);
  }
  appendf(out, "%s}\n", t.c_str());
  if (withFaces) {
    appendf(out, "%s*MESH_FACE_LIST {\n", t.c_str());
    for (std::size_t f = 0; f < faceCount; ++f) {
      appendf(out, "%s*MESH_FACE %zu:    A: %u B: %u C: %u AB: 1 BC: 1 CA: 1\n", t1.c_str(), f,
              triangles[3 * f], triangles[3 * f + 1], triangles[3 * f + 2]);
    }
    appendf(out, "%s}\n", t.c_str());
  }
}

void appendNormals(std::string& out, const std::vector<Vec3>& positions,
                   const std::vector<std::uint32_t>& triangles, int depth) {
  const std::string t(depth, '\t');
  const std::string t1(depth + 1, '\t');
  const std::string t2(depth + 2, '\t');
  const std::vector<Vec3> normals = smoothNormals(positions, triangles);
  appendf(out, "%s*MESH_NORMALS {\n", t.c_str());
  for (std::size_t f = 0; f < triangles.size() / 3; ++f) {
    const Vec3 a = positions[triangles[3 * f]];
    const Vec3 n = cross(positions[triangles[3 * f + 1]] - a, positions[triangles[3 * f + 2]] - a);
    const Vec3 fn = length(n) > 0 ? normalize(n) : Vec3(0, 0, 1);
    appendf(out, "%s*MESH_FACENORMAL %zu\t%.5f\t%.5f\t%.5f\n", t1.c_str(), f, fn.x, fn.y, fn.z);
    for (int k = 0; k < 3; ++k) {
      const std::uint32_t v = triangles[3 * f + k];
      appendf(out, "%s*MESH_VERTEXNORMAL %u\t%.5f\t%.5f\t%.5f\n", t2.c_str(), v, normals[v].x,
              normals[v].y, normals[v].z);
    }
  }
  appendf(out, "%s}\n", t.c_str());
}

void appendHeader(std::string& out, const char* name) {
  appendf(out, "*3DSMAX_ASCIIEXPORT\t200\n*COMMENT \"Plasmora generated: %s\"\n", name);
  appendf(out, "*GEOMOBJECT {\n\t*NODE_NAME \"%s\"\n\t*NODE_TM {\n\t\t*NODE_NAME \"%s\"\n", name,
          name);
  out += "\t\t*TM_ROTAXIS 0.00000\t0.00000\t1.00000\n\t\t*TM_ROTANGLE 0.00000\n\t}\n";
}

}  // namespace

std::string staticAseText(const SurfaceMesh& mesh, const char* name) {
  std::string out;
  appendHeader(out, name);
  out += "\t*MESH {\n";
  appendMeshBody(out, mesh.positions, mesh.triangles, 2, true);
  const std::size_t faceCount = mesh.triangles.size() / 3;
  // One texture vertex per vertex: the texture faces repeat the vertex faces.
  appendf(out, "\t\t*MESH_NUMTVERTEX %zu\n\t\t*MESH_TVERTLIST {\n", mesh.positions.size());
  for (std::size_t i = 0; i < mesh.positions.size(); ++i) {
    appendf(out, "\t\t\t*MESH_TVERT %zu\t%.5f\t%.5f\t0.00000\n", i, mesh.uvs[2 * i],
            mesh.uvs[2 * i + 1]);
  }
  appendf(out, "\t\t}\n\t\t*MESH_NUMTVFACES %zu\n\t\t*MESH_TFACELIST {\n", faceCount);
  for (std::size_t f = 0; f < faceCount; ++f) {
    appendf(out, "\t\t\t*MESH_TFACE %zu\t%u\t%u\t%u\n", f, mesh.triangles[3 * f],
            mesh.triangles[3 * f + 1], mesh.triangles[3 * f + 2]);
  }
  out += "\t\t}\n";
  appendNormals(out, mesh.positions, mesh.triangles, 2);
  out += "\t}\n}\n";
  return out;
}

std::string animatedAseText(const std::vector<std::uint32_t>& triangles,
                            const std::array<std::vector<Vec3>, morphKeyCount>& keys,
                            const char* name) {
  std::string out;
  appendHeader(out, name);
  out += "\t*MESH {\n\t\t*TIMEVALUE 0\n";
  appendMeshBody(out, keys[0], triangles, 2, true);
  appendNormals(out, keys[0], triangles, 2);
  out += "\t}\n\t*MESH_ANIMATION {\n";
  for (int k = 0; k < morphKeyCount; ++k) {
    appendf(out, "\t\t*MESH {\n\t\t\t*TIMEVALUE %d\n", k * 160);
    appendMeshBody(out, keys[k], triangles, 3, false);
    appendNormals(out, keys[k], triangles, 3);
    out += "\t\t}\n";
  }
  out += "\t}\n}\n";
  return out;
}
