// What a fault-injected test build reads from its environment: the one step
// it is to fail, and the file it logs its rerouted calls to.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <cstring>

// True when the environment variable names this step.
inline bool faultChosen(const char* variable, const char* step)
{
    const char* chosen = std::getenv(variable);
    return chosen && std::strcmp(chosen, step) == 0;
}

// Appends the event as a line to the file the environment variable names.
inline void logFault(const char* variable, const char* event)
{
    if (const char* path = std::getenv(variable))
        if (std::FILE* file = std::fopen(path, "a")) {
            std::fprintf(file, "%s\n", event);
            std::fclose(file);
        }
}
