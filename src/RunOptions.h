// What the user chose: the command line and the start-up dialogue.
#pragma once

#include <iosfwd>

// The three answers of the start-up dialogue, each the single character typed;
// the zero character where no answer came. Then the command line's choice.
struct RunOptions
{
	char DriverKey = 0;   // '1' Direct3D 9, anything else OpenGL
	char SkinningKey = 0; // '1' hardware, '2' engine with a caption note, '3' none, else engine
	char LightingKey = 0; // '1' lighting on, anything else off
	bool OutOfStep = false; // every character at its own point of the walk
};

// The demo's command line options, as --help lists them.
extern const char* const CommandLineUsage;

// Reads the command line into options. Returns the exit code when the program
// ends here: 0 after --help (the usage printed on out), 2 after an unknown
// option (a message and the usage on err); -1 when it goes on.
int readCommandLine(int argc, const char* const argv[], RunOptions& options,
	std::ostream& out, std::ostream& err);

// Asks the three questions on out and reads one character for each from in;
// the other fields are kept from `options`.
RunOptions askRunOptions(std::istream& in, std::ostream& out, RunOptions options = RunOptions());
