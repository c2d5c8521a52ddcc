// Finds the package's INF file in the current folder and reads its values.
#pragma once

// Fills infDescriptor. On failure the user has been told, and the launcher
// ends with exit code 1.
bool loadInfDescriptor();
