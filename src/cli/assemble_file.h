#pragma once
#include <cstdio>
#include <string>
#include "assembler/assembler.h"

// Reads and assembles a source file for a command. Returns 0 when it assembled;
// otherwise the exit status, after writing the error lines to errorStream and
// message 1000 (or the reason the file could not be read) to standard error.
int AssembleFile(const std::string& path, CAssembler& assembler, std::FILE* errorStream);
