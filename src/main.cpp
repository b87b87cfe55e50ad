// Hardware skinning example: a crowd of 42 animated characters, skinned by a
// vertex program fed with the joint matrices, by the engine on the CPU, or
// not at all. The frame rate in the window caption compares the three.
//
// Three questions on the console choose the renderer, the skinning mode and
// the lighting; the option --out-of-step sets every character at its own point
// of the walk, where skinning on the CPU costs per character. The model
// dwarf.x and the vertex programs are read from the working directory.

#include "Demo.h"

#include <iostream>

int main(int argc, char* argv[])
{
	RunOptions options;
	const int exitCode = readCommandLine(argc, argv, options, std::cout, std::cerr);
	if (exitCode >= 0)
		return exitCode;
	options = askRunOptions(std::cin, std::cout, options);

	DemoDevice demo(options);
	if (!demo.device() || !demo.buildScene())
		return 1;

	runFrameLoop(demo.device(), options);
	return 0;
}
