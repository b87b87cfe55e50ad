#include "TemporaryDirectory.h"

#include "DemoProcess.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace fs = std::filesystem;

TemporaryDirectory::TemporaryDirectory()
{
	std::string name = (fs::temp_directory_path() / "demo-test-XXXXXX").string();
	if (!mkdtemp(name.data()))
		throw std::runtime_error("no temporary directory");
	Directory = name;
}

TemporaryDirectory::~TemporaryDirectory()
{
	std::error_code ignored;
	fs::remove_all(Directory, ignored);
}

WorkingCopy::WorkingCopy()
{
	for (const char* name : { "dwarf.x", "dwarf.tga", "HWSkinV.glsl", "HWSkinV_lights.glsl", "HWSkin.hlsl" })
		fs::copy_file(fs::path(buildDirectory()) / name, file(name));
}

std::string readFile(const fs::path& file)
{
	std::ifstream in(file, std::ios::binary);
	return std::string(std::istreambuf_iterator<char>(in), {});
}

void writeFile(const fs::path& file, const std::string& text)
{
	std::ofstream(file, std::ios::binary | std::ios::trunc) << text;
}
