#include "RunOptions.h"

#include <istream>
#include <ostream>
#include <string>

namespace
{
// Prints a prompt, making sure it is on the console before the answer is read.
char ask(std::istream& in, std::ostream& out, const char* prompt)
{
	out << prompt << std::flush;
	char answer = 0;
	in >> answer;
	return answer;
}
} // namespace

const char* const CommandLineUsage =
	"Usage: hwskinning [--out-of-step] [--help]\n"
	"  --out-of-step  every character starts at its own point of the walk and walks\n"
	"                 at its own pace (without it the whole crowd walks in step)\n"
	"  --help         prints this text\n"
	"The renderer, the skinning and the lighting are asked on the console.\n";

int readCommandLine(int argc, const char* const argv[], RunOptions& options,
	std::ostream& out, std::ostream& err)
{
	for (int i = 1; i < argc; ++i)
	{
		const std::string argument = argv[i];
		if (argument == "--out-of-step")
			options.OutOfStep = true;
		else if (argument == "--help")
		{
			out << CommandLineUsage;
			return 0;
		}
		else
		{
			err << "Unknown option \"" << argument << "\".\n" << CommandLineUsage;
			return 2;
		}
	}
	return -1;
}

RunOptions askRunOptions(std::istream& in, std::ostream& out, RunOptions options)
{
	options.DriverKey = ask(in, out, "Dx or Ogl?\n1.Dx\n2.Ogl\n");
	options.SkinningKey = ask(in, out,
		"Activate the hardware skinning?\n1.Yes\n2.No\n3.Disable skinning\n");
	options.LightingKey = ask(in, out, "Enable Lighting?\n1.Yes\n2.No\n");
	return options;
}
