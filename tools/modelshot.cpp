// modelshot: draws the character model with the OpenGL driver and saves
// pictures of it, to check by eye what the generator made.
//
// Usage: modelshot OUT_PREFIX [FRAME...]
// Loads dwarf.x from the working directory and, for each animation frame
// given (0 and 15 when none are), writes
//   OUT_PREFIX_<frame>_lit.png    close up: one dwarf facing the camera and
//                                 one turned to show its left side, lit
//   OUT_PREFIX_<frame>_unlit.png  the same without lighting
//   OUT_PREFIX_<frame>_crowd.png  a block of dwarves 50 apart, lit, seen
//                                 from the demo's camera distance
// The OpenGL driver needs a display; without one, run it through
// scripts/with-display.sh.

#include "BackBuffer.h"
#include "Demo.h"

#include <irrlicht.h>

#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

using namespace irr;

namespace
{

struct Shot
{
	const char* Name;
	std::vector<scene::IAnimatedMeshSceneNode*>* Dwarves;
	core::vector3df Eye;
	core::vector3df Target;
	bool Lit;
};

} // namespace

int main(int argc, char** argv)
{
	if (argc < 2)
	{
		std::cerr << "usage: modelshot OUT_PREFIX [FRAME...]\n";
		return 2;
	}
	std::vector<f32> frames;
	for (int i = 2; i < argc; ++i)
		frames.push_back(static_cast<f32>(std::atof(argv[i])));
	if (frames.empty())
		frames = {0, 15};

	IrrlichtDevice* device = createDevice(video::EDT_OPENGL, WindowSize);
	if (!device)
	{
		std::cerr << "modelshot: cannot open an OpenGL window\n";
		return 1;
	}
	video::IVideoDriver* driver = device->getVideoDriver();
	scene::ISceneManager* scene = device->getSceneManager();
	scene::IAnimatedMesh* mesh = scene->getMesh("dwarf.x");
	if (!mesh)
	{
		std::cerr << "modelshot: cannot load dwarf.x from the working directory\n";
		device->drop();
		return 1;
	}

	// Every dwarf holds still at the frame being shot.
	auto addDwarf = [&](const core::vector3df& at, f32 turn, std::vector<scene::IAnimatedMeshSceneNode*>& group) {
		scene::IAnimatedMeshSceneNode* node = scene->addAnimatedMeshSceneNode(mesh, 0, -1, at, core::vector3df(0, turn, 0));
		node->setAnimationSpeed(0);
		group.push_back(node);
	};
	std::vector<scene::IAnimatedMeshSceneNode*> closeUp, crowd;
	addDwarf({-22, 0, 0}, 0, closeUp);
	addDwarf({26, 0, 0}, -90, closeUp);
	for (int row = -1; row <= 1; ++row)
		for (int col = -1; col <= 1; ++col)
			addDwarf({col * 50.f, 0, row * 50.f}, 0, crowd);

	scene->setAmbientLight(video::SColorf(0.35f, 0.35f, 0.35f));
	scene->addLightSceneNode(0, {-150, 200, -250}, video::SColorf(1, 1, 1), 1000);
	scene::ICameraSceneNode* camera = scene->addCameraSceneNode();

	// The demo's camera circles at radius 200 and height 100, looking at height 32.
	const Shot shots[] = {
		{"lit", &closeUp, {0, 40, -105}, {2, 30, 0}, true},
		{"unlit", &closeUp, {0, 40, -105}, {2, 30, 0}, false},
		{"crowd", &crowd, {-100, 100, -173}, {0, 32, 0}, true},
	};

	bool ok = true;
	device->run();
	for (f32 frame : frames)
		for (const Shot& shot : shots)
		{
			for (auto* group : {&closeUp, &crowd})
				for (scene::IAnimatedMeshSceneNode* node : *group)
				{
					node->setVisible(group == shot.Dwarves);
					node->setMaterialFlag(video::EMF_LIGHTING, shot.Lit);
					node->setCurrentFrame(frame);
				}
			camera->setPosition(shot.Eye);
			camera->setTarget(shot.Target);

			const std::string file = std::string(argv[1]) + "_" + std::to_string(static_cast<int>(frame)) + "_" + shot.Name + ".png";
			driver->beginScene(true, true, video::SColor(255, 90, 100, 120));
			scene->drawAll();
			// The back buffer holds the picture only until endScene().
			if (!saveBackBuffer(driver, file.c_str()))
			{
				std::cerr << "modelshot: cannot write " << file << "\n";
				ok = false;
			}
			driver->endScene();
		}
	device->drop();
	return ok ? 0 : 1;
}
