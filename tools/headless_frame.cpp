#include "headless_frame.h"

#include "../astr/render/frame_sequence.h"

namespace {

void bindNothing(Sprite) {}

void drawNothing(float, float, float, float, const float*) {}

}  // namespace

void simulateFrame()
{
    frameSequence<bindNothing, drawNothing>();
}
