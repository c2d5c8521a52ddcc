#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <map>
#include <string>
#include <vector>

#include "../../astr/render/frame_arrays.h"
#include "../../astr/render/frame_drawing.h"
#include "../../astr/render/gl_state.h"
#include "fake_gl.h"
#include "sim_fixture.h"

namespace {

constexpr GLuint glowName = 7, particleName = 9;
constexpr float notANumber = std::numeric_limits<float>::quiet_NaN();
constexpr float infinity = std::numeric_limits<float>::infinity();

struct Square {
    GLuint texture;
    bool colorSent;
    std::array<float, 4> color;
    std::array<std::array<float, 2>, 4> corners;
};

// The recorded frame read back as squares. Every square must keep the
// protocol: glBegin(GL_POLYGON), at most one colour, then four texture
// coordinate and vertex pairs in corner order, then glEnd; between squares
// only texture binds.
struct Frame {
    std::vector<Square> squares;
    std::vector<GLuint> binds;
};

Frame recordedFrame()
{
    static const float texCoords[4][2] = {{0, 0}, {0, 1}, {1, 1}, {1, 0}};
    const std::vector<GlCall>& calls = fakeGl.calls;
    const GlCall none{"(end of the recording)", {}};
    size_t at = 0;
    auto next = [&]() -> const GlCall& { return at < calls.size() ? calls[at++] : none; };

    Frame frame;
    GLuint texture = 0;
    while (at < calls.size()) {
        const GlCall& call = next();
        if (call.name == "glBindTexture") {
            texture = static_cast<GLuint>(call.args.at(1));
            frame.binds.push_back(texture);
            continue;
        }
        Square square{texture, false, {}, {}};
        if (!(call == GlCall{"glBegin", {GL_POLYGON}})) {
            ADD_FAILURE() << "call " << at - 1 << ": " << call << " where a square or a bind belongs";
            return frame;
        }
        if (at < calls.size() && calls[at].name == "glColor4fv") {
            square.colorSent = true;
            std::copy(calls[at].args.begin(), calls[at].args.end(), square.color.begin());
            ++at;
        }
        for (int corner = 0; corner < 4; ++corner) {
            const GlCall& texCoord = next();
            const GlCall& vertex = next();
            if (!(texCoord == GlCall{"glTexCoord2fv", {texCoords[corner][0], texCoords[corner][1]}}) ||
                vertex.name != "glVertex2f") {
                ADD_FAILURE() << "corner " << corner + 1 << " of square " << frame.squares.size() << ": " << texCoord
                              << ", " << vertex;
                return frame;
            }
            square.corners[corner] = {vertex.args[0], vertex.args[1]};
        }
        const GlCall& end = next();
        if (end.name != "glEnd") {
            ADD_FAILURE() << "square " << frame.squares.size() << " ends with " << end;
            return frame;
        }
        frame.squares.push_back(square);
    }
    return frame;
}

// Corners 1 to 4: top left, top right, bottom right, bottom left.
void expectSquareAt(const Square& s, float cx, float cy, float hx, float hy)
{
    const std::array<std::array<float, 2>, 4> corners{
        {{cx - hx, cy + hy}, {cx + hx, cy + hy}, {cx + hx, cy - hy}, {cx - hx, cy - hy}}};
    EXPECT_EQ(s.corners, corners);
}

class DrawFrame : public SimTest {
protected:
    void SetUp() override
    {
        SimTest::SetUp();
        fakeGl = FakeGl{};
        glowTexture = glowName;
        particleTexture = particleName;
        particleCount = 2;
    }

    // At rest with the step at 0 (the fixture's): where it is, it stays.
    void placeParticle(int32_t i, Vector3 position, float screenX, float screenY, float brightness)
    {
        particleBuffer[i].position = position;
        particleBuffer[i].screenX = screenX;
        particleBuffer[i].screenY = screenY;
        particleBuffer[i].brightness = brightness;
    }

    std::vector<Square> drawnParticles()
    {
        const Frame frame = recordedFrame();
        EXPECT_EQ(frame.binds, (std::vector<GLuint>{glowName, particleName}));
        EXPECT_GE(frame.squares.size(), 5u);
        return std::vector<Square>(frame.squares.begin() + std::min<size_t>(5, frame.squares.size()),
                                   frame.squares.end());
    }
};

const Vector3 beyondSight{0.0f, 0.0f, 0.95f};  // past the far end of the visible depth

}  // namespace

