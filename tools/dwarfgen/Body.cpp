#include "Body.h"

#include "Skeleton.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace
{

Influence rigid(int joint)
{
	return {{joint, 0, 0, 0}, {1, 0, 0, 0}, 1};
}

// How far along the bones on either side of a joint the two share the skin.
const float BendReach = 3;

// The weights of a parent and a child joint at a point near the child: half
// each at the joint, fading to the nearer bone alone at BendReach from it, in
// steps of a quarter, so that the rings around a bend have 0.75/0.25,
// 0.5/0.5 and 0.25/0.75 and the skin stretches smoothly when it bends.
Influence bend(int parent, int child, Vec3 at)
{
	const Vec3 bone = normalize(jointAt(child) - jointAt(parent));
	const float along = dot(at - jointAt(child), bone);
	const float toChild = std::round(4 * std::clamp(0.5f + along / (2 * BendReach), 0.f, 1.f)) / 4;
	if (toChild == 0)
		return rigid(parent);
	if (toChild == 1)
		return rigid(child);
	return {{parent, child, 0, 0}, {1 - toChild, toChild, 0, 0}, 2};
}

bool movedOnlyBy(const Influence& in, int a, int b)
{
	return std::all_of(in.Joints.begin(), in.Joints.begin() + in.Count, [&](int j) { return j == a || j == b; });
}

// The rings with their weights blended across each (parent, child) joint
// given: the rings that only those two joints move get their weights from
// where they lie, so the tables below name only the bone a ring is on.
std::vector<Ring> bent(std::vector<Ring> rings, std::initializer_list<std::pair<int, int>> joints)
{
	for (const auto& [parent, child] : joints)
		for (Ring& r : rings)
			if (movedOnlyBy(r.Joints, parent, child))
				r.Joints = bend(parent, child, r.Center);
	return rings;
}

// A cross-section of an upright part around the y axis: its height, its
// radii along x and z, and how far its centre is moved along z.
struct Section
{
	float Y, RadiusX, RadiusZ, OffsetZ;
	Influence Joints;
};

std::vector<Ring> upright(const std::vector<Section>& sections)
{
	std::vector<Ring> rings;
	for (const Section& s : sections)
		rings.push_back({{0, s.Y, s.OffsetZ}, s.RadiusX, s.RadiusZ, s.Joints});
	return rings;
}

void addBody(Mesh& mesh)
{
	// The tunic, flaring into a skirt over the tops of the legs.
	addLoft(mesh, bent(upright({
		{12.5f, 0, 0, 0, rigid(Pelvis)},
		{12.5f, 12.8f, 10.5f, 0, rigid(Pelvis)},
		{13, 13.4f, 11, 0, rigid(Pelvis)},
		{17, 12.2f, 9.8f, 0, rigid(Pelvis)},
		{20, 11.6f, 9.4f, 0, rigid(Pelvis)},
		{23, 12, 9.8f, -0.3f, rigid(Pelvis)},
		{25, 12.6f, 10.4f, -0.8f, rigid(Spine)},
		{28, 13, 10.6f, -0.9f, rigid(Spine)},
		{31, 13, 10.2f, -0.6f, rigid(Spine)},
		{34, 12.8f, 9.5f, -0.3f, rigid(Chest)},
		{37, 12, 8.6f, 0, rigid(Chest)},
		{39.5f, 10, 7.2f, 0, rigid(Chest)},
		{41, 6.5f, 5.5f, 0, rigid(Neck)},
		{43, 4.6f, 4.4f, 0, rigid(Neck)},
		{46, 4.2f, 4.2f, 0, rigid(Neck)},
		{47, 0, 0, 0, rigid(Neck)},
	}), {{Pelvis, Spine}, {Spine, Chest}, {Chest, Neck}}), AxisX, Tunic, 20);

	addLoft(mesh, upright({
		{19.8f, 0, 0, 0, rigid(Pelvis)},
		{19.8f, 12, 9.8f, -0.1f, rigid(Pelvis)},
		{22.6f, 12.3f, 10.1f, -0.3f, rigid(Pelvis)},
		{22.6f, 0, 0, 0, rigid(Pelvis)},
	}), AxisX, Leather, 20);
	addPlate(mesh, {{-2.4f, -1.9f}, {2.4f, -1.9f}, {2.4f, 1.9f}, {-2.4f, 1.9f}}, {0, 21.2f, -10.3f},
		AxisX, AxisY, 1, Gold, rigid(Pelvis));
}

void addHead(Mesh& mesh)
{
	const Vec3 forward{0, 0, -1};
	addEllipsoid(mesh, {0, 46, 0}, AxisY, AxisX, {7.8f, 7.8f, 8.5f}, Skin, rigid(Head), 16, 12);
	// Hair over the back of the head, reaching the beard at the temples.
	addEllipsoid(mesh, {0, 44.5f, 1.5f}, AxisY, AxisX, {8.1f, 8, 7}, Hair, rigid(Head), 14, 9);
	addEllipsoid(mesh, {0, 44.6f, -8.2f}, forward, AxisX, {1.7f, 2.2f, 1.9f}, Skin, rigid(Head), 10, 7);

	// The helmet: a steel dome over a gold band, with two curved horns.
	addLoft(mesh, ellipsoidRings({0, 48.5f, 0}, AxisY, {8.6f, 8.6f, 9.5f}, rigid(Head), 8, 0, 90),
		AxisX, Steel, 20);
	addLoft(mesh, upright({
		{47.8f, 0, 0, 0, rigid(Head)},
		{47.8f, 9.1f, 9.1f, 0, rigid(Head)},
		{49.6f, 9.1f, 9.1f, 0, rigid(Head)},
		{49.6f, 0, 0, 0, rigid(Head)},
	}), AxisX, Gold, 20);

	for (const Side& side : Sides)
	{
		const float s = side.Sign;
		addEllipsoid(mesh, {s * 2.9f, 45.8f, -6.9f}, forward, AxisX, {1.1f, 1.2f, 0.9f}, Eye, rigid(Head), 10, 6);
		addEllipsoid(mesh, {s * 3.1f, 47.5f, -7.2f}, AxisX, AxisY, {0.9f, 1.1f, 2.4f}, Hair, rigid(Head), 8, 6);

		// A horn sweeps out of the helmet's side along a quarter circle.
		std::vector<Ring> horn;
		const int steps = 11;
		for (int i = 0; i < steps; ++i)
		{
			const float t = float(i) / (steps - 1);
			const float a = radians(100 * t);
			const float r = i + 1 == steps ? 0 : 2.5f * std::pow(1 - t, 0.8f);
			horn.push_back({{s * (6.5f + 7.5f * std::sin(a)), 59 - 7.5f * std::cos(a), -0.5f}, r, r, rigid(Head)});
		}
		addLoft(mesh, horn, AxisZ, Horn, 8);
	}

	// The beard hangs from the face over the chest; its lower part swings.
	const std::vector<Section> beard = {
		{44.5f, 0, 0, -3.5f, rigid(Head)},
		{43.5f, 7.6f, 4.6f, -4, rigid(Head)},
		{40, 8.2f, 5, -5.5f, rigid(Head)},
		{37, 8, 4.6f, -7, rigid(Beard)},
		{33.5f, 6.8f, 3.8f, -8.8f, rigid(Beard)},
		{30, 4.6f, 2.8f, -9.9f, rigid(Beard)},
		{27.5f, 2.2f, 1.6f, -10.6f, rigid(Beard)},
		{26, 0, 0, -10.6f, rigid(Beard)},
	};
	addLoft(mesh, bent(upright(beard), {{Head, Beard}}), AxisX, Hair, 16);

	// The moustache, drooping at both ends.
	std::vector<Ring> moustache;
	const int steps = 11;
	for (int i = 0; i < steps; ++i)
	{
		const float t = 2.f * i / (steps - 1) - 1;
		const float r = i == 0 || i + 1 == steps ? 0 : 1.4f * (1 - 0.55f * t * t);
		moustache.push_back({{5.6f * t, 43.2f - 2.4f * t * t, -8.9f + 1.8f * t * t}, r, r, rigid(Head)});
	}
	addLoft(mesh, moustache, AxisY, Hair, 10);
}

void addArm(Mesh& mesh, const Side& side)
{
	const Vec3 shoulder = jointAt(side.UpperArm), elbow = jointAt(side.Forearm), wrist = jointAt(side.Hand);
	const Vec3 down = normalize(elbow - shoulder), hand = normalize(wrist - elbow);
	const Influence upper = rigid(side.UpperArm), lower = rigid(side.Forearm), fist = rigid(side.Hand);

	addEllipsoid(mesh, shoulder + Vec3{side.Sign * -0.5f, 1.3f, 0}, AxisY, AxisX, {5.8f, 6.2f, 4.2f},
		Steel, rigid(side.Shoulder), 12, 7);
	addLoft(mesh, bent({
		{shoulder - down * 4.5f, 0, 0, upper},
		{shoulder - down * 3.8f, 2.6f, 2.6f, upper},
		{shoulder - down * 2.2f, 4, 4, upper},
		{shoulder, 4.6f, 4.6f, upper},
		{lerp(shoulder, elbow, 0.5f), 4.3f, 4.3f, upper},
		{lerp(shoulder, elbow, 0.82f), 4, 4, upper},
		{elbow, 4, 4, lower},
		{lerp(elbow, wrist, 0.15f), 4.3f, 4.3f, lower},
		{lerp(elbow, wrist, 0.2f), 4.3f, 4.3f, lower},
		{lerp(elbow, wrist, 0.2f), 0, 0, lower},
	}, {{side.UpperArm, side.Forearm}}), AxisZ, Tunic, 12);
	// The glove starts inside the sleeve and bends with it at the elbow.
	addLoft(mesh, bent({
		{lerp(elbow, wrist, 0.05f), 0, 0, lower},
		{lerp(elbow, wrist, 0.08f), 3.4f, 3.4f, lower},
		{lerp(elbow, wrist, 0.5f), 3.5f, 3.5f, lower},
		{lerp(elbow, wrist, 0.85f), 3.2f, 3.2f, lower},
		{wrist, 2.8f, 2.8f, fist},
		{wrist + hand * 1, 2.4f, 2.4f, fist},
		{wrist + hand * 1.2f, 0, 0, fist},
	}, {{side.UpperArm, side.Forearm}, {side.Forearm, side.Hand}}), AxisZ, Leather, 12);
	addEllipsoid(mesh, wrist + hand * 3.3f, hand, AxisZ, {2.6f, 3, 3.4f}, Skin, fist, 12, 8);
}

void addLeg(Mesh& mesh, const Side& side)
{
	const Vec3 hip = jointAt(side.Thigh), knee = jointAt(side.Shin), ankle = jointAt(side.Foot);
	const Vec3 up{0, 1, 0};
	const Influence thigh = rigid(side.Thigh), shin = rigid(side.Shin), foot = rigid(side.Foot);

	addLoft(mesh, bent({
		{hip + up * 2.5f, 0, 0, thigh},
		{hip + up * 1.5f, 4.2f, 4.2f, thigh},
		{hip, 5.2f, 5.2f, thigh},
		{lerp(hip, knee, 0.5f), 5, 5, thigh},
		{lerp(hip, knee, 0.85f), 4.6f, 4.6f, thigh},
		{knee, 4.4f, 4.4f, shin},
		{lerp(knee, ankle, 0.25f), 4.2f, 4.2f, shin},
		{lerp(knee, ankle, 0.5f), 4, 4, shin},
		{lerp(knee, ankle, 0.55f), 0, 0, shin},
	}, {{side.Thigh, side.Shin}}), AxisX, Trousers, 12);

	// The boot: a shaft with a wide cuff, then the foot pointing forward.
	addLoft(mesh, bent({
		{lerp(knee, ankle, 0.25f), 0, 0, shin},
		{lerp(knee, ankle, 0.25f), 4.9f, 4.9f, shin},
		{lerp(knee, ankle, 0.35f), 4.9f, 4.9f, shin},
		{lerp(knee, ankle, 0.45f), 4.5f, 4.5f, shin},
		{lerp(knee, ankle, 0.75f), 4.3f, 4.3f, shin},
		{ankle, 4.2f, 4.2f, foot},
		{ankle - up * 1.5f, 4, 4, foot},
		{ankle - up * 2.5f, 0, 0, foot},
	}, {{side.Thigh, side.Shin}, {side.Shin, side.Foot}}), AxisX, Leather, 12);

	// {forward of the ankle, height, half width}; the sole lies on y = 0.
	const Influence toes = rigid(side.Toes);
	const struct { float Forward, Height, HalfWidth; Influence Joints; } sole[] = {
		{-4, 2.4f, 0, foot}, {-3.4f, 2.3f, 2.8f, foot}, {-1.5f, 2.6f, 3.6f, foot},
		{2.5f, 2.5f, 4, foot}, {5.5f, 2.2f, 4, toes}, {7.5f, 1.9f, 3.6f, toes},
		{9, 1.4f, 2.6f, toes}, {9.8f, 1.2f, 0, toes},
	};
	std::vector<Ring> rings;
	for (const auto& s : sole)
	{
		const float half = s.HalfWidth == 0 ? 0 : s.Height;
		rings.push_back({{ankle.X, s.Height, ankle.Z - s.Forward}, s.HalfWidth, half, s.Joints});
	}
	addLoft(mesh, bent(rings, {{side.Foot, side.Toes}}), AxisX, Leather, 12);
}

void addAxe(Mesh& mesh)
{
	const Vec3 grip = jointAt(Axe);
	const Influence axe = rigid(Axe);
	const Vec3 at{grip.X, 0, grip.Z};
	auto shaft = [&](float from, float to, float radius, Swatch swatch) {
		addLoft(mesh, {
			{at + AxisY * from, 0, 0, axe},
			{at + AxisY * from, radius, radius, axe},
			{at + AxisY * to, radius, radius, axe},
			{at + AxisY * to, 0, 0, axe},
		}, AxisX, swatch, 10);
	};
	shaft(5, 44, 1.1f, Wood);
	shaft(4.2f, 6, 1.5f, Steel);
	shaft(37, 44.6f, 1.7f, Steel);

	// The bit points outwards, away from the body; a spike backs it.
	const Vec3 out{-1, 0, 0};
	addPlate(mesh, {{0, -2.6f}, {5, -3.6f}, {8.2f, -6.8f}, {9.4f, -3.5f}, {9.8f, 0}, {9.4f, 3.5f},
		{8.2f, 6.8f}, {5, 3.6f}, {0, 2.6f}}, at + AxisY * 40.8f + out * 1.2f, out, AxisY, 1, Blade, axe);
	addPlate(mesh, {{0, -1.8f}, {4.5f, 0}, {0, 1.8f}}, at + AxisY * 40.8f - out * 1.2f, out * -1, AxisY,
		1, Steel, axe);
}

} // namespace

Mesh buildDwarf()
{
	Mesh mesh;
	addBody(mesh);
	addHead(mesh);
	for (const Side& side : Sides)
	{
		addArm(mesh, side);
		addLeg(mesh, side);
	}
	addAxe(mesh);
	dropUnusedVertices(mesh);
	return mesh;
}
