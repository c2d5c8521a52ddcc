// A recording stand-in for the few GL queries vantor makes.
#pragma once

#include <GL/gl.h>

#include <map>
#include <string>
#include <vector>

struct FakeGl {
    std::map<GLenum, GLint> integers;
    std::map<GLenum, const char*> strings;  // a name absent here answers no string
    std::vector<GLenum> queries;            // every name asked for, in order
};

extern FakeGl fakeGl;
