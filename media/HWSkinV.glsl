#version 110

// Hardware skinning, lighting off.
//
// The vertex colour carries up to four joint numbers, filled red, green,
// blue, alpha (number / 255, 0 for none); joint n moves the vertex by
// JointTransform[n - 1], and the joints of a vertex count equally. Joints
// beyond the palette's 55 follow joint 55. The texture is applied by the
// fixed-function pixel stage, so the colour handed on is plain white.
//
// Written for speed on a software renderer: the loop stops at the first
// empty channel (most vertices have one joint), and only the three rows of
// each affine joint matrix that move the vertex are read.

uniform mat4 JointTransform[55];

void main()
{
	vec4 joints = floor(gl_Color * 255.0 + 0.5);
	vec4 position = gl_Vertex;
	if (joints.x > 0.5)
	{
		vec3 sum = vec3(0.0);
		float count = 0.0;
		while (joints.x > 0.5)
		{
			mat4 joint = JointTransform[int(min(joints.x, 55.0)) - 1];
			sum += joint[0].xyz * gl_Vertex.x + joint[1].xyz * gl_Vertex.y
				+ joint[2].xyz * gl_Vertex.z + joint[3].xyz;
			count += 1.0;
			joints = vec4(joints.yzw, 0.0);
		}
		position = vec4(sum / count, 1.0);
	}

	gl_Position = gl_ModelViewProjectionMatrix * position;
	gl_TexCoord[0] = gl_MultiTexCoord0;
	gl_FrontColor = vec4(1.0);
}
