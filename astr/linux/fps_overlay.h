// --fps: the frame rate and the particle count in the picture's lower left
// corner, as other savers on these hosts show theirs, in a small font of
// the program's own, so that every host draws it alike.
#pragma once

// Draws the two lines over the frame. It leaves the current colour and the
// raster position as it set them.
void drawFpsOverlay();
