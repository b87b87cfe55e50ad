// Bases for the tests' stand-ins of engine interfaces: every operation aborts
// the test with its name, so a stand-in overrides exactly what the code under
// test may call and any other call shows up at once.
// Written against the Irrlicht 1.8 headers.
#pragma once

#include <irrlicht.h>

#include <cstdio>
#include <cstdlib>

[[noreturn]] inline void unexpectedEngineCall(const char* name)
{
	fprintf(stderr, "unexpected call of the engine operation %s\n", name);
	std::abort();
}

namespace irr { namespace video {
class UnusedVideoDriver : public IVideoDriver
{
public:
	bool beginScene(bool, bool, SColor, const SExposedVideoData&, core::rect<s32>*) override { unexpectedEngineCall("beginScene"); }
	bool endScene() override { unexpectedEngineCall("endScene"); }
	bool queryFeature(E_VIDEO_DRIVER_FEATURE) const override { unexpectedEngineCall("queryFeature"); }
	void disableFeature(E_VIDEO_DRIVER_FEATURE, bool) override { unexpectedEngineCall("disableFeature"); }
	const io::IAttributes& getDriverAttributes() const override { unexpectedEngineCall("getDriverAttributes"); }
	bool checkDriverReset() override { unexpectedEngineCall("checkDriverReset"); }
	void setTransform(E_TRANSFORMATION_STATE, const core::matrix4&) override { unexpectedEngineCall("setTransform"); }
	const core::matrix4& getTransform(E_TRANSFORMATION_STATE) const override { unexpectedEngineCall("getTransform"); }
	u32 getImageLoaderCount() const override { unexpectedEngineCall("getImageLoaderCount"); }
	IImageLoader* getImageLoader(u32) override { unexpectedEngineCall("getImageLoader"); }
	u32 getImageWriterCount() const override { unexpectedEngineCall("getImageWriterCount"); }
	IImageWriter* getImageWriter(u32) override { unexpectedEngineCall("getImageWriter"); }
	void setMaterial(const SMaterial&) override { unexpectedEngineCall("setMaterial"); }
	ITexture* getTexture(const io::path&) override { unexpectedEngineCall("getTexture"); }
	ITexture* getTexture(io::IReadFile*) override { unexpectedEngineCall("getTexture"); }
	ITexture* getTextureByIndex(u32) override { unexpectedEngineCall("getTextureByIndex"); }
	u32 getTextureCount() const override { unexpectedEngineCall("getTextureCount"); }
	void renameTexture(ITexture*, const io::path&) override { unexpectedEngineCall("renameTexture"); }
	ITexture* addTexture(const core::dimension2d<u32>&, const io::path&, ECOLOR_FORMAT) override { unexpectedEngineCall("addTexture"); }
	ITexture* addTexture(const io::path&, IImage*, void*) override { unexpectedEngineCall("addTexture"); }
	ITexture* addRenderTargetTexture(const core::dimension2d<u32>&, const io::path&, const ECOLOR_FORMAT) override { unexpectedEngineCall("addRenderTargetTexture"); }
	void removeTexture(ITexture*) override { unexpectedEngineCall("removeTexture"); }
	void removeAllTextures() override { unexpectedEngineCall("removeAllTextures"); }
	void removeHardwareBuffer(const scene::IMeshBuffer*) override { unexpectedEngineCall("removeHardwareBuffer"); }
	void removeAllHardwareBuffers() override { unexpectedEngineCall("removeAllHardwareBuffers"); }
	void addOcclusionQuery(scene::ISceneNode*, const scene::IMesh*) override { unexpectedEngineCall("addOcclusionQuery"); }
	void removeOcclusionQuery(scene::ISceneNode*) override { unexpectedEngineCall("removeOcclusionQuery"); }
	void removeAllOcclusionQueries() override { unexpectedEngineCall("removeAllOcclusionQueries"); }
	void runOcclusionQuery(scene::ISceneNode*, bool) override { unexpectedEngineCall("runOcclusionQuery"); }
	void runAllOcclusionQueries(bool) override { unexpectedEngineCall("runAllOcclusionQueries"); }
	void updateOcclusionQuery(scene::ISceneNode*, bool) override { unexpectedEngineCall("updateOcclusionQuery"); }
	void updateAllOcclusionQueries(bool) override { unexpectedEngineCall("updateAllOcclusionQueries"); }
	u32 getOcclusionQueryResult(scene::ISceneNode*) const override { unexpectedEngineCall("getOcclusionQueryResult"); }
	void makeColorKeyTexture(video::ITexture*, video::SColor, bool) const override { unexpectedEngineCall("makeColorKeyTexture"); }
	void makeColorKeyTexture(video::ITexture*, core::position2d<s32>, bool) const override { unexpectedEngineCall("makeColorKeyTexture"); }
	void makeNormalMapTexture(video::ITexture*, f32) const override { unexpectedEngineCall("makeNormalMapTexture"); }
	bool setRenderTarget(video::ITexture*, bool, bool, SColor) override { unexpectedEngineCall("setRenderTarget"); }
	bool setRenderTarget(E_RENDER_TARGET, bool, bool, SColor) override { unexpectedEngineCall("setRenderTarget"); }
	bool setRenderTarget(const core::array<video::IRenderTarget>&, bool, bool, SColor) override { unexpectedEngineCall("setRenderTarget"); }
	void setViewPort(const core::rect<s32>&) override { unexpectedEngineCall("setViewPort"); }
	const core::rect<s32>& getViewPort() const override { unexpectedEngineCall("getViewPort"); }
	void drawVertexPrimitiveList(const void*, u32, const void*, u32, E_VERTEX_TYPE, scene::E_PRIMITIVE_TYPE, E_INDEX_TYPE) override { unexpectedEngineCall("drawVertexPrimitiveList"); }
	void draw2DVertexPrimitiveList(const void*, u32, const void*, u32, E_VERTEX_TYPE, scene::E_PRIMITIVE_TYPE, E_INDEX_TYPE) override { unexpectedEngineCall("draw2DVertexPrimitiveList"); }
	void draw3DLine(const core::vector3df&, const core::vector3df&, SColor) override { unexpectedEngineCall("draw3DLine"); }
	void draw3DTriangle(const core::triangle3df&, SColor) override { unexpectedEngineCall("draw3DTriangle"); }
	void draw3DBox(const core::aabbox3d<f32>&, SColor) override { unexpectedEngineCall("draw3DBox"); }
	void draw2DImage(const video::ITexture*, const core::position2d<s32>&) override { unexpectedEngineCall("draw2DImage"); }
	void draw2DImage(const video::ITexture*, const core::position2d<s32>&, const core::rect<s32>&, const core::rect<s32>*, SColor, bool) override { unexpectedEngineCall("draw2DImage"); }
	void draw2DImageBatch(const video::ITexture*, const core::position2d<s32>&, const core::array<core::rect<s32> >&, const core::array<s32>&, s32, const core::rect<s32>*, SColor, bool) override { unexpectedEngineCall("draw2DImageBatch"); }
	void draw2DImageBatch(const video::ITexture*, const core::array<core::position2d<s32> >&, const core::array<core::rect<s32> >&, const core::rect<s32>*, SColor, bool) override { unexpectedEngineCall("draw2DImageBatch"); }
	void draw2DImage(const video::ITexture*, const core::rect<s32>&, const core::rect<s32>&, const core::rect<s32>*, const video::SColor * const, bool) override { unexpectedEngineCall("draw2DImage"); }
	void draw2DRectangle(SColor, const core::rect<s32>&, const core::rect<s32>*) override { unexpectedEngineCall("draw2DRectangle"); }
	void draw2DRectangle(const core::rect<s32>&, SColor, SColor, SColor, SColor, const core::rect<s32>*) override { unexpectedEngineCall("draw2DRectangle"); }
	void draw2DRectangleOutline(const core::recti&, SColor) override { unexpectedEngineCall("draw2DRectangleOutline"); }
	void draw2DLine(const core::position2d<s32>&, const core::position2d<s32>&, SColor) override { unexpectedEngineCall("draw2DLine"); }
	void drawPixel(u32, u32, const SColor&) override { unexpectedEngineCall("drawPixel"); }
	void draw2DPolygon(core::position2d<s32>, f32, video::SColor, s32) override { unexpectedEngineCall("draw2DPolygon"); }
	void drawStencilShadowVolume(const core::array<core::vector3df>&, bool, u32) override { unexpectedEngineCall("drawStencilShadowVolume"); }
	void drawStencilShadow(bool, video::SColor, video::SColor, video::SColor, video::SColor) override { unexpectedEngineCall("drawStencilShadow"); }
	void drawMeshBuffer(const scene::IMeshBuffer*) override { unexpectedEngineCall("drawMeshBuffer"); }
	void drawMeshBufferNormals(const scene::IMeshBuffer*, f32, SColor) override { unexpectedEngineCall("drawMeshBufferNormals"); }
	void setFog(SColor, E_FOG_TYPE, f32, f32, f32, bool, bool) override { unexpectedEngineCall("setFog"); }
	void getFog(SColor&, E_FOG_TYPE&, f32&, f32&, f32&, bool&, bool&) override { unexpectedEngineCall("getFog"); }
	ECOLOR_FORMAT getColorFormat() const override { unexpectedEngineCall("getColorFormat"); }
	const core::dimension2d<u32>& getScreenSize() const override { unexpectedEngineCall("getScreenSize"); }
	const core::dimension2d<u32>& getCurrentRenderTargetSize() const override { unexpectedEngineCall("getCurrentRenderTargetSize"); }
	s32 getFPS() const override { unexpectedEngineCall("getFPS"); }
	u32 getPrimitiveCountDrawn(u32) const override { unexpectedEngineCall("getPrimitiveCountDrawn"); }
	void deleteAllDynamicLights() override { unexpectedEngineCall("deleteAllDynamicLights"); }
	s32 addDynamicLight(const SLight&) override { unexpectedEngineCall("addDynamicLight"); }
	u32 getMaximalDynamicLightAmount() const override { unexpectedEngineCall("getMaximalDynamicLightAmount"); }
	u32 getDynamicLightCount() const override { unexpectedEngineCall("getDynamicLightCount"); }
	const SLight& getDynamicLight(u32) const override { unexpectedEngineCall("getDynamicLight"); }
	void turnLightOn(s32, bool) override { unexpectedEngineCall("turnLightOn"); }
	const wchar_t* getName() const override { unexpectedEngineCall("getName"); }
	void addExternalImageLoader(IImageLoader*) override { unexpectedEngineCall("addExternalImageLoader"); }
	void addExternalImageWriter(IImageWriter*) override { unexpectedEngineCall("addExternalImageWriter"); }
	u32 getMaximalPrimitiveCount() const override { unexpectedEngineCall("getMaximalPrimitiveCount"); }
	void setTextureCreationFlag(E_TEXTURE_CREATION_FLAG, bool) override { unexpectedEngineCall("setTextureCreationFlag"); }
	bool getTextureCreationFlag(E_TEXTURE_CREATION_FLAG) const override { unexpectedEngineCall("getTextureCreationFlag"); }
	IImage* createImageFromFile(const io::path&) override { unexpectedEngineCall("createImageFromFile"); }
	IImage* createImageFromFile(io::IReadFile*) override { unexpectedEngineCall("createImageFromFile"); }
	bool writeImageToFile(IImage*, const io::path&, u32) override { unexpectedEngineCall("writeImageToFile"); }
	bool writeImageToFile(IImage*, io::IWriteFile*, u32) override { unexpectedEngineCall("writeImageToFile"); }
	IImage* createImageFromData(ECOLOR_FORMAT, const core::dimension2d<u32>&, void *, bool, bool) override { unexpectedEngineCall("createImageFromData"); }
	IImage* createImage(ECOLOR_FORMAT, const core::dimension2d<u32>&) override { unexpectedEngineCall("createImage"); }
	IImage* createImage(ECOLOR_FORMAT, IImage *) override { unexpectedEngineCall("createImage"); }
	IImage* createImage(IImage*, const core::position2d<s32>&, const core::dimension2d<u32>&) override { unexpectedEngineCall("createImage"); }
	IImage* createImage(ITexture*, const core::position2d<s32>&, const core::dimension2d<u32>&) override { unexpectedEngineCall("createImage"); }
	void OnResize(const core::dimension2d<u32>&) override { unexpectedEngineCall("OnResize"); }
	s32 addMaterialRenderer(IMaterialRenderer*, const c8*) override { unexpectedEngineCall("addMaterialRenderer"); }
	IMaterialRenderer* getMaterialRenderer(u32) override { unexpectedEngineCall("getMaterialRenderer"); }
	u32 getMaterialRendererCount() const override { unexpectedEngineCall("getMaterialRendererCount"); }
	const c8* getMaterialRendererName(u32) const override { unexpectedEngineCall("getMaterialRendererName"); }
	void setMaterialRendererName(s32, const c8*) override { unexpectedEngineCall("setMaterialRendererName"); }
	io::IAttributes* createAttributesFromMaterial(const video::SMaterial&, io::SAttributeReadWriteOptions*) override { unexpectedEngineCall("createAttributesFromMaterial"); }
	void fillMaterialStructureFromAttributes(video::SMaterial&, io::IAttributes*) override { unexpectedEngineCall("fillMaterialStructureFromAttributes"); }
	const SExposedVideoData& getExposedVideoData() override { unexpectedEngineCall("getExposedVideoData"); }
	E_DRIVER_TYPE getDriverType() const override { unexpectedEngineCall("getDriverType"); }
	IGPUProgrammingServices* getGPUProgrammingServices() override { unexpectedEngineCall("getGPUProgrammingServices"); }
	scene::IMeshManipulator* getMeshManipulator() override { unexpectedEngineCall("getMeshManipulator"); }
	void clearZBuffer() override { unexpectedEngineCall("clearZBuffer"); }
	IImage* createScreenShot(video::ECOLOR_FORMAT, video::E_RENDER_TARGET) override { unexpectedEngineCall("createScreenShot"); }
	video::ITexture* findTexture(const io::path&) override { unexpectedEngineCall("findTexture"); }
	bool setClipPlane(u32, const core::plane3df&, bool) override { unexpectedEngineCall("setClipPlane"); }
	void enableClipPlane(u32, bool) override { unexpectedEngineCall("enableClipPlane"); }
	void setMinHardwareBufferVertexCount(u32) override { unexpectedEngineCall("setMinHardwareBufferVertexCount"); }
	SOverrideMaterial& getOverrideMaterial() override { unexpectedEngineCall("getOverrideMaterial"); }
	SMaterial& getMaterial2D() override { unexpectedEngineCall("getMaterial2D"); }
	void enableMaterial2D(bool) override { unexpectedEngineCall("enableMaterial2D"); }
	core::stringc getVendorInfo() override { unexpectedEngineCall("getVendorInfo"); }
	void setAmbientLight(const SColorf&) override { unexpectedEngineCall("setAmbientLight"); }
	void setAllowZWriteOnTransparent(bool) override { unexpectedEngineCall("setAllowZWriteOnTransparent"); }
	core::dimension2du getMaxTextureSize() const override { unexpectedEngineCall("getMaxTextureSize"); }
	void convertColor(const void*, ECOLOR_FORMAT, s32, void*, ECOLOR_FORMAT) const override { unexpectedEngineCall("convertColor"); }
};
} } // namespace irr::video
using irr::video::UnusedVideoDriver;

