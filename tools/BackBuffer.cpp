#include "BackBuffer.h"

#include "Demo.h"

#include <GL/gl.h>

#include <chrono>
#include <cstring>
#include <thread>
#include <vector>

using namespace irr;

video::IImage* readBackBuffer(video::IVideoDriver* driver)
{
	if (driver->getDriverType() != video::EDT_OPENGL)
		return 0;
	const core::dimension2du size = driver->getScreenSize();
	std::vector<u8> rows(size.Width * size.Height * 3);
	glPixelStorei(GL_PACK_ALIGNMENT, 1);
	glReadBuffer(GL_BACK);
	glReadPixels(0, 0, size.Width, size.Height, GL_RGB, GL_UNSIGNED_BYTE, rows.data());

	// OpenGL's rows run bottom-up; images run top-down.
	video::IImage* image = driver->createImage(video::ECF_R8G8B8, size);
	u8* out = static_cast<u8*>(image->lock());
	const u32 pitch = size.Width * 3;
	for (u32 y = 0; y < size.Height; ++y)
		memcpy(out + y * pitch, rows.data() + (size.Height - 1 - y) * pitch, pitch);
	image->unlock();
	return image;
}

bool saveBackBuffer(video::IVideoDriver* driver, const io::path& file)
{
	video::IImage* image = readBackBuffer(driver);
	if (!image)
		return false;
	const bool written = driver->writeImageToFile(image, file);
	image->drop();
	return written;
}

video::IImage* drawStill(IrrlichtDevice* device, u32 timeMs, bool outOfStep)
{
	device->getTimer()->setTime(timeMs);
	device->getTimer()->stop();
	scene::ISceneManager* smgr = device->getSceneManager();
	video::IVideoDriver* driver = device->getVideoDriver();

	video::IImage* image = 0;
	for (int pass = 0; pass < 3; ++pass)
	{
		// The first pass lets the nodes catch up with the clock; after it
		// their frames stay where they are put.
		if (pass == 1)
			poseCrowd(smgr, outOfStep, 0.5f);
		std::this_thread::sleep_for(std::chrono::milliseconds(20));
		device->run();
		driver->beginScene(true, true, video::SColor(0xff0000c8));
		smgr->drawAll();
		if (pass == 2)
			image = readBackBuffer(driver);
		driver->endScene();
	}
	return image;
}
