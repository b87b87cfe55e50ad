#version 110

// Hardware skinning, lighting off.
//
// Each vertex brings up to four joints and their weights:
// - the colour holds the joint numbers, filled red, green, blue, alpha
//   (number / 255, 0 for none); joint n moves the vertex by
//   JointTransform[n - 1];
// - texture coordinate set 1 holds the weights of the first three joints;
//   the fourth joint's weight is what is left of 1;
// - texture coordinate set 2 holds the model's own colour (RGB), which is
//   handed on as the vertex colour, as the engine does.
// A joint beyond the palette's 55 pulls nothing: the vertex follows its other
// joints, their weights scaled back to a sum of 1, and a vertex with no joint
// in the palette keeps its bind pose. The texture is applied by the
// fixed-function pixel stage.
//
// Written for speed on a software renderer: the loop stops at the first
// empty channel (most vertices have one joint), and only the three rows of
// each affine joint matrix that move the vertex are read.

uniform mat4 JointTransform[55];

void main()
{
	vec4 joints = floor(gl_Color * 255.0 + 0.5);
	vec3 firstWeights = gl_MultiTexCoord1.xyz;
	vec4 weights = vec4(firstWeights, 1.0 - firstWeights.x - firstWeights.y - firstWeights.z)
		* step(joints, vec4(55.5));
	vec4 position = gl_Vertex;
	vec3 sum = vec3(0.0);
	float total = 0.0;
	while (joints.x > 0.5)
	{
		mat4 joint = JointTransform[int(min(joints.x, 55.0)) - 1];
		sum += (joint[0].xyz * gl_Vertex.x + joint[1].xyz * gl_Vertex.y
			+ joint[2].xyz * gl_Vertex.z + joint[3].xyz) * weights.x;
		total += weights.x;
		joints = vec4(joints.yzw, 0.0);
		weights = vec4(weights.yzw, 0.0);
	}
	if (total > 0.0)
		position = vec4(sum / total, 1.0);

	gl_Position = gl_ModelViewProjectionMatrix * position;
	gl_TexCoord[0] = gl_MultiTexCoord0;
	gl_FrontColor = vec4(gl_MultiTexCoord2.xyz, 1.0);
}
