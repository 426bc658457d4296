#include "assets/tools/ase_import.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "render/math.h"

namespace {

// Lines of the export, at most 127 characters each; the rest of a longer line is dropped.
class AseLines {
 public:
  AseLines(const char* text, std::size_t size) : text_(text), size_(size) {}

  // Reads lines until one starts with the keyword (tabs included); false at the end.
  bool find(const char* keyword) {
    const std::size_t n = std::strlen(keyword);
    while (next()) {
      if (std::strncmp(line_, keyword, n) == 0) return true;
    }
    return false;
  }
  const char* line() const { return line_; }

 private:
  bool next() {
    if (pos_ >= size_) return false;
    std::size_t len = 0;
    while (pos_ < size_ && text_[pos_] != '\n') {
      const char c = text_[pos_++];
      if (c != '\r' && c != '\0' && len < sizeof line_ - 1) line_[len++] = c;
    }
    if (pos_ < size_) ++pos_;  // the line feed
    line_[len] = '\0';
    return true;
  }

  const char* text_;
  std::size_t size_;
  std::size_t pos_ = 0;
  char line_[128] = {};
};

// A count no larger than the text can actually hold, so that nothing huge is allocated.
bool readCount(AseLines& lines, const char* keyword, const char* format, std::size_t limit,
               std::size_t& count) {
  int value = -1;
  if (!lines.find(keyword) || std::sscanf(lines.line(), format, &value) != 1) return false;
  if (value < 0 || static_cast<std::size_t>(value) > limit) return false;
  count = static_cast<std::size_t>(value);
  return true;
}

bool allFinite(const float* v, int n) {
  for (int i = 0; i < n; ++i) {
    if (!std::isfinite(v[i])) return false;
  }
  return true;
}

// A numbered vector line ("index x y z"); the index must name one of `count` items.
bool readIndexedVector(AseLines& lines, const char* keyword, const char* format, std::size_t count,
                       std::size_t& index, float v[3]) {
  int i = -1;
  if (!lines.find(keyword) || std::sscanf(lines.line(), format, &i, &v[0], &v[1], &v[2]) != 4)
    return false;
  if (i < 0 || static_cast<std::size_t>(i) >= count || !allFinite(v, 3)) return false;
  index = static_cast<std::size_t>(i);
  return true;
}

bool readFaces(AseLines& lines, std::size_t faceCount, std::size_t vertexCount,
               std::vector<std::uint32_t>& faces) {
  faces.resize(faceCount * 3);
  for (std::size_t f = 0; f < faceCount; ++f) {
    int index, a, b, c;
    if (!lines.find("\t\t\t*MESH_FACE") ||
        std::sscanf(lines.line(), "\t\t\t*MESH_FACE %d:    A: %d B: %d C: %d", &index, &a, &b,
                    &c) != 4)
      return false;
    for (int corner : {a, b, c}) {
      if (corner < 0 || static_cast<std::size_t>(corner) >= vertexCount) return false;
    }
    faces[3 * f] = static_cast<std::uint32_t>(a);
    faces[3 * f + 1] = static_cast<std::uint32_t>(b);
    faces[3 * f + 2] = static_cast<std::uint32_t>(c);
  }
  return true;
}

}  // namespace

