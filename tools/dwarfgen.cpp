// dwarfgen: generates the demo's character, a marching dwarf with a horned
// helmet, a red beard and an axe, as a DirectX text model with its texture.
//
// Usage: dwarfgen OUTPUT_DIR
// Writes OUTPUT_DIR/dwarf.tga (the texture atlas) and OUTPUT_DIR/dwarf.x (the
// skinned, animated model), each under a temporary name first and renamed
// when complete, so a failed run never leaves a model that looks finished.
//
// The dwarf stands about 60 units tall with its feet on y = 0, centred on
// the y axis and facing -z. Its one animation marches on the spot and loops.
// Every vertex is white: all colour comes from the texture, and the vertices
// that a bend shares between joints are weighted equally, because the demo's
// vertex program weighs the influences of a vertex equally.
// The output is the same, byte for byte, on every run.

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

namespace
{

const float Pi = 3.14159265358979f;

float radians(float degrees)
{
	return degrees * Pi / 180.f;
}

struct Vec2
{
	float X, Y;
};

struct Vec3
{
	float X, Y, Z;
};

Vec3 operator+(Vec3 a, Vec3 b) { return {a.X + b.X, a.Y + b.Y, a.Z + b.Z}; }
Vec3 operator-(Vec3 a, Vec3 b) { return {a.X - b.X, a.Y - b.Y, a.Z - b.Z}; }
Vec3 operator*(Vec3 a, float s) { return {a.X * s, a.Y * s, a.Z * s}; }
float dot(Vec3 a, Vec3 b) { return a.X * b.X + a.Y * b.Y + a.Z * b.Z; }
float length(Vec3 a) { return std::sqrt(dot(a, a)); }
Vec3 normalize(Vec3 a) { return a * (1.f / length(a)); }
Vec3 lerp(Vec3 a, Vec3 b, float t) { return a + (b - a) * t; }

Vec3 cross(Vec3 a, Vec3 b)
{
	return {a.Y * b.Z - a.Z * b.Y, a.Z * b.X - a.X * b.Z, a.X * b.Y - a.Y * b.X};
}

const Vec3 AxisX{1, 0, 0}, AxisY{0, 1, 0}, AxisZ{0, 0, 1};

// A rotation. Rotating by a positive angle about axis n turns v towards
// n x v: about the x axis +y turns towards +z, so a positive pitch swings a
// hanging limb forward (to -z) and leans an upright part back.
struct Quat
{
	float W, X, Y, Z;
};

Quat rotation(Vec3 axis, float degrees)
{
	const float half = radians(degrees) / 2;
	const float s = std::sin(half);
	return {std::cos(half), axis.X * s, axis.Y * s, axis.Z * s};
}

Quat operator*(Quat a, Quat b)
{
	return {a.W * b.W - a.X * b.X - a.Y * b.Y - a.Z * b.Z,
		a.W * b.X + a.X * b.W + a.Y * b.Z - a.Z * b.Y,
		a.W * b.Y - a.X * b.Z + a.Y * b.W + a.Z * b.X,
		a.W * b.Z + a.X * b.Y - a.Y * b.X + a.Z * b.W};
}

// ---------------------------------------------------------------- skeleton

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

Vec3 jointAt(int joint)
{
	return Skeleton[joint].Position;
}

// The joints of one side; Sign is +1 on the left (+x), -1 on the right.
struct Side
{
	float Sign;
	JointId Shoulder, UpperArm, Forearm, Hand, Thigh, Shin, Foot, Toes;
};

const Side Sides[2] = {
	{1, LeftShoulder, LeftUpperArm, LeftForearm, LeftHand, LeftThigh, LeftShin, LeftFoot, LeftToes},
	{-1, RightShoulder, RightUpperArm, RightForearm, RightHand, RightThigh, RightShin, RightFoot, RightToes},
};

// The joints moving a vertex, all with the same weight.
struct Influence
{
	std::array<int, 4> Joints;
	int Count;
};

Influence rigid(int joint)
{
	return {{joint, 0, 0, 0}, 1};
}

Influence blend(int a, int b)
{
	return {{a, b, 0, 0}, 2};
}

// ----------------------------------------------------------------- texture

// The texture is an atlas of square swatches, one per kind of surface.
enum Swatch { Skin, Hair, Tunic, Trousers, Leather, Steel, Wood, Blade, Horn, Eye, Gold, SwatchCount };

const int AtlasSize = 256;
const int SwatchSize = 64;
const int SwatchesPerRow = AtlasSize / SwatchSize;
// Keeps texture lookups off the swatch borders, which blur into the
// neighbours in the smaller mipmaps.
const int SwatchInset = 6;

struct Rgb
{
	float R, G, B;
};

// Repeatable noise in [0, 1) from integer coordinates.
float noise(int x, int y, int salt)
{
	uint32_t h = static_cast<uint32_t>(x) * 73856093u ^ static_cast<uint32_t>(y) * 19349663u
		^ static_cast<uint32_t>(salt) * 83492791u;
	h ^= h >> 13;
	h *= 0x5bd1e995u;
	h ^= h >> 15;
	return static_cast<float>(h & 0xffffu) / 65536.f;
}

Rgb shade(Rgb c, float f)
{
	return {c.R * f, c.G * f, c.B * f};
}

// The colour of swatch s at (u, v) in [0, 1]; x and y are texel indices
// within the swatch for grainy patterns. v runs along the part.
Rgb paint(Swatch s, float u, float v, int x, int y)
{
	const float grain = noise(x, y, s) - 0.5f;
	switch (s)
	{
	case Skin:
		return shade({226, 170, 128}, 1 + 0.05f * grain);
	case Hair: // streaks running down the beard
		return shade({178, 82, 30}, 0.8f + 0.35f * noise(x / 2, 0, s) + 0.1f * grain);
	case Tunic: // a coarse weave
		return shade({46, 84, 150}, ((x + y) % 4 < 2 ? 1.05f : 0.92f) + 0.06f * grain);
	case Trousers:
		return shade({118, 92, 62}, 1 + 0.12f * grain);
	case Leather:
		return shade({82, 52, 30}, 1 + 0.2f * noise(x / 3, y / 3, s) - 0.1f);
	case Steel: // brushed
		return shade({150, 156, 166}, 1 + 0.12f * noise(0, y, s) + 0.04f * grain);
	case Wood: // grain along the handle
		return shade({128, 84, 44}, 0.9f + 0.15f * std::sin(u * 40 + 3 * noise(x / 4, 0, s)) + 0.05f * grain);
	case Blade: // brightening towards the cutting edge
		return shade({150, 156, 168}, 0.9f + 0.6f * u * u);
	case Horn: // rings along the horn
		return shade({228, 214, 178}, 0.9f + 0.1f * std::sin(v * 40));
	case Eye: // white with the iris at the front
		return v < 0.72f ? Rgb{235, 235, 230} : Rgb{40, 30, 25};
	case Gold:
		return shade({210, 166, 52}, 1 + 0.15f * grain);
	case SwatchCount:
		break;
	}
	return {255, 0, 255};
}

// An uncompressed 24-bit TGA of the atlas, rows bottom-up as TGA has them by default.
std::string makeTexture()
{
	std::string tga(18, '\0');
	tga[2] = 2; // uncompressed true colour
	tga[12] = static_cast<char>(AtlasSize & 0xff);
	tga[13] = static_cast<char>(AtlasSize >> 8);
	tga[14] = tga[12];
	tga[15] = tga[13];
	tga[16] = 24;
	for (int row = AtlasSize - 1; row >= 0; --row)
		for (int col = 0; col < AtlasSize; ++col)
		{
			const int s = (row / SwatchSize) * SwatchesPerRow + col / SwatchSize;
			Rgb c{255, 0, 255};
			if (s < SwatchCount)
			{
				const int x = col % SwatchSize, y = row % SwatchSize;
				const float span = SwatchSize - 2 * SwatchInset;
				const float u = std::clamp((x - SwatchInset) / span, 0.f, 1.f);
				const float v = std::clamp((y - SwatchInset) / span, 0.f, 1.f);
				c = paint(static_cast<Swatch>(s), u, v, x, y);
			}
			for (float channel : {c.B, c.G, c.R})
				tga += static_cast<char>(std::clamp(static_cast<int>(channel + 0.5f), 0, 255));
		}
	return tga;
}

// Texture coordinates of (u, v) in [0, 1] within swatch s.
Vec2 atlasUv(Swatch s, float u, float v)
{
	const float span = SwatchSize - 2 * SwatchInset;
	return {((s % SwatchesPerRow) * SwatchSize + SwatchInset + u * span) / AtlasSize,
		((s / SwatchesPerRow) * SwatchSize + SwatchInset + v * span) / AtlasSize};
}

// -------------------------------------------------------------------- mesh

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

// Rings of an ellipsoid around center, from latitude fromDeg to toDeg
// (-90 to 90 for a whole one); radii are along the side, across it and
// along the axis. A cut end is closed flat.
std::vector<Ring> ellipsoidRings(Vec3 center, Vec3 axis, Vec3 radii, Influence joints,
	int rings, float fromDeg = -90, float toDeg = 90)
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

// A flat plate with sharp edges, cut to an outline that is counter-clockwise
// in (axisX, axisY) and star-shaped around its mean point; its faces look
// along axisX x axisY and back.
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

// ------------------------------------------------------------------- parts

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
	addLoft(mesh, upright({
		{12.5f, 0, 0, 0, rigid(Pelvis)},
		{12.5f, 12.8f, 10.5f, 0, rigid(Pelvis)},
		{13, 13.4f, 11, 0, rigid(Pelvis)},
		{17, 12.2f, 9.8f, 0, rigid(Pelvis)},
		{20, 11.6f, 9.4f, 0, rigid(Pelvis)},
		{23, 12, 9.8f, -0.3f, rigid(Pelvis)},
		{25, 12.6f, 10.4f, -0.8f, blend(Pelvis, Spine)},
		{28, 13, 10.6f, -0.9f, rigid(Spine)},
		{31, 13, 10.2f, -0.6f, blend(Spine, Chest)},
		{34, 12.8f, 9.5f, -0.3f, rigid(Chest)},
		{37, 12, 8.6f, 0, rigid(Chest)},
		{39.5f, 10, 7.2f, 0, rigid(Chest)},
		{41, 6.5f, 5.5f, 0, blend(Chest, Neck)},
		{43, 4.6f, 4.4f, 0, rigid(Neck)},
		{46, 4.2f, 4.2f, 0, rigid(Neck)},
		{47, 0, 0, 0, rigid(Neck)},
	}), AxisX, Tunic, 20);

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
		{37, 8, 4.6f, -7, blend(Head, Beard)},
		{33.5f, 6.8f, 3.8f, -8.8f, rigid(Beard)},
		{30, 4.6f, 2.8f, -9.9f, rigid(Beard)},
		{27.5f, 2.2f, 1.6f, -10.6f, rigid(Beard)},
		{26, 0, 0, -10.6f, rigid(Beard)},
	};
	addLoft(mesh, upright(beard), AxisX, Hair, 16);

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
	addLoft(mesh, {
		{shoulder - down * 4.5f, 0, 0, upper},
		{shoulder - down * 3.8f, 2.6f, 2.6f, upper},
		{shoulder - down * 2.2f, 4, 4, upper},
		{shoulder, 4.6f, 4.6f, upper},
		{lerp(shoulder, elbow, 0.5f), 4.3f, 4.3f, upper},
		{lerp(shoulder, elbow, 0.82f), 4, 4, upper},
		{elbow, 4, 4, blend(side.UpperArm, side.Forearm)},
		{lerp(elbow, wrist, 0.15f), 4.3f, 4.3f, lower},
		{lerp(elbow, wrist, 0.2f), 4.3f, 4.3f, lower},
		{lerp(elbow, wrist, 0.2f), 0, 0, lower},
	}, AxisZ, Tunic, 12);
	addLoft(mesh, {
		{lerp(elbow, wrist, 0.05f), 0, 0, lower},
		{lerp(elbow, wrist, 0.08f), 3.4f, 3.4f, lower},
		{lerp(elbow, wrist, 0.5f), 3.5f, 3.5f, lower},
		{lerp(elbow, wrist, 0.85f), 3.2f, 3.2f, lower},
		{wrist, 2.8f, 2.8f, blend(side.Forearm, side.Hand)},
		{wrist + hand * 1, 2.4f, 2.4f, fist},
		{wrist + hand * 1.2f, 0, 0, fist},
	}, AxisZ, Leather, 12);
	addEllipsoid(mesh, wrist + hand * 3.3f, hand, AxisZ, {2.6f, 3, 3.4f}, Skin, fist, 12, 8);
}

