#version 110

// Hardware skinning, lighting on.
//
// The vertex colour carries up to four joint numbers (red, green, blue, alpha;
// number / 255, 0 for none); joint n moves the vertex by JointTransform[n - 1].
// The joints of a vertex count equally. The skinned vertex is lit by the
// engine's dynamic lights as the fixed-function pipeline lights a white
// vertex; the texture is applied by the fixed-function pixel stage.

uniform mat4 JointTransform[55];

const int LightCount = 8;

void main()
{
	vec4 joints = floor(gl_Color * 255.0 + 0.5);
	vec4 influence = step(0.5, joints) * step(joints, vec4(55.5));
	float count = dot(influence, vec4(1.0));

	vec4 position = gl_Vertex;
	vec3 normal = gl_Normal;
	if (count > 0.0)
	{
		ivec4 slot = ivec4(clamp(joints, 1.0, 55.0)) - 1;
		mat4 skin = JointTransform[slot.x] * influence.x + JointTransform[slot.y] * influence.y
			+ JointTransform[slot.z] * influence.z + JointTransform[slot.w] * influence.w;
		position = skin * gl_Vertex / count;
		normal = (skin * vec4(gl_Normal, 0.0)).xyz;
	}

	vec3 eyePosition = (gl_ModelViewMatrix * position).xyz;
	vec3 eyeNormal = normalize(gl_NormalMatrix * normal);

	// Lights the engine leaves unused have black colours.
	vec4 colour = gl_FrontLightModelProduct.sceneColor;
	for (int i = 0; i < LightCount; ++i)
	{
		vec3 toLight = gl_LightSource[i].position.xyz - eyePosition;
		float distance = length(toLight);
		float attenuation = 1.0 / (gl_LightSource[i].constantAttenuation
			+ distance * (gl_LightSource[i].linearAttenuation
			+ distance * gl_LightSource[i].quadraticAttenuation));
		float diffuse = max(dot(eyeNormal, toLight / distance), 0.0);
		colour += (gl_FrontLightProduct[i].ambient + gl_LightSource[i].diffuse * diffuse) * attenuation;
	}

	gl_Position = gl_ModelViewProjectionMatrix * position;
	gl_TexCoord[0] = gl_MultiTexCoord0;
	gl_FrontColor = vec4(colour.rgb, 1.0);
}
