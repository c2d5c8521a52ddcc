#pragma once
int setupGlState(int width, int height);
