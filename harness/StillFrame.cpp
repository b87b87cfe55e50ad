#include "StillFrame.h"

#include "BackBuffer.h"
#include "Demo.h"

#include <chrono>
#include <thread>

using namespace irr;

video::IImage* drawStill(IrrlichtDevice* device, u32 timeMs, bool outOfStep)
{
	device->getTimer()->setTime(timeMs);
	device->getTimer()->stop();

	video::IImage* image = 0;
	for (int pass = 0; pass < 3; ++pass)
	{
		// The first pass lets the nodes catch up with the clock; after it
		// their frames stay where they are put. The passes are a palette
		// interval apart, so hardware skinning shows the pose put.
		if (pass == 1)
			poseCrowd(device->getSceneManager(), outOfStep, 0.5f);
		std::this_thread::sleep_for(std::chrono::milliseconds(PaletteInterval + 3));
		device->run();
		drawFrame(device, [&] {
			if (pass == 2)
				image = readBackBuffer(device->getVideoDriver());
		});
	}
	return image;
}
