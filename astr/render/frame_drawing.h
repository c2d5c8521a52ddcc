#pragma once
void drawFrame();
