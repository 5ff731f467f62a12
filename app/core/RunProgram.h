#pragma once
// The start and end of both programs: refuses to start without a window
// system, starts the engine runtime and the SQL engine, installs the engine's
// prompts in windows with the exception handler, lets `start` create the main
// window and runs the message loop until the program ends; the windows'
// connections end before the engine runtime does. Returns the exit code.
#include <functional>

int RunProgram(int argc, char** argv, const char* program_name, const std::function<void()>& start);
