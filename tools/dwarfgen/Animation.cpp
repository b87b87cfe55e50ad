#include "Animation.h"

#include <algorithm>

namespace
{

const float StepSeconds = 1.2f; // both feet once

} // namespace

Pose march(float t)
{
	Pose pose;
	pose.Rotations.fill({1, 0, 0, 0});
	const float step = 2 * Pi * t / StepSeconds;
	const float look = 2 * Pi * t / (float(LoopTicks) / TicksPerSecond);
	auto turn = [&](int joint, Vec3 axis, float degrees) {
		pose.Rotations[joint] = pose.Rotations[joint] * rotation(axis, degrees);
	};

	for (const Side& side : Sides)
	{
		// The left foot rises in the first half of the step, the right in the second.
		const float phase = side.Sign > 0 ? step : step + Pi;
		const float lift = std::max(0.f, std::sin(phase));
		turn(side.Thigh, AxisX, 50 * lift);
		turn(side.Shin, AxisX, -55 * lift);
		turn(side.Foot, AxisX, -5 * lift);
		turn(side.Toes, AxisX, -15 * lift);
		turn(side.Shoulder, AxisZ, side.Sign * 2 * std::sin(phase));
		turn(side.Hand, AxisX, 10 * std::sin(phase + 0.5f));
	}
	// The free left arm swings wide; the right one holds the axe forward.
	turn(LeftUpperArm, AxisX, -28 * std::sin(step));
	turn(LeftForearm, AxisX, 15 + 15 * std::max(0.f, std::sin(step + Pi)));
	turn(RightUpperArm, AxisX, 8 + 15 * std::sin(step));
	turn(RightForearm, AxisX, 35 + 10 * std::sin(step));
	turn(Axe, AxisX, -12 * std::sin(step - 0.6f));

	pose.PelvisLift = {0, 0.45f * std::abs(std::sin(step)), 0};
	turn(Pelvis, AxisZ, 4 * std::sin(step));
	turn(Spine, AxisZ, -2.5f * std::sin(step));
	turn(Spine, AxisX, -3);
	turn(Chest, AxisY, 5 * std::sin(step));
	turn(Neck, AxisY, 6 * std::sin(look));
	turn(Head, AxisY, 18 * std::sin(look));
	turn(Head, AxisX, -3 + 3 * std::sin(2 * step));
	turn(Beard, AxisX, 6 * std::sin(2 * step - 1));
	turn(Beard, AxisZ, 4 * std::sin(step));
	return pose;
}