TEST_F(DrawFrame, TwoParticlesInAWindowTwiceAsWideAsHigh)
{
    setAspectForClientSize(200, 100);
    placeParticle(0, {0.1f, 0.2f, 0.0f}, -0.5f, 0.5f, 0.25f);  // visible: drawn twice
    placeParticle(1, beyondSight, 0.3f, -0.4f, 0.6f);          // not: drawn once

    drawFrame();

    const Frame frame = recordedFrame();
    ASSERT_EQ(frame.squares.size(), 8u);
    EXPECT_EQ(frame.binds, (std::vector<GLuint>{glowName, particleName}));

    // The glow: half-sizes from 0.15 x aspect, halving; blue, blue carried
    // over, then green sent three times; the attractor's alpha throughout.
    const float alpha = attractorBrightness(projectPoint(0, 0, 0, 0, 1).depthFactor);
    EXPECT_NEAR(alpha, 0.54007f, 1e-5);
    const std::array<float, 4> blue{0.07f, 0.3f, 1.0f, alpha}, green{0.07f, 1.0f, 0.3f, alpha};
    const std::array<float, 4>* glowColors[] = {&blue, nullptr, &green, &green, &green};
    float hx = 0.075f, hy = 0.15f;  // the outer square: as many pixels across as down
    for (int k = 0; k < 5; ++k) {
        SCOPED_TRACE("glow " + std::to_string(k + 1));
        const Square& s = frame.squares[k];
        EXPECT_EQ(s.texture, glowName);
        EXPECT_EQ(s.colorSent, glowColors[k] != nullptr);
        if (glowColors[k]) {
            EXPECT_EQ(s.color, *glowColors[k]);
        }
        expectSquareAt(s, 0.0f, 0.0f, hx, hy);
        hx *= 0.5f;
        hy *= 0.5f;
    }

    // Each particle where it was last seen, then, when visible, where it is now.
    const Particle& moved = particleBuffer[0];
    EXPECT_FLOAT_EQ(moved.screenX, 0.125f);  // 0.5 x 0.1 x 1.5 / 0.6
    EXPECT_FLOAT_EQ(moved.screenY, 0.5f);
    const struct {
        float cx, cy, alpha;
    } particles[] = {{-0.5f, 0.5f, 0.25f}, {moved.screenX, moved.screenY, moved.brightness}, {0.3f, -0.4f, 0.6f}};
    for (int k = 0; k < 3; ++k) {
        SCOPED_TRACE("particle square " + std::to_string(k + 1));
        const Square& s = frame.squares[5 + k];
        EXPECT_EQ(s.texture, particleName);
        EXPECT_TRUE(s.colorSent);
        EXPECT_EQ(s.color, (std::array<float, 4>{1.0f, 0.19f, 0.065f, particles[k].alpha}));
        expectSquareAt(s, particles[k].cx, particles[k].cy, 0.005f, 0.01f);
    }
}

TEST_F(DrawFrame, ParticleOutOfSightIsDrawnOnceAFrameWhereItWasLastSeen)
{
    placeParticle(0, {0.1f, 0.2f, 0.0f}, 0.0f, 0.0f, 0.0f);
    placeParticle(1, beyondSight, 0.3f, -0.4f, 0.6f);
    drawFrame();
    const Particle lastSeen = particleBuffer[0];

    particleBuffer[0].position = beyondSight;  // it leaves the visible depth
    for (int frame = 2; frame <= 3; ++frame) {
        SCOPED_TRACE("frame " + std::to_string(frame));
        fakeGl = FakeGl{};
        drawFrame();
        const std::vector<Square> squares = drawnParticles();
        ASSERT_EQ(squares.size(), 2u);  // once each
        EXPECT_EQ(squares[0].color[3], lastSeen.brightness);
        expectSquareAt(squares[0], lastSeen.screenX, lastSeen.screenY, 0.01f, 0.01f);
    }
}

