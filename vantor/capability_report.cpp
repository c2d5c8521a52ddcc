#include "capability_report.h"

#include "gl.h"

CapabilityReport capabilityReport;
std::string versionDisplayText;
std::string extensionListText;

namespace {

int32_t queryInteger(GLenum name)
{
    GLint value = 0;
    glGetIntegerv(name, &value);
    return value;
}

std::string queryString(GLenum name)
{
    const GLubyte* text = glGetString(name);
    return text ? reinterpret_cast<const char*>(text) : "";
}

}  // namespace

const char* accelerationTextFor(uint32_t pixelFormatFlags)
{
    return (pixelFormatFlags & genericFormatFlag) ? "No, Software" : "Yes, Hardware";
}

void queryCapabilities(CapabilityReport& report)
{
    report.redBits = queryInteger(GL_RED_BITS);
    report.greenBits = queryInteger(GL_GREEN_BITS);
    report.blueBits = queryInteger(GL_BLUE_BITS);
    report.alphaBits = queryInteger(GL_ALPHA_BITS);
    report.colorBufferBits = report.redBits + report.greenBits + report.blueBits + report.alphaBits;
    report.accumRedBits = queryInteger(GL_ACCUM_RED_BITS);
    report.accumGreenBits = queryInteger(GL_ACCUM_GREEN_BITS);
    report.accumBlueBits = queryInteger(GL_ACCUM_BLUE_BITS);
    report.accumAlphaBits = queryInteger(GL_ACCUM_ALPHA_BITS);
    report.accumBits = report.accumRedBits + report.accumGreenBits + report.accumBlueBits + report.accumAlphaBits;
    report.depthBufferBits = queryInteger(GL_DEPTH_BITS);
    report.stencilBits = queryInteger(GL_STENCIL_BITS);
    report.maxLights = queryInteger(GL_MAX_LIGHTS);
    report.maxTextureSize = queryInteger(GL_MAX_TEXTURE_SIZE);

    report.vendorText = queryString(GL_VENDOR);
    report.rendererText = queryString(GL_RENDERER);
    report.extensionsText = queryString(GL_EXTENSIONS);
    report.versionText = queryString(GL_VERSION);

    extensionListText = makeExtensionListText(report.extensionsText);
    versionDisplayText = makeVersionDisplayText(report.versionText);
    releaseText(report.extensionsText);
    releaseText(report.versionText);
}

std::string makeVersionDisplayText(const std::string& version)
{
    const size_t blank = version.find(' ');
    if (blank == std::string::npos)
        return version;
    return version.substr(0, blank) + "\r\n" + version.substr(blank + 1);
}

std::string makeExtensionListText(const std::string& extensions)
{
    std::string list;
    list.reserve(extensions.size() + extensions.size() / 8);
    for (size_t i = 0; i < extensions.size(); ++i) {
        if (extensions[i] != ' ')
            list += extensions[i];
        else if (i + 1 < extensions.size())  // a closing blank is dropped
            list += "\r\n";
    }
    return list;
}

void releaseText(std::string& text)
{
    std::string().swap(text);
}
