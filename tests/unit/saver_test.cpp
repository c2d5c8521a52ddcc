// The saver as its hosts drive it: what a start and each pass after it do,
// in order, against the fake platform and GL, and what input ends a run.
#include <string>
#include <vector>

#include "../../astr/render/saver.h"
#include "fake_gl.h"
#include "sim_fixture.h"

namespace {

using Effects = std::vector<std::string>;

template <typename T>
std::vector<T> operator+(std::vector<T> a, const std::vector<T>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

Effects times(int n, const Effects& pass)
{
    Effects all;
    for (int i = 0; i < n; ++i)
        all = all + pass;
    return all;
}

StartCount chosen;
uint64_t ticksPerParticle;

// The frame as the order sees it: marked, its head run (calibration
// included), and taking the clock's time in proportion to the count.
void drawMarked()
{
    fakePlatform.effects.push_back("draw");
    beginFrameStep();
    fakePlatform.counter += ticksPerParticle * static_cast<uint64_t>(particleCount);
}

void overlay()
{
    fakePlatform.effects.push_back("overlay");
}

void found(int32_t count, CountFoundBy by)
{
    const char* const why[] = {"part", "calibration", "check"};
    fakePlatform.effects.push_back("found " + std::to_string(count) + " " + why[static_cast<int>(by)]);
}

struct OrderCase {
    const char* name;
    StartCount start;
    int32_t calibrationFrames;  // as the command line leaves them
    int32_t glFinish;           // the setting
    uint64_t ticksPerParticle;  // what drawing a particle takes, in microseconds
    int pausedPass;             // the pass a pause ends, from 1; 0: none
    std::vector<SaverFrame> frames;
    Effects effects;  // after the start's own
};

class SaverOrder : public SimTest, public ::testing::WithParamInterface<OrderCase> {};

TEST_P(SaverOrder, StartsAndDrawsEachPassInTheOneOrder)
{
    const OrderCase& c = GetParam();
    fakeGl = FakeGl{};
    calibrationFrames = c.calibrationFrames;
    settings.glFinish = c.glFinish;
    ticksPerParticle = c.ticksPerParticle;
    chosen = c.start;
    SaverHooks hooks;
    hooks.frameDrawing = drawMarked;
    hooks.chooseCount = [] {  // the buffer made and the picture sized by then
        const bool sized = !fakeGl.calls.empty() && fakeGl.calls.back().name == "glLoadIdentity";
        fakePlatform.effects.push_back(particleBuffer && sized ? "choose" : "choose too early");
        return chosen;
    };
    hooks.countFound = found;
    hooks.overlay = c.glFinish ? overlay : nullptr;
    std::free(particleBuffer);  // the saver makes its own

    startSaver(640, 480, hooks);
    std::vector<SaverFrame> frames;
    for (int pass = 1; pass <= static_cast<int>(c.frames.size()); ++pass) {
        frames.push_back(drawSaverFrame());
        endSaverFrame(pass == c.pausedPass);
    }

    // The GL state and the clock first, then the count's choice, then two
    // cleared frames shown at high priority, each timed.
    const Effects primed = {"glClear", "present", "glFinish", "clock"};
    EXPECT_EQ(fakePlatform.effects, Effects({"clock", "clock", "choose", "priority high"}) + primed + primed + c.effects);
    EXPECT_EQ(frames, c.frames);
    EXPECT_EQ(fakeGl.calls.front().name, "glClearColor");  // setupGlState's, first of all
    endSaver();
    EXPECT_EQ(particleBuffer, nullptr);
}

const SaverFrame unseen = SaverFrame::unseen, shown = SaverFrame::shown, measured = SaverFrame::measured;
const Effects calibrating = {"glClear", "draw", "glFinish", "clock"};
const Effects showing = {"glClear", "draw", "present", "clock"};
const Effects checking = {"clock", "glClear", "draw", "glFinish", "clock", "present", "clock"};

INSTANTIATE_TEST_SUITE_P(
    Starts, SaverOrder,
    ::testing::Values(
        // Unseen, finished frames; a quarter of the way the count is worth
        // keeping, and the last of them ends calibration and is shown.
        OrderCase{"Calibrated", {}, 4, 0, 0, 0, {unseen, unseen, unseen, shown, shown},
                  Effects{"glClear", "draw", "found 32768 part", "glFinish", "clock"} + calibrating + calibrating +
                      Effects{"glClear", "draw", "priority normal", "clock", "announce 32768 particles in 640 x 480",
                              "found 32768 calibration", "present", "clock"} +
                      showing},
        // A count given is shown at once and kept nowhere; with the glFinish
        // setting every frame is finished after it is shown, the overlay over it.
        OrderCase{"GivenFinishedWithOverlay", {CountSource::given, 500}, 256, 1, 0, 0, {shown, shown},
                  Effects{"glClear", "draw", "priority normal", "clock", "announce 500 particles in 640 x 480",
                          "overlay", "present", "glFinish", "clock"} +
                      Effects{"glClear", "draw", "overlay", "present", "glFinish", "clock"}},
        // A remembered count is checked on the first shown frames, each
        // measured: far too slow, it is given up for one that fits, which
        // is checked in turn and kept.
        OrderCase{"RememberedTooSlow", {CountSource::remembered, 500}, 256, 0, 100, 0,
                  std::vector<SaverFrame>{shown} + std::vector<SaverFrame>(10, measured) + std::vector<SaverFrame>{shown},
                  Effects{"glClear", "draw", "priority normal", "clock", "announce 500 particles in 640 x 480",
                          "present", "clock"} +
                      times(10, checking) + Effects{"found 99 check"} + showing},
        // Fast enough, it stands; a pass that held a pause is measured again.
        OrderCase{"RememberedAndPaused", {CountSource::remembered, 500}, 256, 0, 20, 3,
                  std::vector<SaverFrame>{shown} + std::vector<SaverFrame>(6, measured) + std::vector<SaverFrame>{shown},
                  Effects{"glClear", "draw", "priority normal", "clock", "announce 500 particles in 640 x 480",
                          "present", "clock"} +
                      checking + checking + Effects{"clock"} + times(4, checking) + showing}),
    [](const auto& info) { return std::string(info.param.name); });

struct InputCase {
    EndingInput ending;
    int32_t calibrationFrames;
    int key;  // a virtual-key code going down; -1: the pointer
    bool goesOn;
};

class SaverInput : public SimTest, public ::testing::WithParamInterface<InputCase> {};

TEST_P(SaverInput, EndsTheRunOnItsOwnInput)
{
    SaverHooks hooks;
    hooks.endingInput = GetParam().ending;
    std::free(particleBuffer);
    createSaver(hooks);
    calibrationFrames = GetParam().calibrationFrames;
    const int key = GetParam().key;
    EXPECT_EQ(key < 0 ? saverPointer() : saverKey(static_cast<uint64_t>(key), true), GetParam().goesOn);
    if (key >= 0) {
        EXPECT_EQ(keyDown[key], 1);
        EXPECT_TRUE(saverKey(static_cast<uint64_t>(key), false));  // a key going up ends nothing
        EXPECT_EQ(keyDown[key], 0);
    }
}

constexpr int escape = 0x1B, pointer = -1;
INSTANTIATE_TEST_SUITE_P(
    Rules, SaverInput,
    ::testing::Values(InputCase{EndingInput::none, 0, escape, true}, InputCase{EndingInput::none, 0, pointer, true},
                      InputCase{EndingInput::escape, 0, escape, false}, InputCase{EndingInput::escape, 0, 'I', true},
                      InputCase{EndingInput::escape, 0, pointer, true},
                      InputCase{EndingInput::escapeOrQ, 0, 'Q', false}, InputCase{EndingInput::escapeOrQ, 0, 'H', true},
                      InputCase{EndingInput::escapeOrI, 5, 'I', false},
                      InputCase{EndingInput::escapeOrI, 5, pointer, true},  // the swarm does not show yet
                      InputCase{EndingInput::escapeOrI, 0, pointer, false},
                      InputCase{EndingInput::anything, 5, 'H', false},
                      InputCase{EndingInput::anything, 5, pointer, false}));

}  // namespace
