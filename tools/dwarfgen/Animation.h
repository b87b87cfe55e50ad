// The character's one animation: a march on the spot that loops.
#pragma once

#include "Skeleton.h"

#include <array>

// The engine ignores AnimTicksPerSecond and plays 25 frames a second, so
// the model uses that rate, one tick a frame.
const int TicksPerSecond = 25;
const int LoopTicks = 60; // 2.4 s: two double steps, and the head looks left and right once

// Each joint's rotation relative to its parent, and how far the pelvis is raised.
struct Pose
{
	std::array<Quat, JointCount> Rotations;
	Vec3 PelvisLift;
};

// The march on the spot at time t: each foot in turn is lifted, the arms
// swing against the legs, the axe rocks, the head looks around and the
// beard sways.
Pose march(float t);
