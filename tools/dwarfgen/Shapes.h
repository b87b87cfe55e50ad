// The shapes the character is built of: lofts through rings (tubes and
// ellipsoids) and flat plates, added to one mesh whose vertices carry the
// joints that move them.
#pragma once

#include "Texture.h"

#include <array>
#include <vector>

// The joints moving a vertex and their weights, which sum to 1.
struct Influence
{
	std::array<int, 4> Joints;
	std::array<float, 4> Weights;
	int Count;
};

struct Vertex
{
	Vec3 Position;
	Vec3 Normal;
	Vec2 Uv;
	Influence Joints;
};

struct Mesh
{
	std::vector<Vertex> Vertices;
	std::vector<std::array<int, 3>> Faces;

	// Adds the triangle unless it has no area. Its front is the side that
	// (b - a) x (c - a) points to: clockwise seen from there in the
	// left-handed space of the engine.
	void addFace(int a, int b, int c)
	{
		const Vec3 n = faceNormal(a, b, c);
		if (length(n) > 1e-6f)
			Faces.push_back({a, b, c});
	}

	Vec3 faceNormal(int a, int b, int c) const
	{
		const Vec3 pa = Vertices[a].Position;
		return cross(Vertices[b].Position - pa, Vertices[c].Position - pa);
	}
};

// A cross-section of a loft: an ellipse around Center with radius RadiusU
// along the loft's side direction and RadiusW across it. Both radii zero
// make a pole that closes the loft.
struct Ring
{
	Vec3 Center;
	float RadiusU, RadiusW;
	Influence Joints;
};

// A smooth closed surface through a row of rings, like a tube or an
// ellipsoid. The side vector fixes where each ring starts and is kept
// square to the path of the ring centres.
void addLoft(Mesh& mesh, const std::vector<Ring>& rings, Vec3 side, Swatch swatch, int segments);

// Rings of an ellipsoid around center, from latitude fromDeg to toDeg
// (-90 to 90 for a whole one); radii are along the side, across it and
// along the axis. A cut end is closed flat.
std::vector<Ring> ellipsoidRings(Vec3 center, Vec3 axis, Vec3 radii, Influence joints,
	int rings, float fromDeg = -90, float toDeg = 90);

// A whole ellipsoid, its rings around axis.
void addEllipsoid(Mesh& mesh, Vec3 center, Vec3 axis, Vec3 side, Vec3 radii, Swatch swatch,
	Influence joints, int segments, int rings);

// A flat plate with sharp edges, cut to an outline that is counter-clockwise
// in (axisX, axisY) and star-shaped around its mean point; its faces look
// along axisX x axisY and back.
void addPlate(Mesh& mesh, const std::vector<Vec2>& outline, Vec3 origin, Vec3 axisX, Vec3 axisY,
	float thickness, Swatch swatch, Influence joints);

// Removes the vertices that no face uses, like the doubled seam vertex at a
// pole, which the engine's loader cannot place in a mesh buffer.
void dropUnusedVertices(Mesh& mesh);
