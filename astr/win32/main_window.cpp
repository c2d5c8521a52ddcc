#include "main_window.h"

HWND mainWindow = nullptr;
