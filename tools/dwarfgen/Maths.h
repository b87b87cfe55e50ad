// Vectors and rotations for building the character.
#pragma once

#include <cmath>

const float Pi = 3.14159265358979f;

inline float radians(float degrees)
{
	return degrees * Pi / 180.f;
}

struct Vec2
{
	float X, Y;
};

struct Vec3
{
	float X, Y, Z;
};

inline Vec3 operator+(Vec3 a, Vec3 b) { return {a.X + b.X, a.Y + b.Y, a.Z + b.Z}; }
inline Vec3 operator-(Vec3 a, Vec3 b) { return {a.X - b.X, a.Y - b.Y, a.Z - b.Z}; }
inline Vec3 operator*(Vec3 a, float s) { return {a.X * s, a.Y * s, a.Z * s}; }
inline float dot(Vec3 a, Vec3 b) { return a.X * b.X + a.Y * b.Y + a.Z * b.Z; }
inline float length(Vec3 a) { return std::sqrt(dot(a, a)); }
inline Vec3 normalize(Vec3 a) { return a * (1.f / length(a)); }
inline Vec3 lerp(Vec3 a, Vec3 b, float t) { return a + (b - a) * t; }

inline Vec3 cross(Vec3 a, Vec3 b)
{
	return {a.Y * b.Z - a.Z * b.Y, a.Z * b.X - a.X * b.Z, a.X * b.Y - a.Y * b.X};
}

const Vec3 AxisX{1, 0, 0}, AxisY{0, 1, 0}, AxisZ{0, 0, 1};

// A rotation. Rotating by a positive angle about axis n turns v towards
// n x v: about the x axis +y turns towards +z, so a positive pitch swings a
// hanging limb forward (to -z) and leans an upright part back.
struct Quat
{
	float W, X, Y, Z;
};

inline Quat rotation(Vec3 axis, float degrees)
{
	const float half = radians(degrees) / 2;
	const float s = std::sin(half);
	return {std::cos(half), axis.X * s, axis.Y * s, axis.Z * s};
}

inline Quat operator*(Quat a, Quat b)
{
	return {a.W * b.W - a.X * b.X - a.Y * b.Y - a.Z * b.Z,
		a.W * b.X + a.X * b.W + a.Y * b.Z - a.Z * b.Y,
		a.W * b.Y - a.X * b.Z + a.Y * b.W + a.Z * b.X,
		a.W * b.Z + a.X * b.Y - a.Y * b.X + a.Z * b.W};
}
