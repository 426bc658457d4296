#pragma once
// Which kind of renderer draws the windows: a graphics card, or a software rasteriser on the
// processor. Multisampling smooths the edges where a card pays for it; a software renderer
// would pay four times the fill for four samples, so there the show keeps one.

// Whether GL_RENDERER names a software rasteriser (Mesa's llvmpipe, softpipe and swrast,
// Windows' own GDI renderer). Unknown names count as hardware.
bool isSoftwareRenderer(const char* rendererName);