bool parseStaticAse(const char* text, std::size_t size, MeshData& mesh) {
  AseLines lines(text, size);
  float axis[3], radians;
  if (!lines.find("\t\t*TM_ROTAXIS") ||
      std::sscanf(lines.line(), "\t\t*TM_ROTAXIS %f %f %f", &axis[0], &axis[1], &axis[2]) != 3 ||
      !allFinite(axis, 3))
    return false;
  if (!lines.find("\t\t*TM_ROTANGLE") ||
      std::sscanf(lines.line(), "\t\t*TM_ROTANGLE %f", &radians) != 1 || !std::isfinite(radians))
    return false;
  const float degrees = radians / 3.14159f * 180.0f;

  // Every counted item needs a line of well over 16 characters.
  const std::size_t limit = size / 16;
  std::size_t v, f, t, tf;
  if (!readCount(lines, "\t\t*MESH_NUMVERTEX", "\t\t*MESH_NUMVERTEX %d", limit, v) ||
      !readCount(lines, "\t\t*MESH_NUMFACES", "\t\t*MESH_NUMFACES %d", limit, f))
    return false;

  mesh.vertexCount = static_cast<std::uint32_t>(v);
  mesh.triangleCount = static_cast<std::uint32_t>(f);
  mesh.positions.resize(v * 3);
  for (std::size_t i = 0; i < v; ++i) {
    int index;
    float p[3];
    if (!lines.find("\t\t\t*MESH_VERTEX") ||
        std::sscanf(lines.line(), "\t\t\t*MESH_VERTEX %d %f %f %f", &index, &p[0], &p[1], &p[2]) !=
            4 ||
        !allFinite(p, 3))
      return false;
    // Stored in line order; the number on the line is not consulted.
    std::memcpy(&mesh.positions[3 * i], p, sizeof p);
  }
  if (!readFaces(lines, f, v, mesh.vertexIndices)) return false;

  if (!readCount(lines, "\t\t*MESH_NUMTVERTEX", "\t\t*MESH_NUMTVERTEX %d", limit, t)) return false;
  mesh.texVertexCount = static_cast<std::uint32_t>(t);
  mesh.texVertices.resize(t * 2);
  for (std::size_t i = 0; i < t; ++i) {
    int index;
    float uvw[3];
    if (!lines.find("\t\t\t*MESH_TVERT") ||
        std::sscanf(lines.line(), "\t\t\t*MESH_TVERT %d %f %f %f", &index, &uvw[0], &uvw[1],
                    &uvw[2]) < 3 ||
        !allFinite(uvw, 2))
      return false;
    mesh.texVertices[2 * i] = uvw[0];
    mesh.texVertices[2 * i + 1] = uvw[1];
  }

  if (!readCount(lines, "\t\t*MESH_NUMTVFACES", "\t\t*MESH_NUMTVFACES %d", limit, tf) || tf != f)
    return false;
  mesh.texVertexIndices.resize(f * 3);
  for (std::size_t i = 0; i < f; ++i) {
    int index, a, b, c;
    if (!lines.find("\t\t\t*MESH_TFACE") ||
        std::sscanf(lines.line(), "\t\t\t*MESH_TFACE %d %d %d %d", &index, &a, &b, &c) != 4)
      return false;
    const int corners[3] = {a, b, c};
    for (int k = 0; k < 3; ++k) {
      if (corners[k] < 0 || static_cast<std::size_t>(corners[k]) >= t) return false;
      mesh.texVertexIndices[3 * i + k] = static_cast<std::uint32_t>(corners[k]);
    }
  }

  const Vec3 rotationAxis(axis[0], axis[1], axis[2]);
  mesh.cornerNormals.resize(f * 9);
  for (std::size_t i = 0; i < f; ++i) {
    if (!lines.find("\t\t\t*MESH_FACENORMAL")) return false;
    for (int corner = 0; corner < 3; ++corner) {
      std::size_t index;
      float n[3];
      // The line's vertex number is not checked against the face: corners come in order.
      if (!readIndexedVector(lines, "\t\t\t\t*MESH_VERTEXNORMAL",
                             "\t\t\t\t*MESH_VERTEXNORMAL %d %f %f %f", v, index, n))
        return false;
      const Vec3 turned = rotateAboutAxis(Vec3(n[0], n[1], n[2]), rotationAxis, degrees);
      float* out = &mesh.cornerNormals[9 * i + 3 * corner];
      out[0] = turned.x;
      out[1] = turned.y;
      out[2] = turned.z;
    }
  }
  return true;
}

namespace {

// Reads the three vertex normals under each of f face normals into a per-vertex array (a
// later line for the same vertex wins). The keywords carry their tab depth.
bool readVertexNormals(AseLines& lines, const char* faceKey, const char* normalKey,
                       const char* normalFormat, std::size_t f, std::size_t v,
                       std::vector<float>& normals) {
  for (std::size_t i = 0; i < f; ++i) {
    if (!lines.find(faceKey)) return false;
    for (int corner = 0; corner < 3; ++corner) {
      std::size_t index;
      float n[3];
      if (!readIndexedVector(lines, normalKey, normalFormat, v, index, n)) return false;
      std::memcpy(&normals[3 * index], n, sizeof n);
    }
  }
  return true;
}

}  // namespace

