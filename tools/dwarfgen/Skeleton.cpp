#include "Skeleton.h"

const JointDef Skeleton[JointCount] = {
	{"Root", -1, {0, 0, 0}},
	{"Pelvis", Root, {0, 20, 0}},
	{"Spine", Pelvis, {0, 25, 0}},
	{"Chest", Spine, {0, 32, 0}},
	{"Neck", Chest, {0, 41, 0}},
	{"Head", Neck, {0, 44, 0}},
	{"Beard", Head, {0, 38.5f, -6}},
	{"LeftShoulder", Chest, {4, 38, 0}},
	{"LeftUpperArm", LeftShoulder, {13, 37.5f, 0}},
	{"LeftForearm", LeftUpperArm, {15.5f, 28, 0}},
	{"LeftHand", LeftForearm, {17, 19, -0.5f}},
	{"RightShoulder", Chest, {-4, 38, 0}},
	{"RightUpperArm", RightShoulder, {-13, 37.5f, 0}},
	{"RightForearm", RightUpperArm, {-15.5f, 28, 0}},
	{"RightHand", RightForearm, {-17, 19, -0.5f}},
	{"Axe", RightHand, {-17.5f, 15.8f, -0.7f}},
	{"LeftThigh", Pelvis, {6, 19, 0}},
	{"LeftShin", LeftThigh, {6.2f, 11, -0.3f}},
	{"LeftFoot", LeftShin, {6.3f, 3.5f, 0.5f}},
	{"LeftToes", LeftFoot, {6.3f, 1.5f, -5}},
	{"RightThigh", Pelvis, {-6, 19, 0}},
	{"RightShin", RightThigh, {-6.2f, 11, -0.3f}},
	{"RightFoot", RightShin, {-6.3f, 3.5f, 0.5f}},
	{"RightToes", RightFoot, {-6.3f, 1.5f, -5}},
};

const Side Sides[2] = {
	{1, LeftShoulder, LeftUpperArm, LeftForearm, LeftHand, LeftThigh, LeftShin, LeftFoot, LeftToes},
	{-1, RightShoulder, RightUpperArm, RightForearm, RightHand, RightThigh, RightShin, RightFoot, RightToes},
};

Vec3 jointAt(int joint)
{
	return Skeleton[joint].Position;
}

Vec3 localOffset(int joint)
{
	const int parent = Skeleton[joint].Parent;
	return parent < 0 ? jointAt(joint) : jointAt(joint) - jointAt(parent);
}
