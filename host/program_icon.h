#pragma once
// The program's icon (built-in icon 111, every size it comes in) on every top-level window
// made from now on.
void installProgramIcon();