void addLeg(Mesh& mesh, const Side& side)
{
	const Vec3 hip = jointAt(side.Thigh), knee = jointAt(side.Shin), ankle = jointAt(side.Foot);
	const Vec3 up{0, 1, 0};
	const Influence thigh = rigid(side.Thigh), shin = rigid(side.Shin), foot = rigid(side.Foot);

	addLoft(mesh, {
		{hip + up * 2.5f, 0, 0, thigh},
		{hip + up * 1.5f, 4.2f, 4.2f, thigh},
		{hip, 5.2f, 5.2f, thigh},
		{lerp(hip, knee, 0.5f), 5, 5, thigh},
		{lerp(hip, knee, 0.85f), 4.6f, 4.6f, thigh},
		{knee, 4.4f, 4.4f, blend(side.Thigh, side.Shin)},
		{lerp(knee, ankle, 0.25f), 4.2f, 4.2f, shin},
		{lerp(knee, ankle, 0.5f), 4, 4, shin},
		{lerp(knee, ankle, 0.55f), 0, 0, shin},
	}, AxisX, Trousers, 12);

	// The boot: a shaft with a wide cuff, then the foot pointing forward.
	addLoft(mesh, {
		{lerp(knee, ankle, 0.25f), 0, 0, shin},
		{lerp(knee, ankle, 0.25f), 4.9f, 4.9f, shin},
		{lerp(knee, ankle, 0.35f), 4.9f, 4.9f, shin},
		{lerp(knee, ankle, 0.45f), 4.5f, 4.5f, shin},
		{lerp(knee, ankle, 0.75f), 4.3f, 4.3f, shin},
		{ankle, 4.2f, 4.2f, blend(side.Shin, side.Foot)},
		{ankle - up * 1.5f, 4, 4, foot},
		{ankle - up * 2.5f, 0, 0, foot},
	}, AxisX, Leather, 12);

	// {forward of the ankle, height, half width}; the sole lies on y = 0.
	const Influence toes = rigid(side.Toes), ball = blend(side.Foot, side.Toes);
	const struct { float Forward, Height, HalfWidth; Influence Joints; } sole[] = {
		{-4, 2.4f, 0, foot}, {-3.4f, 2.3f, 2.8f, foot}, {-1.5f, 2.6f, 3.6f, foot},
		{2.5f, 2.5f, 4, foot}, {5.5f, 2.2f, 4, ball}, {7.5f, 1.9f, 3.6f, toes},
		{9, 1.4f, 2.6f, toes}, {9.8f, 1.2f, 0, toes},
	};
	std::vector<Ring> rings;
	for (const auto& s : sole)
	{
		const float half = s.HalfWidth == 0 ? 0 : s.Height;
		rings.push_back({{ankle.X, s.Height, ankle.Z - s.Forward}, s.HalfWidth, half, s.Joints});
	}
	addLoft(mesh, rings, AxisX, Leather, 12);
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

// Removes the vertices that no face uses, like the doubled seam vertex at a
// pole, which the engine's loader cannot place in a mesh buffer.
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

// --------------------------------------------------------------- animation

// The engine ignores AnimTicksPerSecond and plays 25 frames a second, so
// the model uses that rate, one tick a frame.
const int TicksPerSecond = 25;
const int LoopTicks = 60; // 2.4 s: two double steps, and the head looks left and right once
const float StepSeconds = 1.2f; // both feet once

struct Pose
{
	std::array<Quat, JointCount> Rotations;
	Vec3 PelvisLift;
};

// The march on the spot at time t: each foot in turn is lifted, the arms
// swing against the legs, the axe rocks, the head looks around and the
// beard sways.
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

// ------------------------------------------------------------------ output

// Fixed-point numbers that do not depend on the locale.
void put(std::string& out, float value)
{
	char buffer[32];
	const auto end = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 6).ptr;
	std::string text(buffer, end);
	out += text == "-0.000000" ? "0.000000" : text;
}

