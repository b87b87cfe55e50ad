// The real program on a virtual display of its own, started as a user's plain
// Xvfb or xvfb-run starts it: such a display resets whenever its last client
// leaves, and a window opened during the reset fails.

#include "support/DemoProcess.h"
#include "support/TemporaryDirectory.h"

#include <gtest/gtest.h>

#include <csignal>
#include <regex>
#include <string>
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace
{
// An Xvfb with no client but the demo, on a display number it picks itself
// (so that test runs side by side do not meet), stopped at the end. It logs
// every client that connects, with the client's process id.
class ResettingDisplay
{
public:
	ResettingDisplay()
		: Pid(-1), Log(Logs.file("xvfb.log").string())
	{
		int ends[2];
		if (pipe(ends) != 0)
			return;
		Pid = fork();
		if (Pid == 0)
		{
			::close(ends[0]);
			dup2(open(Log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 2);
			const std::string fd = std::to_string(ends[1]);
			execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1024x768x24",
				"-nolisten", "tcp", "-audit", "4", static_cast<char*>(0));
			_exit(127);
		}
		::close(ends[1]);
		// Xvfb writes its display number and then a newline once it takes
		// connections; it ends when the newline cannot be written.
		std::string number;
		pollfd readable = { ends[0], POLLIN, 0 };
		char c = 0;
		while (poll(&readable, 1, 20000) == 1 && read(ends[0], &c, 1) == 1 && c != '\n')
			number += c;
		if (c == '\n')
			Name = ":" + number;
		::close(ends[0]);
	}

	~ResettingDisplay()
	{
		if (Pid > 0)
		{
			kill(Pid, SIGTERM);
			waitpid(Pid, 0, 0);
		}
	}

	// ":N", or empty when Xvfb did not start.
	const std::string& name() const { return Name; }

	// How many times the process connected to the display.
	int connectionsFrom(pid_t process) const
	{
		const std::string log = readFile(Log);
		const std::string mark = "connected from local host ( uid=";
		const std::string id = " pid=" + std::to_string(process) + " )";
		int count = 0;
		for (size_t at = log.find(mark); at != std::string::npos; at = log.find(mark, at + 1))
		{
			const size_t pid = log.find(" pid=", at);
			count += pid != std::string::npos && log.compare(pid, id.size(), id) == 0;
		}
		return count;
	}

private:
	TemporaryDirectory Logs;
	pid_t Pid;
	std::string Log;
	std::string Name;
};

} // namespace

// Direct3D 9, hardware skinning, lighting: the renderer falls back to OpenGL
// on every run, each on a display that nothing else holds. A Direct3D 9
// attempt would open and close a connection of its own and reset the display
// under the OpenGL window, which fails in some runs only, depending on the
// machine's load; the display's log shows that second connection every time.
TEST(ResettingDisplay, Direct3DAnswerOpensTheOpenGLWindowEveryTime)
{
	const int Runs = 10;
	const std::regex caption("Hardware Skinning example FPS:[0-9]+");
	for (int run = 1; run <= Runs; ++run)
	{
		SCOPED_TRACE("run " + std::to_string(run));
		ResettingDisplay display;
		ASSERT_FALSE(display.name().empty()) << "Xvfb did not start";
		DemoProcess demo("1\n1\n1\n", "", "DISPLAY=" + display.name());

		// The test's own X connections wait until the demo holds its own
		// (it has loaded the OpenGL driver): one made earlier would keep the
		// display from resetting under the demo, or reset it when it closed.
		ASSERT_TRUE(waitFor([&] { return demo.hasLoaded("libGLX_") || demo.wait(0) != -1; }, 60))
			<< "the demo neither loaded OpenGL nor ended within 60 s";
		const unsigned long window = demo.findWindow();
		ASSERT_NE(0u, window) << "exit code " << demo.wait(0) << ": " << demo.errors() << demo.output();
		std::string title;
		EXPECT_TRUE(waitFor([&] { return std::regex_match(title = demo.title(window), caption); }, 10))
			<< title;
		demo.close(window);
		ASSERT_EQ(0, demo.wait(30)) << demo.errors();
		EXPECT_NE(std::string::npos, demo.errors().find("using OpenGL instead")) << demo.errors();
		EXPECT_EQ(1, display.connectionsFrom(demo.pid())) << "the demo connects to the display once";
	}
}
