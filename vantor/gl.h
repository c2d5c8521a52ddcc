// The OpenGL 1.1 interface, on every build.
#pragma once

#ifdef _WIN32
#include <windows.h>
#endif
#include <GL/gl.h>