void putList(std::string& out, const std::vector<float>& values, const char* separator)
{
	for (size_t i = 0; i < values.size(); ++i)
	{
		if (i)
			out += separator;
		put(out, values[i]);
	}
}

// A translation matrix, rows as the X format stores them.
std::vector<float> translation(Vec3 t)
{
	return {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, t.X, t.Y, t.Z, 1};
}

Vec3 localOffset(int joint)
{
	const int parent = Skeleton[joint].Parent;
	return parent < 0 ? jointAt(joint) : jointAt(joint) - jointAt(parent);
}

void writeFrame(std::string& out, int joint, const std::string& indent)
{
	out += indent + "Frame " + Skeleton[joint].Name + " {\n";
	out += indent + " FrameTransformMatrix {\n" + indent + "  ";
	putList(out, translation(localOffset(joint)), ",");
	out += ";;\n" + indent + " }\n";
	for (int child = 0; child < JointCount; ++child)
		if (Skeleton[child].Parent == joint)
			writeFrame(out, child, indent + " ");
	out += indent + "}\n";
}

// Writes count items, each produced by item(i), separated by ",\n" and closed by ";\n".
template <typename Item>
void writeArray(std::string& out, size_t count, Item item)
{
	out += std::to_string(count) + ";\n";
	for (size_t i = 0; i < count; ++i)
	{
		item(i);
		out += i + 1 < count ? ",\n" : ";\n";
	}
}

