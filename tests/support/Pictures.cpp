#include "Pictures.h"

#include "StillFrame.h"
#include "DemoProcess.h"

#include <GL/gl.h>

#include <cstdlib>

using namespace irr;

namespace
{
u32 channelDistance(video::SColor a, video::SColor b)
{
	return core::max_(abs(s32(a.getRed()) - s32(b.getRed())),
		core::max_(abs(s32(a.getGreen()) - s32(b.getGreen())), abs(s32(a.getBlue()) - s32(b.getBlue()))));
}
} // namespace

double differingFraction(video::IImage* a, video::IImage* b, u32 tolerance)
{
	const core::dimension2du size = a->getDimension();
	if (size != b->getDimension())
		return 1.0;
	u32 differing = 0;
	for (u32 y = 0; y < size.Height; ++y)
		for (u32 x = 0; x < size.Width; ++x)
			differing += channelDistance(a->getPixel(x, y), b->getPixel(x, y)) > tolerance;
	return double(differing) / (size.Width * size.Height);
}

double fractionNotColour(video::IImage* image, video::SColor colour, u32 tolerance)
{
	const core::dimension2du size = image->getDimension();
	u32 other = 0;
	for (u32 y = 0; y < size.Height; ++y)
		for (u32 x = 0; x < size.Width; ++x)
			other += channelDistance(image->getPixel(x, y), colour) > tolerance;
	return double(other) / (size.Width * size.Height);
}

video::IImage* loadImage(const std::string& file)
{
	IrrlichtDevice* device = createDevice(video::EDT_NULL);
	video::IImage* image = device->getVideoDriver()->createImageFromFile(file.c_str());
	device->drop();
	return image;
}

void saveImage(video::IImage* image, const std::string& file)
{
	IrrlichtDevice* device = createDevice(video::EDT_NULL);
	device->getVideoDriver()->writeImageToFile(image, file.c_str());
	device->drop();
}

video::IImage* renderCrowd(const RunOptions& options, unsigned* glError, const std::string& workingDirectory)
{
	holdDisplay();
	DemoDevice demo(options);
	IrrlichtDevice* device = demo.device();
	if (!device)
		return 0;
	io::IFileSystem* fileSystem = device->getFileSystem();
	const io::path startDirectory = fileSystem->getWorkingDirectory();
	if (!workingDirectory.empty())
		fileSystem->changeWorkingDirectoryTo(workingDirectory.c_str());
	// Camera and light circles start at the clock's time when they are made.
	device->getTimer()->setTime(0);
	device->getTimer()->stop();
	video::IImage* frame = 0;
	if (demo.buildScene())
	{
		frame = drawStill(device, 0, options.OutOfStep);
		*glError = glGetError();
	}
	fileSystem->changeWorkingDirectoryTo(startDirectory);
	return frame;
}