namespace irr {
class UnusedDevice : public IrrlichtDevice
{
public:
	bool run() override { unexpectedEngineCall("run"); }
	void yield() override { unexpectedEngineCall("yield"); }
	void sleep(u32, bool) override { unexpectedEngineCall("sleep"); }
	video::IVideoDriver* getVideoDriver() override { unexpectedEngineCall("getVideoDriver"); }
	io::IFileSystem* getFileSystem() override { unexpectedEngineCall("getFileSystem"); }
	gui::IGUIEnvironment* getGUIEnvironment() override { unexpectedEngineCall("getGUIEnvironment"); }
	scene::ISceneManager* getSceneManager() override { unexpectedEngineCall("getSceneManager"); }
	gui::ICursorControl* getCursorControl() override { unexpectedEngineCall("getCursorControl"); }
	ILogger* getLogger() override { unexpectedEngineCall("getLogger"); }
	video::IVideoModeList* getVideoModeList() override { unexpectedEngineCall("getVideoModeList"); }
	IOSOperator* getOSOperator() override { unexpectedEngineCall("getOSOperator"); }
	ITimer* getTimer() override { unexpectedEngineCall("getTimer"); }
	IRandomizer* getRandomizer() const override { unexpectedEngineCall("getRandomizer"); }
	void setRandomizer(IRandomizer*) override { unexpectedEngineCall("setRandomizer"); }
	IRandomizer* createDefaultRandomizer() const override { unexpectedEngineCall("createDefaultRandomizer"); }
	void setWindowCaption(const wchar_t*) override { unexpectedEngineCall("setWindowCaption"); }
	bool isWindowActive() const override { unexpectedEngineCall("isWindowActive"); }
	bool isWindowFocused() const override { unexpectedEngineCall("isWindowFocused"); }
	bool isWindowMinimized() const override { unexpectedEngineCall("isWindowMinimized"); }
	bool isFullscreen() const override { unexpectedEngineCall("isFullscreen"); }
	video::ECOLOR_FORMAT getColorFormat() const override { unexpectedEngineCall("getColorFormat"); }
	void closeDevice() override { unexpectedEngineCall("closeDevice"); }
	const c8* getVersion() const override { unexpectedEngineCall("getVersion"); }
	void setEventReceiver(IEventReceiver*) override { unexpectedEngineCall("setEventReceiver"); }
	IEventReceiver* getEventReceiver() override { unexpectedEngineCall("getEventReceiver"); }
	bool postEventFromUser(const SEvent&) override { unexpectedEngineCall("postEventFromUser"); }
	void setInputReceivingSceneManager(scene::ISceneManager*) override { unexpectedEngineCall("setInputReceivingSceneManager"); }
	void setResizable(bool) override { unexpectedEngineCall("setResizable"); }
	void minimizeWindow() override { unexpectedEngineCall("minimizeWindow"); }
	void maximizeWindow() override { unexpectedEngineCall("maximizeWindow"); }
	void restoreWindow() override { unexpectedEngineCall("restoreWindow"); }
	bool activateJoysticks(core::array<SJoystickInfo>&) override { unexpectedEngineCall("activateJoysticks"); }
	bool setGammaRamp(f32, f32, f32, f32, f32) override { unexpectedEngineCall("setGammaRamp"); }
	bool getGammaRamp(f32 &, f32 &, f32 &, f32 &, f32 &) override { unexpectedEngineCall("getGammaRamp"); }
	void clearSystemMessages() override { unexpectedEngineCall("clearSystemMessages"); }
	E_DEVICE_TYPE getType() const override { unexpectedEngineCall("getType"); }
};
} // namespace irr
using irr::UnusedDevice;