TEST_F(DrawFrame, FrameThatEndsCalibrationDrawsTheOldPlaceThenTheRebornOne)
{
    calibrationFrames = 1;
    particleCount = 4;
    runStats.frameSeconds = 0.01f;  // the count stays at 4
    for (int32_t i = 0; i < 4; ++i)
        placeParticle(i, {0.5f, 0.5f, 0.5f}, 0.2f * i - 0.5f, 0.6f, 0.3f);

    drawFrame();

    ASSERT_EQ(calibrationFrames, 0);
    ASSERT_EQ(particleCount, 4);
    const std::vector<Square> squares = drawnParticles();
    ASSERT_EQ(squares.size(), 8u);
    for (int32_t i = 0; i < 4; ++i) {
        SCOPED_TRACE("particle " + std::to_string(i));
        const Square& before = squares[2 * i];
        const Square& reborn = squares[2 * i + 1];
        EXPECT_EQ(before.color[3], 0.3f);
        expectSquareAt(before, 0.2f * i - 0.5f, 0.6f, 0.01f, 0.01f);
        const Particle& p = particleBuffer[i];
        EXPECT_EQ(reborn.color[3], p.brightness);
        expectSquareAt(reborn, p.screenX, p.screenY, 0.01f, 0.01f);
        EXPECT_LT(std::hypot(p.screenX, p.screenY), 0.15f);  // inside the glow
    }
}

// Per square one polygon, at most one colour, four coordinate and vertex
// pairs; per particle at most two squares; per pass one bind.
class CallBudget : public DrawFrame, public ::testing::WithParamInterface<int32_t> {};

TEST_P(CallBudget, HoldsForEverySquareAndPass)
{
    initSimulation(1);
    particleCount = GetParam();
    runStats.stepSeconds = 0.01f;

    drawFrame();

    const Frame frame = recordedFrame();
    EXPECT_EQ(frame.binds, (std::vector<GLuint>{glowName, particleName}));
    const size_t particleSquares = frame.squares.size() - 5;
    EXPECT_GE(particleSquares, static_cast<size_t>(particleCount));
    EXPECT_LE(particleSquares, 2u * particleCount);
    size_t expectedCalls = frame.binds.size();
    for (const Square& s : frame.squares)
        expectedCalls += s.colorSent ? 11 : 10;
    EXPECT_EQ(fakeGl.calls.size(), expectedCalls);
}

INSTANTIATE_TEST_SUITE_P(SmallestAndLargestCount, CallBudget, ::testing::Values(2, poolSize));

// Bad states drawn without a fault: the clamp brings a position that is not
// a number back to -1, and an attractor at the eye's plane projects to no
// finite place at full alpha.
struct BadCase {
    const char* name;
    Vector3 attractor;
    Vector3 particle;
};

void PrintTo(const BadCase& c, std::ostream* out)
{
    *out << c.name;
}

class BadState : public DrawFrame, public ::testing::WithParamInterface<BadCase> {};

TEST_P(BadState, IsDrawnAndClampedBackIntoTheBox)
{
    const BadCase c = GetParam();
    attractor.position = c.attractor;
    placeParticle(0, c.particle, 0.1f, 0.1f, 0.5f);
    placeParticle(1, {0.1f, 0.0f, 0.0f}, 0.0f, 0.0f, 0.0f);

    drawFrame();

    for (float coordinate : {particleBuffer[0].position.x, particleBuffer[0].position.y, particleBuffer[0].position.z})
        EXPECT_TRUE(coordinate >= -1.0f && coordinate <= 1.0f) << coordinate;
    const Frame frame = recordedFrame();
    ASSERT_GE(frame.squares.size(), 5u + 2u);
    const Square& glow = frame.squares[0];
    const float glowX = glow.corners[0][0];
    EXPECT_EQ(std::isfinite(glowX), c.attractor.z != -cameraDistance);
    if (!std::isfinite(glowX)) {
        EXPECT_EQ(glow.color[3], 1.0f);
    }
}

const BadCase badCases[] = {
    {"NotANumber", {0, 0, 0}, {notANumber, notANumber, notANumber}},
    {"Infinite", {0, 0, 0}, {infinity, -infinity, infinity}},
    {"OnTheAttractor", {0.1f, 0.1f, 0.1f}, {0.1f, 0.1f, 0.1f}},
    {"AttractorAtTheEye", {0, 0, -cameraDistance}, {0.2f, 0.1f, 0.0f}},
};

INSTANTIATE_TEST_SUITE_P(Cases, BadState, ::testing::ValuesIn(badCases),
                         [](const ::testing::TestParamInfo<BadCase>& info) { return std::string(info.param.name); });

