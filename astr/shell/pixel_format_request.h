#pragma once
#include <windows.h>
extern PIXELFORMATDESCRIPTOR pixelFormatRequest;