namespace irr { namespace video {
class UnusedGpuServices : public IGPUProgrammingServices
{
public:
	s32 addHighLevelShaderMaterial(const c8*, const c8*, E_VERTEX_SHADER_TYPE, const c8*, const c8*, E_PIXEL_SHADER_TYPE, const c8*, const c8*, E_GEOMETRY_SHADER_TYPE, scene::E_PRIMITIVE_TYPE, scene::E_PRIMITIVE_TYPE, u32, IShaderConstantSetCallBack*, E_MATERIAL_TYPE, s32, E_GPU_SHADING_LANGUAGE) override { unexpectedEngineCall("addHighLevelShaderMaterial"); }
	s32 addHighLevelShaderMaterialFromFiles(const io::path&, const c8*, E_VERTEX_SHADER_TYPE, const io::path&, const c8*, E_PIXEL_SHADER_TYPE, const io::path&, const c8*, E_GEOMETRY_SHADER_TYPE, scene::E_PRIMITIVE_TYPE, scene::E_PRIMITIVE_TYPE, u32, IShaderConstantSetCallBack*, E_MATERIAL_TYPE, s32, E_GPU_SHADING_LANGUAGE) override { unexpectedEngineCall("addHighLevelShaderMaterialFromFiles"); }
	s32 addHighLevelShaderMaterialFromFiles(io::IReadFile*, const c8*, E_VERTEX_SHADER_TYPE, io::IReadFile*, const c8*, E_PIXEL_SHADER_TYPE, io::IReadFile*, const c8*, E_GEOMETRY_SHADER_TYPE, scene::E_PRIMITIVE_TYPE, scene::E_PRIMITIVE_TYPE, u32, IShaderConstantSetCallBack*, E_MATERIAL_TYPE, s32, E_GPU_SHADING_LANGUAGE) override { unexpectedEngineCall("addHighLevelShaderMaterialFromFiles"); }
	s32 addShaderMaterial(const c8*, const c8*, IShaderConstantSetCallBack*, E_MATERIAL_TYPE, s32) override { unexpectedEngineCall("addShaderMaterial"); }
	s32 addShaderMaterialFromFiles(io::IReadFile*, io::IReadFile*, IShaderConstantSetCallBack*, E_MATERIAL_TYPE, s32) override { unexpectedEngineCall("addShaderMaterialFromFiles"); }
	s32 addShaderMaterialFromFiles(const io::path&, const io::path&, IShaderConstantSetCallBack*, E_MATERIAL_TYPE, s32) override { unexpectedEngineCall("addShaderMaterialFromFiles"); }
};
} } // namespace irr::video
using irr::video::UnusedGpuServices;

