// --fps: the frame rate and the particle count in the picture's lower left
// corner, as other savers on these hosts show theirs.
#pragma once

// Draws the two lines over the frame; the GL state is left as it was.
void drawFpsOverlay();