void writeMesh(std::string& out, const Mesh& mesh)
{
	const auto& vs = mesh.Vertices;
	const auto& fs = mesh.Faces;
	auto face = [&](size_t i) {
		out += "3;" + std::to_string(fs[i][0]) + "," + std::to_string(fs[i][1]) + "," + std::to_string(fs[i][2]) + ";";
	};
	auto vector = [&](Vec3 v) {
		putList(out, {v.X, v.Y, v.Z}, ";");
		out += ";";
	};

	out += "Mesh Dwarf {\n";
	writeArray(out, vs.size(), [&](size_t i) { vector(vs[i].Position); });
	writeArray(out, fs.size(), face);

	out += "MeshNormals {\n";
	writeArray(out, vs.size(), [&](size_t i) { vector(vs[i].Normal); });
	writeArray(out, fs.size(), face);
	out += "}\n";

	out += "MeshTextureCoords {\n";
	writeArray(out, vs.size(), [&](size_t i) {
		putList(out, {vs[i].Uv.X, vs[i].Uv.Y}, ";");
		out += ";";
	});
	out += "}\n";

	out += "MeshVertexColors {\n";
	writeArray(out, vs.size(), [&](size_t i) { out += std::to_string(i) + ";1.000000;1.000000;1.000000;1.000000;;"; });
	out += "}\n";

	out += "MeshMaterialList {\n1;\n";
	writeArray(out, fs.size(), [&](size_t) { out += "0"; });
	out += "Material Dwarf {\n1.000000;1.000000;1.000000;1.000000;;\n0.000000;\n"
		"0.000000;0.000000;0.000000;;\n0.000000;0.000000;0.000000;;\n"
		"TextureFilename {\n\"dwarf.tga\";\n}\n}\n}\n";

	// The vertices of each joint, and the most joints that one face touches.
	std::vector<std::vector<int>> named(JointCount);
	for (size_t v = 0; v < vs.size(); ++v)
		for (int k = 0; k < vs[v].Joints.Count; ++k)
			named[vs[v].Joints.Joints[k]].push_back(static_cast<int>(v));
	int perVertex = 0, perFace = 0;
	for (const Vertex& v : vs)
		perVertex = std::max(perVertex, v.Joints.Count);
	for (const auto& f : fs)
	{
		std::vector<int> joints;
		for (int v : f)
			joints.insert(joints.end(), vs[v].Joints.Joints.begin(), vs[v].Joints.Joints.begin() + vs[v].Joints.Count);
		std::sort(joints.begin(), joints.end());
		perFace = std::max(perFace, static_cast<int>(std::unique(joints.begin(), joints.end()) - joints.begin()));
	}
	const int bones = static_cast<int>(std::count_if(named.begin(), named.end(), [](const auto& n) { return !n.empty(); }));
	out += "XSkinMeshHeader {\n" + std::to_string(perVertex) + ";\n" + std::to_string(perFace) + ";\n"
		+ std::to_string(bones) + ";\n}\n";

	for (int joint = 0; joint < JointCount; ++joint)
	{
		const std::vector<int>& ids = named[joint];
		if (ids.empty())
			continue;
		out += std::string("SkinWeights {\n\"") + Skeleton[joint].Name + "\";\n" + std::to_string(ids.size()) + ";\n";
		for (size_t i = 0; i < ids.size(); ++i)
			out += std::to_string(ids[i]) + (i + 1 < ids.size() ? ",\n" : ";\n");
		for (size_t i = 0; i < ids.size(); ++i)
		{
			put(out, 1.f / vs[ids[i]].Joints.Count);
			out += i + 1 < ids.size() ? ",\n" : ";\n";
		}
		// The offset matrix takes the bind pose into the joint's space.
		putList(out, translation(jointAt(joint) * -1), ",");
		out += ";;\n}\n";
	}
	out += "}\n";
}

