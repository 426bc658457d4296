#pragma once
// Generation of the show's meshes, cell layout, strand profiles and camera scripts into a
// folder, each file under the path of its archive name (backslashes as slashes).
#include <string>

// Each step prints what went wrong on stderr and returns false.
bool generateMeshes(const std::string& folder);
bool generateMorphMeshes(const std::string& folder);
bool generateCellField(const std::string& folder);     // reg_cells.dat and the cells scripts
bool generateStrands(const std::string& folder);       // dna0.dat .. dna9.dat
bool generateSceneScripts(const std::string& folder);  // nucleus and DNA scripts

// Largest radius the cell membrane reaches in any key shape, and the nucleus body's.
float membraneReach();
float nucleusReach();
