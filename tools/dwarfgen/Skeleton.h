// The character's skeleton: its joints where they stand in the bind pose.
#pragma once

#include "Maths.h"

enum JointId
{
	Root, Pelvis, Spine, Chest, Neck, Head, Beard,
	LeftShoulder, LeftUpperArm, LeftForearm, LeftHand,
	RightShoulder, RightUpperArm, RightForearm, RightHand, Axe,
	LeftThigh, LeftShin, LeftFoot, LeftToes,
	RightThigh, RightShin, RightFoot, RightToes,
	JointCount
};

struct JointDef
{
	const char* Name;
	int Parent;
	Vec3 Position; // in the bind pose, where no joint is rotated
};

// The character's left is +x, as it faces -z.
extern const JointDef Skeleton[JointCount];

// Where the joint is in the bind pose, and where relative to its parent.
Vec3 jointAt(int joint);
Vec3 localOffset(int joint);

// The joints of one side; Sign is +1 on the left (+x), -1 on the right.
struct Side
{
	float Sign;
	JointId Shoulder, UpperArm, Forearm, Hand, Thigh, Shin, Foot, Toes;
};

extern const Side Sides[2];
