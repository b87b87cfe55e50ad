// Hardware skinning for Direct3D 9 (vs_2_0), lighting on or off.
//
// The vertex colour carries up to four joint numbers (red, green, blue, alpha;
// number / 255, 0 for none); joint n moves the vertex by JointTransform[n - 1].
// The joints of a vertex count equally.
//
// The engine writes each matrix's 16 floats into the constant registers in
// order, so with the default column-major packing mul(matrix, vector) applies
// them. 55 joints take 220 of the 256 registers; the transforms and eight
// lights take the rest.

float4x4 mWorldViewProj;
float4x4 mWorld;
float3 lightPosArray[8];
float4 lightColorArray[8];   // all zero when lighting is off
float4x4 JointTransform[55];

// The demo's lights fade as the engine's point lights of radius 100 do.
static const float LightFade = 0.01;

struct VertexInput
{
	float4 Position : POSITION;
	float3 Normal : NORMAL;
	float4 Joints : COLOR0;
	float2 TexCoord : TEXCOORD0;
};

struct VertexOutput
{
	float4 Position : POSITION;
	float4 Diffuse : COLOR0;
	float2 TexCoord : TEXCOORD0;
};

VertexOutput vertexMain(VertexInput input)
{
	float4 joints = floor(input.Joints * 255.0 + 0.5);
	float4 influence = step(0.5, joints) * step(joints, 55.5);
	float count = dot(influence, 1.0);

	float4 position = input.Position;
	float3 normal = input.Normal;
	if (count > 0.0)
	{
		int4 slot = (int4)clamp(joints, 1.0, 55.0) - 1;
		float4x4 skin = JointTransform[slot.x] * influence.x + JointTransform[slot.y] * influence.y
			+ JointTransform[slot.z] * influence.z + JointTransform[slot.w] * influence.w;
		position = mul(skin, input.Position) / count;
		normal = mul(skin, float4(input.Normal, 0.0)).xyz;
	}

	VertexOutput output;
	output.Position = mul(mWorldViewProj, position);
	output.TexCoord = input.TexCoord;

	float3 worldPosition = mul(mWorld, position).xyz;
	float3 worldNormal = normalize(mul(mWorld, float4(normal, 0.0)).xyz);
	float3 colour = 0.0;
	float lightSum = 0.0;
	for (int i = 0; i < 8; ++i)
	{
		lightSum += dot(abs(lightColorArray[i]), 1.0);
		float3 toLight = lightPosArray[i] - worldPosition;
		float distance = length(toLight);
		float diffuse = max(dot(worldNormal, toLight / distance), 0.0);
		colour += lightColorArray[i].rgb * diffuse / (LightFade * distance);
	}
	// With lighting off the light arrays stay zero: the vertex is plain white.
	output.Diffuse = lightSum > 0.0 ? float4(colour, 1.0) : float4(1.0, 1.0, 1.0, 1.0);
	return output;
}
