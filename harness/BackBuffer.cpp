#include "BackBuffer.h"

#include <GL/gl.h>

#include <cstring>
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
