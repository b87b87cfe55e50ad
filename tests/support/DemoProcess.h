// Runs the real demo binary as a user would: answers on standard input, the
// console output collected, and its window found, read and closed through the
// X server.
#pragma once

#include <functional>
#include <string>
#include <vector>
#include <sys/types.h>

class DemoProcess
{
public:
	// Starts the demo in workingDirectory (the build directory when empty)
	// with `answers` on standard input, closed after them, one change of its
	// environment ("NAME=value", or "NAME=" to remove NAME) and the command
	// line arguments. A changed DISPLAY is also where its window is looked for.
	explicit DemoProcess(const std::string& answers, const std::string& workingDirectory = "",
		const std::string& environment = "", const std::vector<std::string>& arguments = {});
	~DemoProcess();

	// The id of the demo's window, or 0 when none appeared in time.
	unsigned long findWindow(double seconds = 60);
	std::string title(unsigned long window) const;
	// Saves what the window shows as a PNG, read from the X server.
	bool screenshot(unsigned long window, const std::string& file) const;
	// Asks the window to close, as a window manager does.
	void close(unsigned long window) const;

	// The exit code, or -1 when the demo did not end in time (it is killed)
	// or ended by a signal.
	int wait(double seconds = 30);

	// Whether the running demo has loaded a shared library whose file name
	// contains `name`.
	bool hasLoaded(const std::string& name) const;
	pid_t pid() const { return Pid; }

	std::string output() const;
	std::string errors() const;

private:
	pid_t Pid;
	bool Finished;
	int ExitCode;
	std::string OutputFile, ErrorFile;
	std::string XEnvironment; // put before the X helpers' commands
};

// Asks `done` every 20 ms until it answers true (then true) or `seconds` have
// passed (then false); with 0 seconds it asks once.
bool waitFor(const std::function<bool()>& done, double seconds);

// Runs a shell command and returns what it printed on standard output.
std::string commandOutput(const std::string& command);

// The build directory, where the demo, its model and vertex programs stand.
std::string buildDirectory();

// Holds one connection to the display (DISPLAY) for the rest of the test
// program. A virtual display resets when its last client leaves, and a window
// opened during the reset fails; held, it never resets under the test. False
// when there is no display.
bool holdDisplay();
