#include "Shapes.h"

#include <algorithm>

void addLoft(Mesh& mesh, const std::vector<Ring>& rings, Vec3 side, Swatch swatch, int segments)
{
	const int n = static_cast<int>(rings.size());
	const int columns = segments + 1; // the seam column is doubled for the texture
	const int first = static_cast<int>(mesh.Vertices.size());
	const Vec3 axis = normalize(rings.back().Center - rings.front().Center);
	for (int i = 0; i < n; ++i)
	{
		const Ring& r = rings[i];
		Vec3 tangent = rings[std::min(i + 1, n - 1)].Center - rings[std::max(i - 1, 0)].Center;
		tangent = length(tangent) > 1e-4f ? normalize(tangent) : axis;
		// Going round u towards w = tangent x u makes (u, w, tangent) turn
		// like (x, y, z), so the faces below have their fronts outside.
		const Vec3 u = normalize(side - tangent * dot(side, tangent));
		const Vec3 w = cross(tangent, u);
		for (int j = 0; j < columns; ++j)
		{
			const float a = 2 * Pi * j / segments;
			const Vec3 p = r.Center + u * (r.RadiusU * std::cos(a)) + w * (r.RadiusW * std::sin(a));
			mesh.Vertices.push_back({p, {0, 0, 0}, atlasUv(swatch, float(j) / segments, float(i) / (n - 1)), r.Joints});
		}
	}
	auto at = [&](int i, int j) { return first + i * columns + j; };
	for (int i = 0; i + 1 < n; ++i)
		for (int j = 0; j < segments; ++j)
		{
			mesh.addFace(at(i, j), at(i, j + 1), at(i + 1, j));
			mesh.addFace(at(i, j + 1), at(i + 1, j + 1), at(i + 1, j));
		}

	// Smooth normals from the faces around each vertex, shared across the
	// seam and around the poles, where several vertices sit at one point.
	std::vector<Vec3> sum(n * columns, Vec3{0, 0, 0});
	for (const auto& f : mesh.Faces)
		if (f[0] >= first)
		{
			const Vec3 fn = mesh.faceNormal(f[0], f[1], f[2]);
			for (int v : f)
				sum[v - first] = sum[v - first] + fn;
		}
	for (int i = 0; i < n; ++i)
	{
		const bool pole = rings[i].RadiusU == 0 && rings[i].RadiusW == 0;
		Vec3 ringSum{0, 0, 0};
		for (int j = 0; j < segments; ++j)
			ringSum = ringSum + sum[i * columns + j];
		const Vec3 seam = sum[i * columns] + sum[i * columns + segments];
		for (int j = 0; j < columns; ++j)
		{
			const Vec3 s = pole ? ringSum : (j == 0 || j == segments) ? seam : sum[i * columns + j];
			mesh.Vertices[at(i, j)].Normal = normalize(s);
		}
	}
}

std::vector<Ring> ellipsoidRings(Vec3 center, Vec3 axis, Vec3 radii, Influence joints,
	int rings, float fromDeg, float toDeg)
{
	std::vector<Ring> out;
	auto pole = [&](float sine) { out.push_back({center + axis * (radii.Z * sine), 0, 0, joints}); };
	if (fromDeg > -90)
		pole(std::sin(radians(fromDeg)));
	for (int i = 0; i < rings; ++i)
	{
		const float lat = radians(fromDeg + (toDeg - fromDeg) * i / (rings - 1));
		const float c = std::abs(std::cos(lat)) < 1e-6f ? 0 : std::cos(lat);
		out.push_back({center + axis * (radii.Z * std::sin(lat)), radii.X * c, radii.Y * c, joints});
	}
	if (toDeg < 90)
		pole(std::sin(radians(toDeg)));
	return out;
}

void addEllipsoid(Mesh& mesh, Vec3 center, Vec3 axis, Vec3 side, Vec3 radii, Swatch swatch,
	Influence joints, int segments, int rings)
{
	addLoft(mesh, ellipsoidRings(center, axis, radii, joints, rings), side, swatch, segments);
}

void addPlate(Mesh& mesh, const std::vector<Vec2>& outline, Vec3 origin, Vec3 axisX, Vec3 axisY,
	float thickness, Swatch swatch, Influence joints)
{
	const Vec3 n = normalize(cross(axisX, axisY));
	Vec2 lo = outline[0], hi = outline[0], mid{0, 0};
	for (Vec2 p : outline)
	{
		lo = {std::min(lo.X, p.X), std::min(lo.Y, p.Y)};
		hi = {std::max(hi.X, p.X), std::max(hi.Y, p.Y)};
		mid = {mid.X + p.X / outline.size(), mid.Y + p.Y / outline.size()};
	}
	auto vertex = [&](Vec2 p, float depth, Vec3 normal) {
		mesh.Vertices.push_back({origin + axisX * p.X + axisY * p.Y + n * depth, normal,
			atlasUv(swatch, (p.X - lo.X) / (hi.X - lo.X), (p.Y - lo.Y) / (hi.Y - lo.Y)), joints});
		return static_cast<int>(mesh.Vertices.size()) - 1;
	};
	const int count = static_cast<int>(outline.size());
	for (float facing : {1.f, -1.f})
	{
		const float depth = facing * thickness / 2;
		const int centre = vertex(mid, depth, n * facing);
		const int ring = static_cast<int>(mesh.Vertices.size());
		for (Vec2 p : outline)
			vertex(p, depth, n * facing);
		for (int k = 0; k < count; ++k)
		{
			const int a = ring + k, b = ring + (k + 1) % count;
			if (facing > 0)
				mesh.addFace(centre, a, b);
			else
				mesh.addFace(centre, b, a);
		}
	}
	for (int k = 0; k < count; ++k)
	{
		const Vec2 p = outline[k], q = outline[(k + 1) % count];
		const Vec3 edge = axisX * (q.X - p.X) + axisY * (q.Y - p.Y);
		const Vec3 out = normalize(cross(edge, n));
		const int a = vertex(p, thickness / 2, out), b = vertex(q, thickness / 2, out);
		const int c = vertex(p, -thickness / 2, out), d = vertex(q, -thickness / 2, out);
		mesh.addFace(a, c, b);
		mesh.addFace(b, c, d);
	}
}

void dropUnusedVertices(Mesh& mesh)
{
	std::vector<int> newIndex(mesh.Vertices.size(), -1);
	for (const auto& f : mesh.Faces)
		for (int v : f)
			newIndex[v] = 0;
	std::vector<Vertex> kept;
	for (size_t v = 0; v < mesh.Vertices.size(); ++v)
		if (newIndex[v] == 0)
		{
			newIndex[v] = static_cast<int>(kept.size());
			kept.push_back(mesh.Vertices[v]);
		}
	mesh.Vertices = std::move(kept);
	for (auto& f : mesh.Faces)
		for (int& v : f)
			v = newIndex[v];
}
