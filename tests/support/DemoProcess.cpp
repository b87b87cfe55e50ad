#include "DemoProcess.h"

#include "TemporaryDirectory.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <thread>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <X11/Xlib.h>

namespace
{
std::string xwin(const std::string& environment, const std::string& arguments)
{
	return commandOutput(environment + XWIN_BIN + " " + arguments);
}
} // namespace

std::string commandOutput(const std::string& command)
{
	std::string result;
	if (FILE* pipe = popen(command.c_str(), "r"))
	{
		char buffer[4096];
		size_t n;
		while ((n = fread(buffer, 1, sizeof(buffer), pipe)) > 0)
			result.append(buffer, n);
		pclose(pipe);
	}
	return result;
}

std::string buildDirectory()
{
	const std::string demo = DEMO_BIN;
	return demo.substr(0, demo.rfind('/'));
}

bool holdDisplay()
{
	// Kept open on purpose: the connection lasts as long as the program.
	static Display* const display = [] {
		const char* name = getenv("DISPLAY");
		// The display may be in the middle of a reset left by an earlier test.
		for (int attempt = 0; name && *name && attempt < 50; ++attempt)
		{
			if (Display* opened = XOpenDisplay(name))
				return opened;
			std::this_thread::sleep_for(std::chrono::milliseconds(100));
		}
		return static_cast<Display*>(0);
	}();
	return display != 0;
}

DemoProcess::DemoProcess(const std::string& answers, const std::string& workingDirectory,
	const std::string& environment, const std::vector<std::string>& arguments)
	: Pid(-1), Finished(false), ExitCode(-1)
{
	static int counter = 0;
	const std::string base = "/tmp/demo-" + std::to_string(getpid()) + "-" + std::to_string(++counter);
	OutputFile = base + ".out";
	ErrorFile = base + ".err";
	const std::string directory = workingDirectory.empty() ? buildDirectory() : workingDirectory;
	const char* demo = DEMO_BIN;
	std::vector<char*> argv = { const_cast<char*>(demo) };
	for (const std::string& argument : arguments)
		argv.push_back(const_cast<char*>(argument.c_str()));
	argv.push_back(0);
	holdDisplay();
	if (environment.compare(0, 8, "DISPLAY=") == 0)
		XEnvironment = environment + " ";

	int input[2];
	if (pipe(input) != 0)
		return;
	Pid = fork();
	if (Pid == 0)
	{
		dup2(input[0], 0);
		::close(input[0]);
		::close(input[1]);
		dup2(open(OutputFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 1);
		dup2(open(ErrorFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 2);
		if (chdir(directory.c_str()) != 0)
			_exit(127);
		// "NAME=value" sets a variable, "NAME=" removes it.
		const size_t equals = environment.find('=');
		if (equals != std::string::npos && equals + 1 == environment.size())
			unsetenv(environment.substr(0, equals).c_str());
		else if (equals != std::string::npos)
			putenv(const_cast<char*>(environment.c_str()));
		execv(demo, argv.data());
		_exit(127);
	}
	::close(input[0]);
	if (write(input[1], answers.data(), answers.size()) != static_cast<ssize_t>(answers.size()))
		perror("writing the answers");
	::close(input[1]);
}

DemoProcess::~DemoProcess()
{
	if (wait(0) == -1 && !Finished && Pid > 0)
	{
		kill(Pid, SIGKILL);
		waitpid(Pid, 0, 0);
	}
	unlink(OutputFile.c_str());
	unlink(ErrorFile.c_str());
}

unsigned long DemoProcess::findWindow(double seconds)
{
	unsigned long window = 0;
	waitFor([&] {
		if (wait(0) != -1)
			return true; // the demo ended before showing a window
		window = strtoul(xwin(XEnvironment, "find 0.5 2>/dev/null").c_str(), 0, 10);
		return window != 0;
	}, seconds);
	return window;
}

std::string DemoProcess::title(unsigned long window) const
{
	std::string text = xwin(XEnvironment, "title " + std::to_string(window));
	if (!text.empty() && text.back() == '\n')
		text.pop_back();
	return text;
}

bool DemoProcess::screenshot(unsigned long window, const std::string& file) const
{
	return system((XEnvironment + "import -window " + std::to_string(window) + " " + file + " 2>/dev/null").c_str()) == 0;
}

void DemoProcess::close(unsigned long window) const
{
	xwin(XEnvironment, "close " + std::to_string(window));
}

int DemoProcess::wait(double seconds)
{
	if (Finished || Pid <= 0)
		return ExitCode;
	const bool ended = waitFor([&] {
		int status = 0;
		if (waitpid(Pid, &status, WNOHANG) != Pid)
			return false;
		ExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
		return true;
	}, seconds);
	if (!ended && seconds > 0)
	{
		kill(Pid, SIGKILL);
		waitpid(Pid, 0, 0);
	}
	Finished = ended || seconds > 0;
	return ended ? ExitCode : -1;
}

bool waitFor(const std::function<bool()>& done, double seconds)
{
	const auto deadline = std::chrono::steady_clock::now()
		+ std::chrono::milliseconds(static_cast<long>(seconds * 1000));
	while (!done())
	{
		if (std::chrono::steady_clock::now() >= deadline)
			return false;
		std::this_thread::sleep_for(std::chrono::milliseconds(20));
	}
	return true;
}

bool DemoProcess::hasLoaded(const std::string& name) const
{
	std::ifstream maps("/proc/" + std::to_string(Pid) + "/maps");
	std::string line;
	while (std::getline(maps, line))
		if (line.find('/') != std::string::npos && line.find(name, line.rfind('/')) != std::string::npos)
			return true;
	return false;
}

std::string DemoProcess::output() const
{
	return readFile(OutputFile);
}

std::string DemoProcess::errors() const
{
	return readFile(ErrorFile);
}
