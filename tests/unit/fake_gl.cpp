#include "fake_gl.h"

#include "fake_platform.h"

#include <initializer_list>

FakeGl fakeGl;

bool operator==(const GlCall& a, const GlCall& b)
{
    return a.name == b.name && a.args == b.args;
}

std::ostream& operator<<(std::ostream& out, const GlCall& call)
{
    out << call.name << "(";
    for (size_t i = 0; i < call.args.size(); ++i)
        out << (i ? ", " : "") << call.args[i];
    return out << ")";
}

namespace {

void record(const char* name, std::initializer_list<float> args)
{
    fakeGl.calls.push_back(GlCall{name, args});
}

void pointTo(int array, const char* name, GLint size, GLenum type, GLsizei stride, const GLvoid* pointer)
{
    record(name, {static_cast<float>(size), static_cast<float>(type), static_cast<float>(stride)});
    fakeGl.arrays[array] = {pointer, size, stride ? stride : size * static_cast<GLsizei>(sizeof(GLfloat))};
}

}  // namespace

void glGetIntegerv(GLenum name, GLint* value)
{
    fakeGl.queries.push_back(name);
    record("glGetIntegerv", {static_cast<float>(name)});
    const auto found = fakeGl.integers.find(name);
    *value = found == fakeGl.integers.end() ? 0 : found->second;
}

const GLubyte* glGetString(GLenum name)
{
    fakeGl.queries.push_back(name);
    const auto found = fakeGl.strings.find(name);
    return found == fakeGl.strings.end() ? nullptr : reinterpret_cast<const GLubyte*>(found->second);
}

void glClearColor(GLclampf red, GLclampf green, GLclampf blue, GLclampf alpha)
{
    record("glClearColor", {red, green, blue, alpha});
}

void glDepthFunc(GLenum function)
{
    record("glDepthFunc", {static_cast<float>(function)});
}

void glEnable(GLenum capability)
{
    record("glEnable", {static_cast<float>(capability)});
}

void glDisable(GLenum capability)
{
    record("glDisable", {static_cast<float>(capability)});
}

void glBlendFunc(GLenum source, GLenum destination)
{
    record("glBlendFunc", {static_cast<float>(source), static_cast<float>(destination)});
}

void glShadeModel(GLenum mode)
{
    record("glShadeModel", {static_cast<float>(mode)});
}

void glGenTextures(GLsizei count, GLuint* names)
{
    record("glGenTextures", {static_cast<float>(count)});
    for (GLsizei i = 0; i < count; ++i)
        names[i] = fakeGl.nextTextureName++;
}

void glBindTexture(GLenum target, GLuint texture)
{
    record("glBindTexture", {static_cast<float>(target), static_cast<float>(texture)});
}

void glTexParameteri(GLenum target, GLenum name, GLint value)
{
    record("glTexParameteri", {static_cast<float>(target), static_cast<float>(name), static_cast<float>(value)});
}

void glTexImage2D(GLenum target, GLint level, GLint internalFormat, GLsizei width, GLsizei height, GLint border,
                  GLenum format, GLenum type, const GLvoid* pixels)
{
    record("glTexImage2D", {static_cast<float>(target), static_cast<float>(level), static_cast<float>(internalFormat),
                            static_cast<float>(width), static_cast<float>(height), static_cast<float>(border),
                            static_cast<float>(format), static_cast<float>(type)});
    // One byte a texel holds for the luminance bytes the screensaver uploads.
    const auto* bytes = static_cast<const GLubyte*>(pixels);
    fakeGl.textureImages.emplace_back(bytes, bytes + width * height);
}

void glBegin(GLenum mode)
{
    record("glBegin", {static_cast<float>(mode)});
}

void glEnd()
{
    record("glEnd", {});
}

void glColor4fv(const GLfloat* rgba)
{
    record("glColor4fv", {rgba[0], rgba[1], rgba[2], rgba[3]});
}

void glTexCoord2fv(const GLfloat* st)
{
    record("glTexCoord2fv", {st[0], st[1]});
}

void glVertex2f(GLfloat x, GLfloat y)
{
    record("glVertex2f", {x, y});
}

// A frame's own steps also join the platform's effects, so that a test sees
// them in order with presenting and the clock's reads.
void glClear(GLbitfield mask)
{
    record("glClear", {static_cast<float>(mask)});
    fakePlatform.effects.push_back("glClear");
}

void glFinish()
{
    record("glFinish", {});
    fakePlatform.effects.push_back("glFinish");
}

void glViewport(GLint x, GLint y, GLsizei width, GLsizei height)
{
    record("glViewport", {static_cast<float>(x), static_cast<float>(y), static_cast<float>(width),
                          static_cast<float>(height)});
}

void glMatrixMode(GLenum mode)
{
    record("glMatrixMode", {static_cast<float>(mode)});
}

void glLoadIdentity()
{
    record("glLoadIdentity", {});
}

void glEnableClientState(GLenum array)
{
    record("glEnableClientState", {static_cast<float>(array)});
}

void glDisableClientState(GLenum array)
{
    record("glDisableClientState", {static_cast<float>(array)});
}

void glVertexPointer(GLint size, GLenum type, GLsizei stride, const GLvoid* pointer)
{
    pointTo(0, "glVertexPointer", size, type, stride, pointer);
}

void glTexCoordPointer(GLint size, GLenum type, GLsizei stride, const GLvoid* pointer)
{
    pointTo(1, "glTexCoordPointer", size, type, stride, pointer);
}

void glColorPointer(GLint size, GLenum type, GLsizei stride, const GLvoid* pointer)
{
    pointTo(2, "glColorPointer", size, type, stride, pointer);
}

// Copied at the call, when GL reads client arrays; unsigned int indices only.
void glDrawElements(GLenum mode, GLsizei count, GLenum type, const GLvoid* indices)
{
    record("glDrawElements", {static_cast<float>(mode), static_cast<float>(count), static_cast<float>(type)});
    std::vector<float>& drawn = fakeGl.drawnVertices.emplace_back();
    for (GLsizei i = 0; i < count; ++i)
        for (const auto& array : fakeGl.arrays) {
            const size_t at = static_cast<const GLuint*>(indices)[i] * static_cast<size_t>(array.stride);
            const auto* element = reinterpret_cast<const GLfloat*>(static_cast<const char*>(array.pointer) + at);
            drawn.insert(drawn.end(), element, element + array.size);
        }
}
