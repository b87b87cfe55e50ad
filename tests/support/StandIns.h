// Stand-ins for the engine objects the skinning callback talks to, so tests
// can choose the renderer, the clock and the lights and see every constant
// handed to the vertex program.
#pragma once

#include "UnusedEngine.h"

#include <set>
#include <string>
#include <vector>

// A clock whose real time and device time (the frame's) the test sets.
struct StandInTimer : UnusedTimer
{
	irr::u32 RealTime = 0;
	irr::u32 Time = 0;
	irr::u32 getRealTime() const override { return RealTime; }
	irr::u32 getTime() const override { return Time; }
};

// Records every shader material registration and answers MaterialType.
struct RecordingGpuServices : UnusedGpuServices
{
	struct Registration
	{
		std::string File, EntryPoint, PixelFile, PixelEntryPoint;
		irr::video::E_VERTEX_SHADER_TYPE VertexTarget;
		irr::video::E_PIXEL_SHADER_TYPE PixelTarget;
		irr::video::IShaderConstantSetCallBack* Callback;
		irr::video::E_MATERIAL_TYPE BaseMaterial;
		irr::s32 UserData;
	};
	std::vector<Registration> Registrations;
	irr::s32 MaterialType = 30;

	irr::s32 addHighLevelShaderMaterialFromFiles(const irr::io::path& file, const irr::c8* entryPoint,
		irr::video::E_VERTEX_SHADER_TYPE vertexTarget, const irr::io::path& pixelFile,
		const irr::c8* pixelEntryPoint, irr::video::E_PIXEL_SHADER_TYPE pixelTarget,
		const irr::io::path&, const irr::c8*, irr::video::E_GEOMETRY_SHADER_TYPE,
		irr::scene::E_PRIMITIVE_TYPE, irr::scene::E_PRIMITIVE_TYPE, irr::u32,
		irr::video::IShaderConstantSetCallBack* callback, irr::video::E_MATERIAL_TYPE baseMaterial,
		irr::s32 userData, irr::video::E_GPU_SHADING_LANGUAGE) override
	{
		Registrations.push_back({ file.c_str(), entryPoint, pixelFile.c_str(), pixelEntryPoint,
			vertexTarget, pixelTarget, callback, baseMaterial, userData });
		return MaterialType;
	}
};

// A video driver of the chosen type with the transforms and lights the test sets.
struct StandInVideoDriver : UnusedVideoDriver
{
	irr::video::E_DRIVER_TYPE Type = irr::video::EDT_DIRECT3D9;
	irr::core::matrix4 Transforms[irr::video::ETS_COUNT];
	std::vector<irr::video::SLight> Lights;
	RecordingGpuServices Gpu;

	irr::video::E_DRIVER_TYPE getDriverType() const override { return Type; }
	const irr::core::matrix4& getTransform(irr::video::E_TRANSFORMATION_STATE state) const override
	{
		return Transforms[state];
	}
	irr::u32 getDynamicLightCount() const override { return Lights.size(); }
	const irr::video::SLight& getDynamicLight(irr::u32 index) const override { return Lights.at(index); }
	irr::video::IGPUProgrammingServices* getGPUProgrammingServices() override { return &Gpu; }
};

// A device with the stand-in driver and clock; files are read through a real
// engine device.
struct StandInDevice : UnusedDevice
{
	explicit StandInDevice(irr::IrrlichtDevice* real) : Real(real) {}
	irr::IrrlichtDevice* Real;
	StandInVideoDriver Driver;
	StandInTimer Timer;

	irr::video::IVideoDriver* getVideoDriver() override { return &Driver; }
	irr::ITimer* getTimer() override { return &Timer; }
	irr::io::IFileSystem* getFileSystem() override { return Real->getFileSystem(); }
};

// Records every constant set by name; refuses the names in Refused, as the
// engine does for names the vertex program does not have.
struct RecordingServices : UnusedRendererServices
{
	explicit RecordingServices(irr::video::IVideoDriver* driver) : Driver(driver) {}
	struct Constant
	{
		std::string Name;
		std::vector<irr::f32> Floats;
	};
	irr::video::IVideoDriver* Driver;
	std::vector<Constant> Constants;
	std::set<std::string> Refused;

	bool setVertexShaderConstant(const irr::c8* name, const irr::f32* floats, int count) override
	{
		Constants.push_back({ name, std::vector<irr::f32>(floats, floats + count) });
		return Refused.count(name) == 0;
	}
	irr::video::IVideoDriver* getVideoDriver() override { return Driver; }

	std::vector<std::string> names() const
	{
		std::vector<std::string> result;
		for (const Constant& constant : Constants)
			result.push_back(constant.Name);
		return result;
	}
};
