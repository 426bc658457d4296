#pragma once

#include <string>
#include <vector>

// The show's texture files, as the archive names them under textures\.
const std::vector<std::string>& textureFileNames();

// Paints and encodes one texture by file name ("cell.jpg", ...). Empty with `error` set
// when the name is unknown or the picture cannot be made.
std::vector<unsigned char> makeTextureFile(const std::string& fileName, std::string& error);

// Writes every texture into outDir/textures/, creating the folders.
bool writeTextures(const std::string& outDir, std::string& error);
