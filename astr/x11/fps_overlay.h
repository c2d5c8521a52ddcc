// --fps: the frame rate and the particle count in the picture's lower left
// corner, as other savers on these hosts show theirs.
#pragma once

// Draws the two lines over the frame. It leaves the current colour, the
// raster position and the display-list base as it set them.
void drawFpsOverlay();
