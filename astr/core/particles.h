// The swarm: particles pulled about by one wandering attractor inside a cube,
// seen in perspective while the view turns about the vertical axis.
#pragma once

#include <cstdint>

struct Vector3 {
    float x, y, z;
};

struct Particle {
    Vector3 position;  // scene units, each coordinate within [-1, 1] after a step
    Vector3 velocity;  // scene units per step
    float screenX;     // last visible projection, normalised device units
    float screenY;
    float brightness;  // alpha of that projection, 0 to 1
};

struct Attractor {
    Vector3 position;  // scene units
    Vector3 velocity;  // scene units per second
};

struct Projection {
    float x, y;        // normalised device units
    float depthFactor; // 1 at the eye, 0 at the far end of the visible depth
};

constexpr int32_t poolSize = 32768;
constexpr int32_t defaultCalibrationFrames = 256;
constexpr int32_t precisionCalibrationFrames = 2048;  // the precise calibration, -prec
constexpr float cameraDistance = 0.6f;

extern Particle* particleBuffer;
extern int32_t particleCount;      // live records, 2 to 32768
extern int32_t calibrationFrames;  // calibration frames still to run; 0 once calibrated
extern Attractor attractor;
extern float spinDegrees;  // view turn about the vertical axis
extern float spinSin;      // its sine and cosine for the current frame
extern float spinCos;

// Allocates room for the whole pool; ends the program when there is none.
void createParticleBuffer();

// Seeds the random source and sets the start state of the attractor and of
// every record of the pool.
void initSimulation(uint32_t seed);

// The head of every frame: spin, calibration, attractor wander, move, bounce.
// Sets spinSin and spinCos for the frame.
void beginFrameStep();

Projection projectPoint(float x, float y, float z, float spinSin, float spinCos);

// The attractor's alpha for the place it projects to.
float attractorBrightness(float depthFactor);

// Pulls, moves, clamps and projects record i; answers whether the new
// projection is visible (and then stored in the record).
bool stepParticle(int32_t i, float spinSin, float spinCos);