bool parseAnimatedAse(const char* text, std::size_t size, MorphShapes& shapes) {
  AseLines lines(text, size);
  // Each vertex appears in all ten key shapes, each face in the base mesh and ten keys.
  std::size_t v, f;
  if (!readCount(lines, "\t\t*MESH_NUMVERTEX", "\t\t*MESH_NUMVERTEX %d", size / 160, v) ||
      !readCount(lines, "\t\t*MESH_NUMFACES", "\t\t*MESH_NUMFACES %d", size / 160, f))
    return false;
  shapes.vertexCount = static_cast<std::uint32_t>(v);
  shapes.triangleCount = static_cast<std::uint32_t>(f);
  if (!readFaces(lines, f, v, shapes.indices)) return false;

  shapes.normals.assign(v * 3, 0.0f);
  if (!readVertexNormals(lines, "\t\t\t*MESH_FACENORMAL", "\t\t\t\t*MESH_VERTEXNORMAL",
                         "\t\t\t\t*MESH_VERTEXNORMAL %d %f %f %f", f, v, shapes.normals))
    return false;

  for (int k = 0; k < morphKeyCount; ++k) {
    if (!lines.find("\t\t\t*TIMEVALUE")) return false;
    std::vector<float>& positions = shapes.keyPositions[k];
    std::vector<float>& normals = shapes.keyNormals[k];
    positions.assign(v * 3, 0.0f);
    normals.assign(v * 3, 0.0f);
    for (std::size_t i = 0; i < v; ++i) {
      int index;
      float p[3];
      if (!lines.find("\t\t\t\t*MESH_VERTEX") ||
          std::sscanf(lines.line(), "\t\t\t\t*MESH_VERTEX %d %f %f %f", &index, &p[0], &p[1],
                      &p[2]) != 4 ||
          !allFinite(p, 3))
        return false;
      std::memcpy(&positions[3 * i], p, sizeof p);
    }
    if (!readVertexNormals(lines, "\t\t\t\t*MESH_FACENORMAL", "\t\t\t\t\t*MESH_VERTEXNORMAL",
                           "\t\t\t\t\t*MESH_VERTEXNORMAL %d %f %f %f", f, v, normals))
      return false;
  }

  computeMorphTangents(shapes);
  shapes.positions = shapes.keyPositions[0];
  shapes.texCoords.assign(v * 2, 0.0f);
  for (std::size_t i = 0; i < v; ++i) {
    const Vec3 p(shapes.positions[3 * i], shapes.positions[3 * i + 1], shapes.positions[3 * i + 2]);
    // A vertex at the origin has no direction; it keeps (0, 0) instead of NaN.
    if (length(p) > 0) {
      const Vec3 e = normalize(p);
      shapes.texCoords[2 * i] = e.x;
      shapes.texCoords[2 * i + 1] = e.z;
    }
  }
  return true;
}

namespace {

bool readWholeFile(const char* path, std::string& contents) {
  std::FILE* f = std::fopen(path, "rb");
  if (!f) return false;
  contents.clear();
  char chunk[65536];
  std::size_t n;
  while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0) contents.append(chunk, n);
  const bool ok = !std::ferror(f);
  std::fclose(f);
  return ok;
}

}  // namespace

std::string datPathFor(const std::string& sourcePath) {
  if (sourcePath.size() < 3) return {};
  return sourcePath.substr(0, sourcePath.size() - 3) + "dat";
}

bool importAse(const char* sourcePath, MeshData& mesh) {
  std::string text;
  const std::string target = datPathFor(sourcePath);
  if (target.empty() || !readWholeFile(sourcePath, text)) return false;
  if (!parseStaticAse(text.data(), text.size(), mesh)) return false;
  return writeDat(target.c_str(), mesh);
}

bool importAnimatedAse(const char* sourcePath, MorphShapes& shapes) {
  std::string text;
  if (!readWholeFile(sourcePath, text)) return false;
  return parseAnimatedAse(text.data(), text.size(), shapes);
}
