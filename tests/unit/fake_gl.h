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
// arguments, glTexImage2D's pixels are kept in FakeGl::textureImages and
// what glDrawElements draws in FakeGl::drawnVertices.
struct GlCall {
    std::string name;
    std::vector<float> args;
};

bool operator==(const GlCall& a, const GlCall& b);
std::ostream& operator<<(std::ostream& out, const GlCall& call);

// A client-side array as its pointer call set it; float components only.
struct ClientArray {
    const GLvoid* pointer = nullptr;
    GLint size = 0;
    GLsizei stride = 0;
    bool enabled = false;
};

// One vertex that a draw call took from the arrays: the components of each
// array at its index, none where the array was disabled.
struct DrawnVertex {
    std::vector<float> position, texCoord, color;
};

struct FakeGl {
    std::map<GLenum, GLint> integers;
    std::map<GLenum, const char*> strings;  // a name absent here answers no string
    std::vector<GLenum> queries;            // every name asked for, in order
    std::vector<GlCall> calls;              // every call but the string queries, in order
    GLuint nextTextureName = 1;             // what glGenTextures hands out next
    std::vector<std::vector<GLubyte>> textureImages;  // one per glTexImage2D, as luminance bytes
    ClientArray vertexArray, texCoordArray, colorArray;
    std::vector<std::vector<DrawnVertex>> drawnVertices;  // one per glDrawElements, in index order
};

extern FakeGl fakeGl;
