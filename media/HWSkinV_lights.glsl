#version 110

// Hardware skinning, lighting on.
//
// The vertex colour carries up to four joint numbers, filled red, green,
// blue, alpha (number / 255, 0 for none); joint n moves the vertex and its
// normal by JointTransform[n - 1], and the joints of a vertex count equally.
// Joints beyond the palette's 55 follow joint 55. The skinned vertex is lit
// as the fixed-function pipeline lights a white vertex: the material's
// emissive and ambient colours, plus each light's diffuse colour (the
// engine's lights have no ambient colour of their own); the texture is
// applied by the fixed-function pixel stage.
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
	vec4 position = gl_Vertex;
	vec3 normal = gl_Normal;
	if (joints.x > 0.5)
	{
		vec3 sumPosition = vec3(0.0);
		vec3 sumNormal = vec3(0.0);
		float count = 0.0;
		while (joints.x > 0.5)
		{
			mat4 joint = JointTransform[int(min(joints.x, 55.0)) - 1];
			sumPosition += joint[0].xyz * gl_Vertex.x + joint[1].xyz * gl_Vertex.y
				+ joint[2].xyz * gl_Vertex.z + joint[3].xyz;
			sumNormal += joint[0].xyz * gl_Normal.x + joint[1].xyz * gl_Normal.y
				+ joint[2].xyz * gl_Normal.z;
			count += 1.0;
			joints = vec4(joints.yzw, 0.0);
		}
		position = vec4(sumPosition / count, 1.0);
		normal = sumNormal;
	}

	vec3 eyePosition = (gl_ModelViewMatrix * position).xyz;
	vec3 eyeNormal = normalize(gl_NormalMatrix * normal);

	vec4 colour = gl_FrontLightModelProduct.sceneColor;
	for (int i = 0; i < LightCount; ++i)
	{
		vec3 toLight = gl_LightSource[i].position.xyz - eyePosition;
		float distance = length(toLight);
		float attenuation = 1.0 / (gl_LightSource[i].constantAttenuation
			+ distance * (gl_LightSource[i].linearAttenuation
			+ distance * gl_LightSource[i].quadraticAttenuation));
		float diffuse = max(dot(eyeNormal, toLight / distance), 0.0);
		colour += gl_LightSource[i].diffuse * (diffuse * attenuation);
	}

	gl_Position = gl_ModelViewProjectionMatrix * position;
	gl_TexCoord[0] = gl_MultiTexCoord0;
	gl_FrontColor = vec4(colour.rgb, 1.0);
}
