#include "DwarfModel.h"

#include "Animation.h"
#include "Body.h"

const char* const TextureFile = "dwarf.tga";

namespace
{

xfile::Vector3 toX(Vec3 v)
{
	return {v.X, v.Y, v.Z};
}

xfile::Mesh describeBody()
{
	const Mesh body = buildDwarf();
	xfile::Mesh mesh;
	mesh.Name = "Dwarf";
	for (const Vertex& v : body.Vertices)
	{
		mesh.Positions.push_back(toX(v.Position));
		mesh.Normals.push_back(toX(v.Normal));
		mesh.TextureCoords.push_back({v.Uv.X, v.Uv.Y});
		// All colour comes from the texture.
		mesh.Colours.push_back({1, 1, 1, 1});
	}
	for (const auto& f : body.Faces)
		mesh.Triangles.push_back({unsigned(f[0]), unsigned(f[1]), unsigned(f[2])});
	xfile::Material material;
	material.Name = "Dwarf";
	material.TextureFile = TextureFile;
	mesh.Materials = {material};

	// The vertices of each joint; the offset matrix takes the bind pose into
	// the joint's space.
	std::vector<xfile::SkinWeights> skin(JointCount);
	for (unsigned v = 0; v < body.Vertices.size(); ++v)
	{
		const Influence& in = body.Vertices[v].Joints;
		for (int k = 0; k < in.Count; ++k)
			skin[in.Joints[k]].Weights.push_back({v, in.Weights[k]});
	}
	for (int joint = 0; joint < JointCount; ++joint)
		if (!skin[joint].Weights.empty())
		{
			skin[joint].Joint = Skeleton[joint].Name;
			skin[joint].Offset = xfile::translation(toX(jointAt(joint) * -1));
			mesh.Skin.push_back(skin[joint]);
		}
	return mesh;
}

xfile::AnimationSet describeMarch()
{
	// A key on every tick. The key at the loop's end repeats the first, and
	// one more follows it, because the engine's scene node plays a mesh
	// only up to the frame before its last key.
	const unsigned keys = LoopTicks + 2;
	std::vector<Pose> poses;
	for (unsigned k = 0; k < keys; ++k)
		poses.push_back(march(float(k % LoopTicks) / TicksPerSecond));

	xfile::AnimationSet set{"March", TicksPerSecond, {}};
	for (int joint = 0; joint < JointCount; ++joint)
	{
		xfile::Animation animation{Skeleton[joint].Name, {}, {}, {}};
		for (unsigned k = 0; k < keys; ++k)
		{
			const Quat q = poses[k].Rotations[joint];
			animation.Rotations.push_back({k, {q.W, q.X, q.Y, q.Z}});
			const Vec3 lift = joint == Pelvis ? poses[k].PelvisLift : Vec3{0, 0, 0};
			animation.Translations.push_back({k, toX(localOffset(joint) + lift)});
		}
		set.Animations.push_back(animation);
	}
	return set;
}

} // namespace

xfile::Model describeDwarf()
{
	xfile::Model model;
	for (const JointDef& joint : Skeleton)
		model.Frames.push_back({joint.Name, joint.Parent, xfile::translation(toX(localOffset(&joint - Skeleton)))});
	model.Meshes = {describeBody()};
	model.Animation = describeMarch();
	return model;
}
