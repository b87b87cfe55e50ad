#include "XFile.h"

#include <algorithm>
#include <charconv>

namespace xfile
{

Matrix translation(Vector3 offset)
{
	return {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, offset.X, offset.Y, offset.Z, 1};
}

namespace
{

// Fixed-point numbers that do not depend on the locale.
void put(std::string& out, float value)
{
	char buffer[64];
	const auto end = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 6).ptr;
	const std::string text(buffer, end);
	out += text == "-0.000000" ? "0.000000" : text;
}

void putList(std::string& out, const std::vector<float>& values, const char* separator)
{
	const char* before = "";
	for (float value : values)
	{
		out += before;
		put(out, value);
		before = separator;
	}
}

void putMatrix(std::string& out, const Matrix& m)
{
	for (size_t i = 0; i < m.size(); ++i)
	{
		if (i)
			out += ",";
		put(out, m[i]);
	}
	out += ";;\n";
}

// A template's opening line: its type, its name when it has one.
void open(std::string& out, const char* type, const std::string& name)
{
	out += type;
	out += name.empty() ? " {\n" : " " + name + " {\n";
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

void writeFrame(std::string& out, const Model& model, int frame, const std::string& indent)
{
	out += indent + "Frame " + model.Frames[frame].Name + " {\n";
	out += indent + " FrameTransformMatrix {\n" + indent + "  ";
	putMatrix(out, model.Frames[frame].Transform);
	out += indent + " }\n";
	for (size_t child = 0; child < model.Frames.size(); ++child)
		if (model.Frames[child].Parent == frame)
			writeFrame(out, model, static_cast<int>(child), indent + " ");
	out += indent + "}\n";
}

void writeVector(std::string& out, Vector3 v)
{
	putList(out, {v.X, v.Y, v.Z}, ";");
	out += ";";
}

void writeTriangles(std::string& out, const Mesh& mesh)
{
	writeArray(out, mesh.Triangles.size(), [&](size_t i) {
		const auto& t = mesh.Triangles[i];
		out += "3;" + std::to_string(t[0]) + "," + std::to_string(t[1]) + "," + std::to_string(t[2]) + ";";
	});
}

void writeMaterial(std::string& out, const Material& m)
{
	open(out, "Material", m.Name);
	putList(out, {m.Diffuse.R, m.Diffuse.G, m.Diffuse.B, m.Diffuse.A}, ";");
	out += ";;\n";
	put(out, m.SpecularPower);
	out += ";\n";
	for (const Rgb& c : {m.Specular, m.Emissive})
	{
		putList(out, {c.R, c.G, c.B}, ";");
		out += ";;\n";
	}
	if (!m.TextureFile.empty())
		out += "TextureFilename {\n\"" + m.TextureFile + "\";\n}\n";
	out += "}\n";
}

// The header the format puts before the weights: the most joints moving one
// vertex, the most joints moving one face, and the number of joints.
void writeSkinHeader(std::string& out, const Mesh& mesh)
{
	std::vector<std::vector<size_t>> joints(mesh.Positions.size());
	for (size_t j = 0; j < mesh.Skin.size(); ++j)
		for (const Weight& w : mesh.Skin[j].Weights)
			joints[w.Vertex].push_back(j);
	size_t perVertex = 0, perFace = 0;
	for (const auto& list : joints)
		perVertex = std::max(perVertex, list.size());
	for (const auto& t : mesh.Triangles)
	{
		std::vector<size_t> face;
		for (unsigned v : t)
			face.insert(face.end(), joints[v].begin(), joints[v].end());
		std::sort(face.begin(), face.end());
		perFace = std::max(perFace, static_cast<size_t>(std::unique(face.begin(), face.end()) - face.begin()));
	}
	out += "XSkinMeshHeader {\n" + std::to_string(perVertex) + ";\n" + std::to_string(perFace) + ";\n"
		+ std::to_string(mesh.Skin.size()) + ";\n}\n";
}

void writeSkinWeights(std::string& out, const SkinWeights& skin)
{
	const std::vector<Weight>& ws = skin.Weights;
	out += "SkinWeights {\n\"" + skin.Joint + "\";\n" + std::to_string(ws.size()) + ";\n";
	for (size_t i = 0; i < ws.size(); ++i)
		out += std::to_string(ws[i].Vertex) + (i + 1 < ws.size() ? ",\n" : ";\n");
	for (size_t i = 0; i < ws.size(); ++i)
	{
		put(out, ws[i].Strength);
		out += i + 1 < ws.size() ? ",\n" : ";\n";
	}
	putMatrix(out, skin.Offset);
	out += "}\n";
}

void writeMesh(std::string& out, const Mesh& mesh)
{
	open(out, "Mesh", mesh.Name);
	writeArray(out, mesh.Positions.size(), [&](size_t i) { writeVector(out, mesh.Positions[i]); });
	writeTriangles(out, mesh);

	if (!mesh.Normals.empty())
	{
		out += "MeshNormals {\n";
		writeArray(out, mesh.Normals.size(), [&](size_t i) { writeVector(out, mesh.Normals[i]); });
		writeTriangles(out, mesh);
		out += "}\n";
	}
	if (!mesh.TextureCoords.empty())
	{
		out += "MeshTextureCoords {\n";
		writeArray(out, mesh.TextureCoords.size(), [&](size_t i) {
			putList(out, {mesh.TextureCoords[i].X, mesh.TextureCoords[i].Y}, ";");
			out += ";";
		});
		out += "}\n";
	}
	if (!mesh.Colours.empty())
	{
		out += "MeshVertexColors {\n";
		writeArray(out, mesh.Colours.size(), [&](size_t i) {
			const Rgba& c = mesh.Colours[i];
			out += std::to_string(i) + ";";
			putList(out, {c.R, c.G, c.B, c.A}, ";");
			out += ";;";
		});
		out += "}\n";
	}
	if (!mesh.Materials.empty())
	{
		out += "MeshMaterialList {\n" + std::to_string(mesh.Materials.size()) + ";\n";
		writeArray(out, mesh.Triangles.size(), [&](size_t i) {
			out += std::to_string(mesh.FaceMaterials.empty() ? 0 : mesh.FaceMaterials[i]);
		});
		for (const Material& m : mesh.Materials)
			writeMaterial(out, m);
		out += "}\n";
	}
	if (!mesh.Skin.empty())
	{
		writeSkinHeader(out, mesh);
		for (const SkinWeights& skin : mesh.Skin)
			writeSkinWeights(out, skin);
	}
	out += "}\n";
}

// Writes the keys of one type: 0 rotation, 1 scale, 2 translation.
template <typename Key, typename Values>
void writeKeys(std::string& out, int type, const std::vector<Key>& keys, Values values)
{
	if (keys.empty())
		return;
	out += "AnimationKey {\n" + std::to_string(type) + ";\n";
	writeArray(out, keys.size(), [&](size_t k) {
		const std::vector<float> list = values(keys[k]);
		out += std::to_string(keys[k].Tick) + ";" + std::to_string(list.size()) + ";";
		putList(out, list, ",");
		out += ";;";
	});
	out += "}\n";
}

void writeAnimation(std::string& out, const AnimationSet& set)
{
	if (set.Animations.empty())
		return;
	out += "AnimTicksPerSecond {\n" + std::to_string(set.TicksPerSecond) + ";\n}\n";
	open(out, "AnimationSet", set.Name);
	for (const Animation& a : set.Animations)
	{
		out += "Animation {\n{" + a.Frame + "}\n";
		// The file keeps the inverse rotation: the conjugate quaternion.
		writeKeys(out, 0, a.Rotations, [](const RotationKey& k) {
			return std::vector<float>{k.Rotation.W, -k.Rotation.X, -k.Rotation.Y, -k.Rotation.Z};
		});
		auto vector = [](const VectorKey& k) { return std::vector<float>{k.Value.X, k.Value.Y, k.Value.Z}; };
		writeKeys(out, 1, a.Scales, vector);
		writeKeys(out, 2, a.Translations, vector);
		out += "}\n";
	}
	out += "}\n";
}

} // namespace

std::string toText(const Model& model)
{
	std::string out = "xof 0303txt 0032\n\n";
	for (size_t frame = 0; frame < model.Frames.size(); ++frame)
		if (model.Frames[frame].Parent < 0)
			writeFrame(out, model, static_cast<int>(frame), "");
	for (const Mesh& mesh : model.Meshes)
		writeMesh(out, mesh);
	writeAnimation(out, model.Animation);
	return out;
}

} // namespace xfile
