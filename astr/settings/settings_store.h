#pragma once
void loadSettings();
void writeDefaults();
