#pragma once

int AsmCommand(int argc, char** argv);
int RunCommand(int argc, char** argv);
int TestCommand(int argc, char** argv);
