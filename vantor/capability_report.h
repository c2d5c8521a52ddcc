// What vantor learnt of the OpenGL implementation, and the texts the dialog
// shows for it.
#pragma once

#include <cstdint>
#include <string>

struct CapabilityReport {
    const char* accelerationText;
    std::string vendorText;
    std::string rendererText;
    std::string versionText;     // released once versionDisplayText exists
    std::string extensionsText;  // released once extensionListText exists
    int32_t redBits, greenBits, blueBits, alphaBits;
    int32_t colorBufferBits;
    int32_t accumRedBits, accumGreenBits, accumBlueBits, accumAlphaBits;
    int32_t accumBits;
    int32_t depthBufferBits;
    int32_t stencilBits;
    int32_t maxLights;
    int32_t maxTextureSize;
};

extern CapabilityReport capabilityReport;
extern std::string versionDisplayText;  // the version, its first blank made a line break
extern std::string extensionListText;   // one extension name a line

constexpr uint32_t genericFormatFlag = 0x40;  // PFD_GENERIC_FORMAT

// "No, Software" for a generic format, accelerated or not; else "Yes, Hardware".
const char* accelerationTextFor(uint32_t pixelFormatFlags);

// Asks the current GL context for its counts, limits and strings, in that
// order, and derives the two display texts. A string the context does not
// give counts as empty.
void queryCapabilities(CapabilityReport& report);

std::string makeVersionDisplayText(const std::string& version);
std::string makeExtensionListText(const std::string& extensions);

// Gives a text's memory back; it reads as empty afterwards.
void releaseText(std::string& text);
