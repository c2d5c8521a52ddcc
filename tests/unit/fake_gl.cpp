#include "fake_gl.h"

FakeGl fakeGl;

void glGetIntegerv(GLenum name, GLint* value)
{
    fakeGl.queries.push_back(name);
    const auto found = fakeGl.integers.find(name);
    *value = found == fakeGl.integers.end() ? 0 : found->second;
}

const GLubyte* glGetString(GLenum name)
{
    fakeGl.queries.push_back(name);
    const auto found = fakeGl.strings.find(name);
    return found == fakeGl.strings.end() ? nullptr : reinterpret_cast<const GLubyte*>(found->second);
}
