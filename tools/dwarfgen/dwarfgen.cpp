// dwarfgen: generates the demo's character, a marching dwarf with a horned
// helmet, a red beard and an axe, as a DirectX text model with its texture.
//
// Usage: dwarfgen OUTPUT_DIR
// Writes OUTPUT_DIR/dwarf.tga (the texture atlas) and OUTPUT_DIR/dwarf.x (the
// skinned, animated model), each under a temporary name first and renamed
// when complete, so a failed run never leaves a model that looks finished.
//
// The dwarf stands about 60 units tall with its feet on y = 0, centred on
// the y axis and facing -z. Its one animation marches on the spot and loops.
// Every vertex is white: all colour comes from the texture. Around each
// bend the skin is shared by the two joints with weights that fade from one
// to the other across the rings there.
// The output is the same, byte for byte, on every run.

#include "DwarfModel.h"
#include "Texture.h"

#include <irrlicht.h>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

namespace
{

// The texture as the bytes of an image file, written by the engine's image
// writer for the file name's type.
std::string encodeTexture(const char* fileName)
{
	irr::SIrrlichtCreationParameters parameters;
	parameters.DriverType = irr::video::EDT_NULL;
	parameters.LoggingLevel = irr::ELL_NONE;
	irr::IrrlichtDevice* device = irr::createDeviceEx(parameters);
	if (!device)
		return "";
	irr::video::IVideoDriver* driver = device->getVideoDriver();
	irr::video::IImage* image = makeTexture(driver);
	// Room for the pixels and any header the format adds.
	std::vector<char> memory(image->getImageDataSizeInBytes() + 4096);
	irr::io::IWriteFile* file = device->getFileSystem()->createMemoryWriteFile(memory.data(),
		static_cast<irr::s32>(memory.size()), fileName);
	std::string bytes;
	if (driver->writeImageToFile(image, file))
		bytes.assign(memory.data(), file->getPos());
	file->drop();
	image->drop();
	device->drop();
	return bytes;
}

// Writes the file under a temporary name and renames it when complete.
bool writeFile(const std::filesystem::path& path, const std::string& bytes)
{
	std::filesystem::path temporary = path;
	temporary += ".part";
	{
		std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
		if (file && file.write(bytes.data(), static_cast<std::streamsize>(bytes.size())) && file.flush())
		{
			file.close();
			std::error_code error;
			std::filesystem::rename(temporary, path, error);
			if (!error)
				return true;
		}
	}
	std::error_code ignored;
	std::filesystem::remove(temporary, ignored);
	std::cerr << "dwarfgen: cannot write " << path.string() << "\n";
	return false;
}

} // namespace

int main(int argc, char** argv)
{
	if (argc != 2)
	{
		std::cerr << "usage: dwarfgen OUTPUT_DIR\n"
			"Writes the demo's character model dwarf.x and its texture dwarf.tga into OUTPUT_DIR.\n";
		return 2;
	}
	const std::filesystem::path dir = argv[1];
	std::error_code error;
	if (!std::filesystem::is_directory(dir, error))
	{
		std::cerr << "dwarfgen: output directory " << dir.string() << " does not exist or is not a directory\n";
		return 1;
	}
	const std::string texture = encodeTexture(TextureFile);
	if (texture.empty())
	{
		std::cerr << "dwarfgen: cannot make the texture\n";
		return 1;
	}
	// The texture goes first: a model on disk always has its texture.
	if (!writeFile(dir / TextureFile, texture) || !writeFile(dir / "dwarf.x", xfile::toText(describeDwarf())))
		return 1;
	return 0;
}
