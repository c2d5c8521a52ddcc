// A recording stand-in for the GL 1.1 entry points that vantor's queries and
// the screensaver's state and drawing use.
#pragma once

#include <GL/gl.h>

#include <map>
#include <ostream>
#include <string>
#include <vector>

// One call: its name and its numeric arguments in order, enums included (all
// of them exact as floats); what a vector argument points to counts as its
// arguments; glTexImage2D's pixels are kept in FakeGl::textureImages, and
// what glDrawElements reads from the client arrays in FakeGl::drawnVertices.
struct GlCall {
    std::string name;
    std::vector<float> args;
};

bool operator==(const GlCall& a, const GlCall& b);
std::ostream& operator<<(std::ostream& out, const GlCall& call);

struct FakeGl {
    std::map<GLenum, GLint> integers;
    std::map<GLenum, const char*> strings;  // a name absent here answers no string
    std::vector<GLenum> queries;            // every name asked for, in order
    std::vector<GlCall> calls;              // every call but the string queries, in order
    GLuint nextTextureName = 1;             // what glGenTextures hands out next
    std::vector<std::vector<GLubyte>> textureImages;  // one per glTexImage2D, as luminance bytes
    // The vertex, texture coordinate and colour arrays as last pointed to:
    // floats, components, bytes from one element to the next.
    struct { const GLvoid* pointer; GLint size; GLsizei stride; } arrays[3] = {};
    std::vector<std::vector<float>> drawnVertices;  // per glDrawElements, each index's elements of the 3 arrays
};

extern FakeGl fakeGl;