namespace irr { namespace video {
class UnusedRendererServices : public IMaterialRendererServices
{
public:
	void setBasicRenderStates(const SMaterial&, const SMaterial&, bool) override { unexpectedEngineCall("setBasicRenderStates"); }
	bool setVertexShaderConstant(const c8*, const f32*, int) override { unexpectedEngineCall("setVertexShaderConstant"); }
	bool setVertexShaderConstant(const c8*, const bool*, int) override { unexpectedEngineCall("setVertexShaderConstant"); }
	bool setVertexShaderConstant(const c8*, const s32*, int) override { unexpectedEngineCall("setVertexShaderConstant"); }
	void setVertexShaderConstant(const f32*, s32, s32) override { unexpectedEngineCall("setVertexShaderConstant"); }
	bool setPixelShaderConstant(const c8*, const f32*, int) override { unexpectedEngineCall("setPixelShaderConstant"); }
	bool setPixelShaderConstant(const c8*, const bool*, int) override { unexpectedEngineCall("setPixelShaderConstant"); }
	bool setPixelShaderConstant(const c8*, const s32*, int) override { unexpectedEngineCall("setPixelShaderConstant"); }
	void setPixelShaderConstant(const f32*, s32, s32) override { unexpectedEngineCall("setPixelShaderConstant"); }
	IVideoDriver* getVideoDriver() override { unexpectedEngineCall("getVideoDriver"); }
};
} } // namespace irr::video
using irr::video::UnusedRendererServices;

namespace irr {
class UnusedTimer : public ITimer
{
public:
	u32 getRealTime() const override { unexpectedEngineCall("getRealTime"); }
	RealTimeDate getRealTimeAndDate() const override { unexpectedEngineCall("getRealTimeAndDate"); }
	u32 getTime() const override { unexpectedEngineCall("getTime"); }
	void setTime(u32) override { unexpectedEngineCall("setTime"); }
	void stop() override { unexpectedEngineCall("stop"); }
	void start() override { unexpectedEngineCall("start"); }
	void setSpeed(f32) override { unexpectedEngineCall("setSpeed"); }
	f32 getSpeed() const override { unexpectedEngineCall("getSpeed"); }
	bool isStopped() const override { unexpectedEngineCall("isStopped"); }
	void tick() override { unexpectedEngineCall("tick"); }
};
} // namespace irr
using irr::UnusedTimer;
