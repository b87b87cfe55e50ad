// A small X helper for the scripts and tests that drive the demo's window.
//
//   xwin find SECONDS          waits for the demo's window (a top-level window
//                              whose title starts with the demo's caption
//                              title) and prints its id
//   xwin title ID              prints the window's current title
//   xwin close ID              asks the window to close, as a window manager
//                              does (a WM_DELETE_WINDOW message)
//
// Exits 0 on success, 1 when the window is not there, 2 on bad usage.

#include "Caption.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

namespace
{
bool readTitle(Display* display, Window window, std::string& title)
{
	char* name = 0;
	if (!XFetchName(display, window, &name) || !name)
		return false;
	title = name;
	XFree(name);
	return true;
}

Window findWindow(Display* display, const char* prefix)
{
	Window root, parent, *children = 0;
	unsigned int count = 0;
	Window found = 0;
	if (!XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count))
		return 0;
	for (unsigned int i = 0; i < count && !found; ++i)
	{
		std::string title;
		if (readTitle(display, children[i], title) && title.rfind(prefix, 0) == 0)
			found = children[i];
	}
	if (children)
		XFree(children);
	return found;
}

int find(Display* display, const char* prefix, double seconds)
{
	const auto deadline = std::chrono::steady_clock::now()
		+ std::chrono::milliseconds(static_cast<long>(seconds * 1000));
	do
	{
		if (Window window = findWindow(display, prefix))
		{
			printf("%lu\n", window);
			return 0;
		}
		std::this_thread::sleep_for(std::chrono::milliseconds(50));
	} while (std::chrono::steady_clock::now() < deadline);
	fprintf(stderr, "xwin: no window titled \"%s...\" within %g s\n", prefix, seconds);
	return 1;
}

int close(Display* display, Window window)
{
	XEvent event;
	memset(&event, 0, sizeof(event));
	event.xclient.type = ClientMessage;
	event.xclient.window = window;
	event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
	event.xclient.format = 32;
	event.xclient.data.l[0] = XInternAtom(display, "WM_DELETE_WINDOW", False);
	event.xclient.data.l[1] = CurrentTime;
	XSendEvent(display, window, False, NoEventMask, &event);
	XSync(display, False);
	return 0;
}

// X errors (such as a window that has gone) end the tool with exit code 1.
int onXError(Display*, XErrorEvent*)
{
	exit(1);
}
} // namespace

int main(int argc, char** argv)
{
	if (argc != 3)
	{
		fprintf(stderr, "usage: xwin find SECONDS | xwin title ID | xwin close ID\n");
		return 2;
	}
	Display* display = XOpenDisplay(0);
	if (!display)
	{
		fprintf(stderr, "xwin: cannot open the display\n");
		return 1;
	}
	XSetErrorHandler(onXError);

	int result = 2;
	const std::string command = argv[1];
	if (command == "find")
		result = find(display, CaptionTitle, atof(argv[2]));
	else if (command == "title" || command == "close")
	{
		const Window window = strtoul(argv[2], 0, 0);
		std::string title;
		if (command == "close")
			result = close(display, window);
		else if (readTitle(display, window, title))
		{
			printf("%s\n", title.c_str());
			result = 0;
		}
		else
			result = 1;
	}
	XCloseDisplay(display);
	return result;
}
