#version 110

// Hardware skinning, lighting on.
//
// Each vertex brings up to four joints and their weights:
// - the colour holds the joint numbers, filled red, green, blue, alpha
//   (number / 255, 0 for none); joint n moves the vertex and its normal by
//   JointTransform[n - 1];
// - texture coordinate set 1 holds the weights of the first three joints;
//   the fourth joint's weight is what is left of 1;
// - texture coordinate set 2 holds the model's own colour (RGB).
// A joint beyond the palette's 55 pulls nothing: the vertex follows its other
// joints, their weights scaled back to a sum of 1, and a vertex with no joint
// in the palette keeps its bind pose.
//
// The skinned vertex is lit as the fixed-function pipeline lights it with the
// engine's default colour material: the material's emissive colour and its
// ambient colour under the scene's ambient light, plus, per light, the light's
// ambient colour on the material's and the light's diffuse colour on the
// model's colour. Like the engine's, the skinned normal is not renormalised.
// The texture is applied by the fixed-function pixel stage.
//
// Written for speed on a software renderer: the loop stops at the first
// empty channel (most vertices have one joint), and only the three rows of
// each affine joint matrix that move the vertex are read.

uniform mat4 JointTransform[55];

// The crowd is lit by four lights, which the engine puts in the first four
// light slots. Every further slot would cost as much as a light.
const int LightCount = 4;

void main()
{
	vec4 joints = floor(gl_Color * 255.0 + 0.5);
	vec3 firstWeights = gl_MultiTexCoord1.xyz;
	vec4 weights = vec4(firstWeights, 1.0 - firstWeights.x - firstWeights.y - firstWeights.z)
		* step(joints, vec4(55.5));
	vec4 position = gl_Vertex;
	vec3 normal = gl_Normal;
	vec3 sumPosition = vec3(0.0);
	vec3 sumNormal = vec3(0.0);
	float total = 0.0;
	while (joints.x > 0.5)
	{
		mat4 joint = JointTransform[int(min(joints.x, 55.0)) - 1];
		sumPosition += (joint[0].xyz * gl_Vertex.x + joint[1].xyz * gl_Vertex.y
			+ joint[2].xyz * gl_Vertex.z + joint[3].xyz) * weights.x;
		sumNormal += (joint[0].xyz * gl_Normal.x + joint[1].xyz * gl_Normal.y
			+ joint[2].xyz * gl_Normal.z) * weights.x;
		total += weights.x;
		joints = vec4(joints.yzw, 0.0);
		weights = vec4(weights.yzw, 0.0);
	}
	if (total > 0.0)
	{
		position = vec4(sumPosition / total, 1.0);
		normal = sumNormal / total;
	}

	vec3 eyePosition = (gl_ModelViewMatrix * position).xyz;
	vec3 eyeNormal = gl_NormalMatrix * normal;
	vec3 colour = gl_MultiTexCoord2.xyz;

	vec3 lit = gl_FrontLightModelProduct.sceneColor.rgb;
	for (int i = 0; i < LightCount; ++i)
	{
		vec3 toLight = gl_LightSource[i].position.xyz - eyePosition;
		float distance = length(toLight);
		float attenuation = 1.0 / (gl_LightSource[i].constantAttenuation
			+ distance * (gl_LightSource[i].linearAttenuation
			+ distance * gl_LightSource[i].quadraticAttenuation));
		float diffuse = max(dot(eyeNormal, toLight / distance), 0.0);
		lit += (gl_FrontLightProduct[i].ambient.rgb + gl_LightSource[i].diffuse.rgb * colour * diffuse)
			* attenuation;
	}

	gl_Position = gl_ModelViewProjectionMatrix * position;
	gl_TexCoord[0] = gl_MultiTexCoord0;
	gl_FrontColor = vec4(lit, 1.0);
}
