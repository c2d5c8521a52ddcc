// What the window asks ChoosePixelFormat for; after the choice, the chosen
// format's description. The settings load fills in its colour and depth bits.
#pragma once

#include <windows.h>

extern PIXELFORMATDESCRIPTOR pixelFormatRequest;