// The arrays' recording as the immediate-mode calls of its squares, each
// square six vertices (x, y, s, t, r, g, b, a), the fan's two triangles of
// its four corners in one colour. The client arrays must end disabled.
void replayArraysAsImmediateMode()
{
    std::vector<GlCall> calls;
    std::map<float, bool> enabled;
    size_t draws = 0;
    for (const GlCall& call : fakeGl.calls) {
        if (call.name == "glBindTexture")
            calls.push_back(call);
        if (call.name.find("ClientState") != std::string::npos)
            enabled[call.args.at(0)] = call.name == "glEnableClientState";
        if (call.name != "glDrawElements")
            continue;
        const std::vector<float>& drawn = fakeGl.drawnVertices.at(draws++);
        EXPECT_EQ(drawn.size() % 48, 0u);
        for (auto square = drawn.begin(); drawn.end() - square >= 48; square += 48) {
            auto vertex = [&](int k) { return square + 8 * k; };
            EXPECT_TRUE(std::equal(vertex(0), vertex(1), vertex(3)) && std::equal(vertex(2), vertex(3), vertex(4)));
            for (int k : {1, 2, 5})
                EXPECT_TRUE(std::equal(vertex(k) + 4, vertex(k) + 8, vertex(0) + 4)) << "the colour of vertex " << k;
            calls.insert(calls.end(), {{"glBegin", {GL_POLYGON}}, {"glColor4fv", {vertex(0) + 4, vertex(0) + 8}}});
            for (int k : {0, 1, 2, 5})
                calls.insert(calls.end(), {{"glTexCoord2fv", {vertex(k) + 2, vertex(k) + 4}},
                                           {"glVertex2f", {vertex(k), vertex(k) + 2}}});
            calls.push_back({"glEnd", {}});
        }
    }
    EXPECT_EQ(enabled, (std::map<float, bool>{{GL_VERTEX_ARRAY, false}, {GL_TEXTURE_COORD_ARRAY, false},
                                              {GL_COLOR_ARRAY, false}}));
    fakeGl.calls = calls;
}

struct ArraysCase {
    const char* name;
    int32_t count, unseen, calibrationFrames;  // unseen: a particle taken out of sight, or -1
    size_t particleSquares;
};

class FromArrays : public DrawFrame, public ::testing::WithParamInterface<ArraysCase> {};

// A small swarm drawn both ways from one state, after a first frame in which
// every particle was seen: the same squares, in order, one draw call a texture.
TEST_P(FromArrays, AreTheSquaresOfImmediateMode)
{
    const ArraysCase c = GetParam();
    auto drawnFrom = [&](void (*draw)()) {
        TearDown();  // a program start again
        SetUp();
        initSimulation(1);
        particleCount = c.count;
        runStats.stepSeconds = runStats.frameSeconds = 0.01f;  // a frame that ends calibration keeps the count
        drawFrame();
        if (c.unseen >= 0)
            particleBuffer[c.unseen].position = beyondSight;
        calibrationFrames = c.calibrationFrames;
        fakeGl = FakeGl{};
        draw();
        EXPECT_EQ(calibrationFrames, 0);
    };
    drawnFrom(drawFrame);
    Frame immediate = recordedFrame();
    for (size_t k = 1; k < immediate.squares.size(); ++k)
        if (!immediate.squares[k].colorSent)
            immediate.squares[k].color = immediate.squares[k - 1].color;
    drawnFrom(drawFrameFromArrays);
    EXPECT_EQ(fakeGl.drawnVertices.size(), 2u);
    replayArraysAsImmediateMode();
    const Frame arrays = recordedFrame();

    EXPECT_EQ(arrays.binds, (std::vector<GLuint>{glowName, particleName}));
    ASSERT_EQ(immediate.squares.size(), 5 + c.particleSquares);
    ASSERT_EQ(arrays.squares.size(), immediate.squares.size());
    for (size_t k = 0; k < arrays.squares.size(); ++k) {
        EXPECT_EQ(arrays.squares[k].texture, immediate.squares[k].texture) << "square " << k;
        EXPECT_EQ(arrays.squares[k].color, immediate.squares[k].color) << "square " << k;
        EXPECT_EQ(arrays.squares[k].corners, immediate.squares[k].corners) << "square " << k;
    }
}

const ArraysCase arraysCases[] = {
    {"TwoInSight", 2, -1, 0, 4},
    {"ThreeOneOutOfSight", 3, 1, 0, 5},
    {"SevenEndingCalibration", 7, -1, 1, 14},
};

INSTANTIATE_TEST_SUITE_P(Swarms, FromArrays, ::testing::ValuesIn(arraysCases),
                         [](const ::testing::TestParamInfo<ArraysCase>& info) { return std::string(info.param.name); });
