// Hardware skinning for Direct3D 9 (vs_2_0), lighting on or off.
//
// Each vertex brings up to four joints and their weights:
// - the colour holds the joint numbers, filled red, green, blue, alpha
//   (number / 255, 0 for none); joint n moves the vertex and its normal by
//   JointTransform[n - 1];
// - TEXCOORD1 (the tangent) holds the weights of the first three joints; the
//   fourth joint's weight is what is left of 1;
// - TEXCOORD2 (the binormal) holds the model's own colour (RGB).
// A joint beyond the palette's 55 pulls nothing: the vertex follows its other
// joints, their weights scaled back to a sum of 1, and a vertex with no joint
// in the palette keeps its bind pose.
//
// With lighting, the model's colour is lit by each light's diffuse colour;
// without, it is handed on as it is.
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
	float3 Weights : TEXCOORD1;
	float3 Colour : TEXCOORD2;
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
	float4 weights = float4(input.Weights, 1.0 - dot(input.Weights, 1.0))
		* step(0.5, joints) * step(joints, 55.5);
	float total = dot(weights, 1.0);

	float4 position = input.Position;
	float3 normal = input.Normal;
	if (total > 0.0)
	{
		int4 slot = (int4)clamp(joints, 1.0, 55.0) - 1;
		float4x4 skin = JointTransform[slot.x] * weights.x + JointTransform[slot.y] * weights.y
			+ JointTransform[slot.z] * weights.z + JointTransform[slot.w] * weights.w;
		position = float4(mul(skin, input.Position).xyz / total, 1.0);
		normal = mul(skin, float4(input.Normal, 0.0)).xyz / total;
	}

	VertexOutput output;
	output.Position = mul(mWorldViewProj, position);
	output.TexCoord = input.TexCoord;

	float3 worldPosition = mul(mWorld, position).xyz;
	float3 worldNormal = normalize(mul(mWorld, float4(normal, 0.0)).xyz);
	float3 lit = 0.0;
	float lightSum = 0.0;
	for (int i = 0; i < 8; ++i)
	{
		lightSum += dot(abs(lightColorArray[i]), 1.0);
		float3 toLight = lightPosArray[i] - worldPosition;
		float distance = length(toLight);
		float diffuse = max(dot(worldNormal, toLight / distance), 0.0);
		lit += lightColorArray[i].rgb * input.Colour * diffuse / (LightFade * distance);
	}
	// With lighting off the light arrays stay zero: the model's colour as it is.
	output.Diffuse = float4(lightSum > 0.0 ? lit : input.Colour, 1.0);
	return output;
}
