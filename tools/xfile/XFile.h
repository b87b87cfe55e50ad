// XFile: writes a skinned, animated model as a DirectX text model
// ("xof 0303txt 0032"), the format the engine's .x loader reads.
//
// Describe the model with the plain structs below and call toText():
//
//   xfile::Model model;
//   model.Frames = {{"Root", -1, xfile::translation({0, 0, 0})},
//                   {"Tip", 0, xfile::translation({0, 10, 0})}};
//   xfile::Mesh mesh;
//   mesh.Positions = ...; mesh.Triangles = ...;
//   mesh.Skin = {{"Tip", {{0, 1.f}, {1, 0.5f}}, xfile::translation({0, -10, 0})}, ...};
//   model.Meshes.push_back(mesh);
//   std::string text = xfile::toText(model);
//
// The writer does not check the model: indices must be in range and the
// optional per-vertex lists either empty or as long as Positions. Numbers are
// written with six decimals, the same on every run and in every locale.
#pragma once

#include <array>
#include <string>
#include <vector>

namespace xfile
{

struct Vector2
{
	float X, Y;
};

struct Vector3
{
	float X, Y, Z;
};

// A rotation as a unit quaternion: turning by a positive angle about an axis
// n moves a point v towards n x v. The writer stores it the way the engine's
// loader reads it (the format keeps the inverse rotation).
struct Quaternion
{
	float W, X, Y, Z;
};

struct Rgb
{
	float R, G, B;
};

struct Rgba
{
	float R, G, B, A;
};

// A 4x4 matrix in the order the file stores it, which is also the memory
// layout of the engine's core::matrix4: row by row, the translation in
// elements 12, 13 and 14.
using Matrix = std::array<float, 16>;

// The matrix that moves points by offset; translation({0, 0, 0}) is the identity.
Matrix translation(Vector3 offset);

// A frame (a joint) of the hierarchy. Parent is the index of its parent in
// Model::Frames, or -1 for a root; Transform places it in its parent.
struct Frame
{
	std::string Name;
	int Parent;
	Matrix Transform;
};

struct Material
{
	std::string Name; // may be empty
	Rgba Diffuse{1, 1, 1, 1};
	float SpecularPower = 0;
	Rgb Specular{0, 0, 0};
	Rgb Emissive{0, 0, 0};
	std::string TextureFile; // empty for an untextured material
};

// One vertex moved by a joint, and how strongly.
struct Weight
{
	unsigned Vertex;
	float Strength;
};

// The vertices that the frame named Joint moves. Offset takes the mesh in its
// bind pose into the joint's space: the inverse of the joint's bind pose
// transform relative to the model.
struct SkinWeights
{
	std::string Joint;
	std::vector<Weight> Weights;
	Matrix Offset;
};

struct Mesh
{
	std::string Name; // may be empty
	std::vector<Vector3> Positions;
	std::vector<Vector3> Normals;       // one per position, or none
	std::vector<Vector2> TextureCoords; // one per position, or none
	std::vector<Rgba> Colours;          // one per position, or none
	// Vertex indices. The engine shows the side from which a triangle is seen
	// clockwise (its space is left-handed).
	std::vector<std::array<unsigned, 3>> Triangles;
	std::vector<Material> Materials;    // none: the engine's default material
	std::vector<unsigned> FaceMaterials; // a material index per triangle; none: all use the first
	std::vector<SkinWeights> Skin;      // none: a static mesh
};

// The keys of one frame's animation; Tick is the key's time.
struct RotationKey
{
	unsigned Tick;
	Quaternion Rotation;
};

struct VectorKey
{
	unsigned Tick;
	Vector3 Value;
};

// Keys replace the frame's transform while the animation plays: the
// rotation, scale and translation relative to the parent.
struct Animation
{
	std::string Frame;
	std::vector<RotationKey> Rotations;
	std::vector<VectorKey> Scales;
	std::vector<VectorKey> Translations;
};

struct AnimationSet
{
	std::string Name;
	unsigned TicksPerSecond = 25;
	std::vector<Animation> Animations; // none: the model is not animated
};

// The meshes are written after the frame hierarchy, outside any frame.
struct Model
{
	std::vector<Frame> Frames;
	std::vector<Mesh> Meshes;
	AnimationSet Animation;
};

// The model as the text of a .x file.
std::string toText(const Model& model);

} // namespace xfile
