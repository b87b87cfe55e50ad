#version 110

// Hardware skinning, lighting off.
//
// The vertex colour carries up to four joint numbers (red, green, blue, alpha;
// number / 255, 0 for none); joint n moves the vertex by JointTransform[n - 1].
// The joints of a vertex count equally. The texture is applied by the
// fixed-function pixel stage, so the colour handed on is plain white.

uniform mat4 JointTransform[55];

void main()
{
	vec4 joints = floor(gl_Color * 255.0 + 0.5);
	vec4 influence = step(0.5, joints) * step(joints, vec4(55.5));
	float count = dot(influence, vec4(1.0));

	vec4 position = gl_Vertex;
	if (count > 0.0)
	{
		ivec4 slot = ivec4(clamp(joints, 1.0, 55.0)) - 1;
		mat4 skin = JointTransform[slot.x] * influence.x + JointTransform[slot.y] * influence.y
			+ JointTransform[slot.z] * influence.z + JointTransform[slot.w] * influence.w;
		position = skin * gl_Vertex / count;
	}

	gl_Position = gl_ModelViewProjectionMatrix * position;
	gl_TexCoord[0] = gl_MultiTexCoord0;
	gl_FrontColor = vec4(1.0);
}
