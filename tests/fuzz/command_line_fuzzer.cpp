// Feeds arbitrary command lines to the screensaver's parser. Beyond what the
// sanitizers catch (no read past the line's end), the answer is always one
// of the four run modes and the calibration length one of its two values.
#include <cstdint>
#include <string>

#include "../../astr/core/particles.h"
#include "../../astr/win32/command_line.h"

// The parser's one link to the simulation's state.
int32_t calibrationFrames;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string line(reinterpret_cast<const char*>(data), size);  // cut at the first zero byte, as the platform's would be
    calibrationFrames = defaultCalibrationFrames;
    int32_t window = 0;
    const RunMode mode = parseCommandLine(line.data(), window);
    if (mode != Saver && mode != Config && mode != Preview && mode != Init)
        __builtin_trap();
    if (calibrationFrames != defaultCalibrationFrames && calibrationFrames != precisionCalibrationFrames)
        __builtin_trap();
    return 0;
}
