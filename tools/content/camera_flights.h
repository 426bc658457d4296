#pragma once
// The camera paths of the three scenes.
#include <vector>

#include "assets/tools/cell_generator.h"
#include "tools/content/camera_script.h"

// p relative to the copy of `home` nearest to it in the 300-unit periodic field.
Vec3 latticeOffset(Vec3 p, Vec3 home);

// Distance from p to the nearest copy of any cell's centre, leaving out cell `skip` (or none
// when skip is negative).
float cellClearance(Vec3 p, const std::vector<CellPlacement>& cells, int skip);

// A flight through the field of cells that keeps `avoid` units from every cell centre and
// finally enters a cell, ending 14 units from its centre and looking at it. `attempt` varies
// the plan when an earlier one was refused. `target` receives the entered cell's number.
// Empty when this attempt found no way.
std::vector<ScriptKey> cellsFlight(const std::vector<CellPlacement>& cells, int index, float avoid,
                                   int attempt, int& target);

// Approaches and orbits of the nucleus (centred at the origin, radius about 210), from
// outside the particle cloud into it; index 0 to 2.
std::vector<ScriptKey> coreFlight(int index);

// Views of the two strand copies at x = -300 and x = 300 and of the flight between them;
// index 0 to 5, about 40 s each.
std::vector<ScriptKey> dnaFlight(int index);