void writeAnimation(std::string& out)
{
	// A key on every tick. The key at the loop's end repeats the first, and
	// one more follows it, because the engine's scene node plays a mesh
	// only up to the frame before its last key.
	const int keys = LoopTicks + 2;
	std::vector<Pose> poses;
	for (int k = 0; k < keys; ++k)
		poses.push_back(march(float(k % LoopTicks) / TicksPerSecond));

	out += "AnimTicksPerSecond {\n" + std::to_string(TicksPerSecond) + ";\n}\n";
	out += "AnimationSet March {\n";
	for (int joint = 0; joint < JointCount; ++joint)
	{
		out += std::string("Animation {\n{") + Skeleton[joint].Name + "}\n";
		out += "AnimationKey {\n0;\n";
		writeArray(out, keys, [&](size_t k) {
			// The format keeps the quaternion of the inverse rotation (the
			// engine's loader reads it so): its conjugate.
			const Quat q = poses[k].Rotations[joint];
			out += std::to_string(k) + ";4;";
			putList(out, {q.W, -q.X, -q.Y, -q.Z}, ",");
			out += ";;";
		});
		out += "}\nAnimationKey {\n2;\n";
		writeArray(out, keys, [&](size_t k) {
			const Vec3 p = localOffset(joint) + (joint == Pelvis ? poses[k].PelvisLift : Vec3{0, 0, 0});
			out += std::to_string(k) + ";3;";
			putList(out, {p.X, p.Y, p.Z}, ",");
			out += ";;";
		});
		out += "}\n}\n";
	}
	out += "}\n";
}

