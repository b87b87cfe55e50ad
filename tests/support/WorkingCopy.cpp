#include "WorkingCopy.h"

#include "DemoProcess.h"

#include <cstdlib>
#include <fstream>
#include <stdexcept>

namespace fs = std::filesystem;

WorkingCopy::WorkingCopy()
{
	std::string name = (fs::temp_directory_path() / "demo-work-XXXXXX").string();
	if (!mkdtemp(name.data()))
		throw std::runtime_error("no temporary directory");
	Directory = name;
	for (const char* file : { "dwarf.x", "dwarf.tga", "HWSkinV.glsl", "HWSkinV_lights.glsl", "HWSkin.hlsl" })
		fs::copy_file(fs::path(buildDirectory()) / file, Directory / file);
}

WorkingCopy::~WorkingCopy()
{
	std::error_code ignored;
	fs::remove_all(Directory, ignored);
}

void WorkingCopy::write(const char* name, const std::string& text) const
{
	std::ofstream(Directory / name, std::ios::binary | std::ios::trunc) << text;
}