std::string makeModel()
{
	std::string out = "xof 0303txt 0032\n\n";
	writeFrame(out, Root, "");
	writeMesh(out, buildDwarf());
	writeAnimation(out);
	return out;
}

// Writes the file under a temporary name and renames it when complete.
bool writeFile(const std::filesystem::path& path, const std::string& bytes)
{
	std::filesystem::path temporary = path;
	temporary += ".part";
	{
		std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
		if (file && file.write(bytes.data(), static_cast<std::streamsize>(bytes.size())) && file.flush())
		{
			file.close();
			std::error_code error;
			std::filesystem::rename(temporary, path, error);
			if (!error)
				return true;
		}
	}
	std::error_code ignored;
	std::filesystem::remove(temporary, ignored);
	std::cerr << "dwarfgen: cannot write " << path.string() << "\n";
	return false;
}

} // namespace

int main(int argc, char** argv)
{
	if (argc != 2)
	{
		std::cerr << "usage: dwarfgen OUTPUT_DIR\n"
			"Writes the demo's character model dwarf.x and its texture dwarf.tga into OUTPUT_DIR.\n";
		return 2;
	}
	const std::filesystem::path dir = argv[1];
	std::error_code error;
	if (!std::filesystem::is_directory(dir, error))
	{
		std::cerr << "dwarfgen: output directory " << dir.string() << " does not exist or is not a directory\n";
		return 1;
	}
	// The texture goes first: a model on disk always has its texture.
	if (!writeFile(dir / "dwarf.tga", makeTexture()) || !writeFile(dir / "dwarf.x", makeModel()))
		return 1;
	return 0;
}
