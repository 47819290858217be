// The flake texture against the DirectX doubles: the pixel format search,
// the hardware and software surface paths, palettes, the upload, the
// material, Unload, and the failure exits of Load.
#include "texture/flake_texture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "gfx/device_state.h"
#include "tests/doubles/dx_doubles.h"

namespace {

using dxd::TextureFormat;

// Writes a bottom-up Windows bitmap of the given depth; 8-bit ones get
// `colours` colour-table entries. Returns its path.
std::string WriteBitmap(const std::string& name, int width, int height, int bits, int colours = 0) {
    char dir[MAX_PATH];
    GetTempPathA(MAX_PATH, dir);
    const std::string path = std::string(dir) + name;
    const int rowBytes = ((width * bits + 31) / 32) * 4;
    const int tableBytes = bits <= 8 ? colours * 4 : 0;
    BITMAPFILEHEADER file = {};
    BITMAPINFOHEADER info = {};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(info) + tableBytes;
    file.bfSize = file.bfOffBits + rowBytes * height;
    info.biSize = sizeof(info);
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = static_cast<WORD>(bits);
    info.biClrUsed = bits <= 8 ? colours : 0;
    std::vector<unsigned char> table(tableBytes);
    for (int i = 0; i < colours; ++i) {
        table[4 * i + 0] = static_cast<unsigned char>(i);        // blue
        table[4 * i + 1] = static_cast<unsigned char>(100 + i);  // green
        table[4 * i + 2] = static_cast<unsigned char>(200 - i);  // red
        table[4 * i + 3] = 0x55;                                 // reserved
    }
    std::vector<unsigned char> pixels(rowBytes * height, 0x7F);
    if (bits <= 8) std::fill(pixels.begin(), pixels.end(), 1);
    FILE* f = std::fopen(path.c_str(), "wb");
    std::fwrite(&file, sizeof(file), 1, f);
    std::fwrite(&info, sizeof(info), 1, f);
    if (tableBytes) std::fwrite(table.data(), table.size(), 1, f);
    std::fwrite(pixels.data(), pixels.size(), 1, f);
    std::fclose(f);
    return path;
}

// The device layer as CreateD3DRM leaves it: DirectDraw, Direct3D2 and the
// device, made by the test and held by g_deviceState.
class TextureTest : public ::testing::Test {
protected:
    void SetUp() override {
        dx.BindDeviceState();
        directDraw = dx.NewDirectDraw();
        direct3D2 = dx.NewDirect3D2();
        device = dx.NewDevice2();
        g_deviceState.directDraw = directDraw;
        g_deviceState.direct3D2 = direct3D2;
        g_deviceState.device2 = device;
        dx.config.textureFormats = {TextureFormat(16, 0x7C00, 0x3E0, 0x1F), TextureFormat(32, 0xFF0000, 0xFF00, 0xFF)};
        bitmap24 = WriteBitmap("vorl_flake24.bmp", 8, 4, 24);
    }
    void TearDown() override {
        texture.Unload();
        dx.ExpectAllReleased({static_cast<IDirectDraw*>(directDraw), static_cast<IDirect3D2*>(direct3D2),
                              static_cast<IDirect3DDevice2*>(device)});
        EXPECT_TRUE(dx.errors.empty()) << dx.errors.front();
    }

    std::vector<std::string> Calls(const std::string& part) const { return dx.log.Matching(part); }
    std::vector<std::string> ReleasedNames() const { return dx.log.Released(); }

    dxd::DxDoubles dx;
    dxd::DirectDrawDouble* directDraw = nullptr;
    dxd::Direct3D2Double* direct3D2 = nullptr;
    dxd::Device2Double* device = nullptr;
    std::string bitmap24;
    FlakeTexture texture;
};

DDPIXELFORMAT Search(dxd::DxDoubles&, IDirect3DDevice2* device, DWORD wanted) {
    DDPIXELFORMAT format;
    std::memset(&format, 0xCD, sizeof(format));  // every byte is overwritten
    FindTextureFormat(device, wanted, &format);
    return format;
}

// ---------------------------------------------------------------- format search

TEST_F(TextureTest, TwentyFourBitsTakeThePalettizedFormatFirstThenThirtyTwoNeverSixteen) {
    dx.config.textureFormats = {TextureFormat(8), TextureFormat(16, 0xF800, 0x7E0, 0x1F),
                                TextureFormat(32, 0xFF0000, 0xFF00, 0xFF)};
    EXPECT_EQ(Search(dx, device, 24).dwRGBBitCount, 32u);
    // Without the 32-bit offer the 8-bit one stays: 16 bits lie below 24.
    dx.config.textureFormats.pop_back();
    DDPIXELFORMAT f = Search(dx, device, 24);
    EXPECT_EQ(f.dwRGBBitCount, 8u);
    EXPECT_TRUE(f.dwFlags & DDPF_PALETTEINDEXED8);
}

TEST_F(TextureTest, SmallestCountAtOrAboveTheWantedOneWinsAndTiesKeepTheFirst) {
    dx.config.textureFormats = {TextureFormat(16, 0xF800, 0x7E0, 0x1F), TextureFormat(16, 0x7C00, 0x3E0, 0x1F)};
    EXPECT_EQ(Search(dx, device, 16).dwRBitMask, 0xF800u);  // 5-6-5 kept

    dx.config.textureFormats = {TextureFormat(32, 0xFF0000, 0xFF00, 0xFF), TextureFormat(24, 0xFF0000, 0xFF00, 0xFF),
                                TextureFormat(16, 0xF800, 0x7E0, 0x1F)};
    EXPECT_EQ(Search(dx, device, 16).dwRGBBitCount, 16u);
    EXPECT_EQ(Search(dx, device, 24).dwRGBBitCount, 24u);
    // The whole record is copied, size field included.
    EXPECT_EQ(Search(dx, device, 24).dwSize, sizeof(DDPIXELFORMAT));
}

TEST_F(TextureTest, DepthAboveEveryOfferTakesTheFirstAcceptable) {
    dx.config.textureFormats = {TextureFormat(16, 0x7C00, 0x3E0, 0x1F, 0x8000),  // alpha: never
                                TextureFormat(16, 0x7C00, 0x3E0, 0x1F), TextureFormat(16, 0xF800, 0x7E0, 0x1F),
                                TextureFormat(8)};
    DDPIXELFORMAT f = Search(dx, device, 32);
    EXPECT_EQ(f.dwRGBBitCount, 16u);
    EXPECT_EQ(f.dwRBitMask, 0x7C00u);
    EXPECT_FALSE(f.dwFlags & DDPF_ALPHAPIXELS);
}

TEST_F(TextureTest, AlphaFormatsAreNeverChosen) {
    DDSURFACEDESC alphaOnly = TextureFormat(16, 0xF00, 0xF0, 0xF);
    alphaOnly.ddpfPixelFormat.dwFlags |= DDPF_ALPHA;  // alpha without alpha pixels
    dx.config.textureFormats = {TextureFormat(16, 0x7C00, 0x3E0, 0x1F, 0x8000), alphaOnly,
                                TextureFormat(32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000),
                                TextureFormat(32, 0xFF0000, 0xFF00, 0xFF)};
    DDPIXELFORMAT f = Search(dx, device, 16);
    EXPECT_EQ(f.dwRGBBitCount, 32u);
    EXPECT_EQ(f.dwRGBAlphaBitMask, 0u);
}

TEST_F(TextureTest, NothingAcceptableLeavesTheFormatZero) {
    DDSURFACEDESC rgb8 = TextureFormat(8);
    rgb8.ddpfPixelFormat.dwFlags = DDPF_RGB;  // 8 bits but not palette-indexed
    DDSURFACEDESC noRgb = TextureFormat(16, 0xF800, 0x7E0, 0x1F);
    noRgb.ddpfPixelFormat.dwFlags = 0;  // more than 8 bits without DDPF_RGB
    dx.config.textureFormats = {TextureFormat(4), rgb8, noRgb, TextureFormat(16, 0x7C00, 0x3E0, 0x1F, 0x8000)};
    DDPIXELFORMAT f = Search(dx, device, 16);
    DDPIXELFORMAT zero = {};
    EXPECT_EQ(std::memcmp(&f, &zero, sizeof(f)), 0);
}

TEST_F(TextureTest, CallbackAlwaysContinues) {
    DDSURFACEDESC alpha = TextureFormat(16, 0x7C00, 0x3E0, 0x1F, 0x8000);
    DDSURFACEDESC good = TextureFormat(16, 0x7C00, 0x3E0, 0x1F);
    struct {
        DWORD wanted;
        DDPIXELFORMAT format;
    } search = {16, {}};
    EXPECT_EQ(TextureFormatCallback(&alpha, &search), D3DENUMRET_OK);
    EXPECT_EQ(TextureFormatCallback(&good, &search), D3DENUMRET_OK);
    EXPECT_EQ(TextureFormatCallback(&good, &search), D3DENUMRET_OK);
    EXPECT_EQ(search.format.dwRGBBitCount, 16u);
}

// ---------------------------------------------------------------- Load

TEST_F(TextureTest, SoftwareDeviceMakesOneSurfaceSharedByBothFields) {
    g_deviceState.halInUse = 0;
    ASSERT_EQ(texture.Load(device, bitmap24.c_str()), 1);

    ASSERT_EQ(dx.surfaces.size(), 1u);
    dxd::SurfaceDouble* surface = dx.surfaces[0];
    EXPECT_EQ(texture.m_systemSurface, texture.m_textureSurface);
    EXPECT_EQ(texture.m_textureSurface, static_cast<IDirectDrawSurface*>(surface));
    EXPECT_EQ(surface->created.dwSize, sizeof(DDSURFACEDESC));
    EXPECT_EQ(surface->created.dwFlags, 0x1007u);
    EXPECT_EQ(surface->created.ddsCaps.dwCaps, 0x1800u);
    EXPECT_EQ(surface->created.dwWidth, 8u);
    EXPECT_EQ(surface->created.dwHeight, 4u);
    EXPECT_EQ(surface->created.ddpfPixelFormat.dwRGBBitCount, 32u);
    EXPECT_EQ(surface->refs, 2);
    // Nothing to upload: no Restore, no texture Load; no palette for 32 bits.
    EXPECT_EQ(surface->restores, 0);
    EXPECT_TRUE(Calls(".Load(").empty());
    EXPECT_TRUE(Calls("CreatePalette").empty());
    EXPECT_EQ(surface->openDCs, 0);

    ASSERT_EQ(dx.textures.size(), 1u);
    EXPECT_EQ(texture.m_textureHandle, dx.textures[0]->handle);
    EXPECT_EQ(dx.textures[0]->refs, 0);  // the handle's interface is let go again

    ASSERT_EQ(dx.materials.size(), 1u);
    dxd::MaterialDouble* material = dx.materials[0];
    EXPECT_EQ(texture.m_material, static_cast<IDirect3DMaterial2*>(material));
    EXPECT_EQ(texture.m_materialHandle, material->handle);
    ASSERT_TRUE(material->descSet);
    const D3DMATERIAL& m = material->desc;
    EXPECT_EQ(m.dwSize, 80u);
    EXPECT_EQ(m.diffuse.r, 1.0f);
    EXPECT_EQ(m.diffuse.g, 1.0f);
    EXPECT_EQ(m.diffuse.b, 1.0f);
    EXPECT_EQ(m.diffuse.a, 1.0f);
    EXPECT_EQ(m.ambient.r + m.ambient.g + m.ambient.b + m.ambient.a, 0.0f);
    EXPECT_EQ(m.specular.r + m.specular.a + m.emissive.r + m.emissive.a + m.power, 0.0f);
    EXPECT_EQ(m.hTexture, texture.m_textureHandle);
    EXPECT_EQ(m.dwRampSize, 32u);

    // Unload drops the one shared surface's two references, then the material.
    dx.log.Clear();
    texture.Unload();
    const std::string name = dx.NameOf(surface);
    std::vector<std::string> expected = {name, name, dx.NameOf(static_cast<IDirect3DMaterial2*>(material))};
    EXPECT_EQ(ReleasedNames(), expected);
    EXPECT_EQ(texture.m_systemSurface, nullptr);
    EXPECT_EQ(texture.m_textureSurface, nullptr);
    EXPECT_EQ(texture.m_material, nullptr);
    EXPECT_EQ(texture.m_textureHandle, 0u);
}

TEST_F(TextureTest, HardwareDeviceLoadsAVideoTextureFromASystemSurface) {
    g_deviceState.halInUse = 1;
    ASSERT_EQ(texture.Load(device, bitmap24.c_str()), 1);

    ASSERT_EQ(dx.surfaces.size(), 2u);
    dxd::SurfaceDouble* video = dx.surfaces[0];
    dxd::SurfaceDouble* system = dx.surfaces[1];
    EXPECT_EQ(video->created.ddsCaps.dwCaps, 0x4005000u);
    EXPECT_EQ(system->created.ddsCaps.dwCaps, 0x1800u);
    EXPECT_EQ(system->created.dwFlags, 0x1007u);
    EXPECT_EQ(texture.m_textureSurface, static_cast<IDirectDrawSurface*>(video));
    EXPECT_EQ(texture.m_systemSurface, static_cast<IDirectDrawSurface*>(system));
    EXPECT_EQ(video->refs, 1);
    EXPECT_EQ(system->refs, 1);

    // The pixels went through GDI into the system surface, then the video
    // texture was restored and loaded from it.
    EXPECT_EQ(dx.log.Count(dx.NameOf(system) + ".GetDC()"), 1);
    EXPECT_EQ(dx.log.Count(dx.NameOf(system) + ".ReleaseDC()"), 1);
    EXPECT_EQ(video->restores, 1);
    ASSERT_EQ(video->texture->loads.size(), 1u);
    EXPECT_EQ(video->texture->loads[0], static_cast<IDirect3DTexture2*>(system->texture));
    EXPECT_EQ(system->texture->refs, 0);
    EXPECT_EQ(texture.m_textureHandle, video->texture->handle);
    // The material's handle is taken for the device of the record.
    EXPECT_EQ(dx.log.Count(dx.NameOf(dx.materials[0]) + ".GetHandle(" + dx.NameOf(device) + ")"), 1);

    dx.log.Clear();
    texture.Unload();
    std::vector<std::string> expected = {dx.NameOf(system), dx.NameOf(video), dx.NameOf(dx.materials[0])};
    EXPECT_EQ(ReleasedNames(), expected);
}

TEST_F(TextureTest, PaletteCapabilityFollowsTheColourTableSize) {
    dx.config.textureFormats = {TextureFormat(8), TextureFormat(16, 0x7C00, 0x3E0, 0x1F)};
    g_deviceState.halInUse = 1;
    // The count is what GetDIBColorTable reads back: Wine gives a DIB
    // section the full table of its depth, so the depths decide here.
    const struct {
        int bits, colours;
        DWORD caps;
    } cases[] = {{1, 2, DDPCAPS_4BIT}, {4, 16, DDPCAPS_4BIT}, {8, 17, DDPCAPS_8BIT}, {8, 256, DDPCAPS_8BIT}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.bits) + " bits, " + std::to_string(c.colours) + " colours");
        const std::string path = WriteBitmap("vorl_flake_pal" + std::to_string(c.colours) + ".bmp", 4, 4, c.bits,
                                             c.colours);
        const size_t before = dx.palettes.size();
        ASSERT_EQ(texture.Load(device, path.c_str()), 1);
        ASSERT_EQ(dx.palettes.size(), before + 1);
        dxd::PaletteDouble* palette = dx.palettes.back();
        EXPECT_EQ(palette->flags, c.caps);
        EXPECT_EQ(texture.m_palette, static_cast<IDirectDrawPalette*>(palette));
        // Red and blue change places; the flags byte is zero.
        EXPECT_EQ(palette->entries[1].peRed, 199);
        EXPECT_EQ(palette->entries[1].peGreen, 101);
        EXPECT_EQ(palette->entries[1].peBlue, 1);
        EXPECT_EQ(palette->entries[1].peFlags, 0);
        EXPECT_EQ(palette->entries[c.colours - 1].peBlue, c.colours - 1);
        // System surface first, texture second.
        std::vector<std::string> setPalette = Calls(".SetPalette(" + dx.NameOf(palette) + ")");
        ASSERT_EQ(setPalette.size(), 2u);
        EXPECT_EQ(setPalette[0].rfind(dx.NameOf(texture.m_systemSurface), 0), 0u);
        EXPECT_EQ(setPalette[1].rfind(dx.NameOf(texture.m_textureSurface), 0), 0u);
    }
    // Each reload released the earlier palette.
    texture.Unload();
    for (auto* p : dx.palettes) EXPECT_EQ(p->refs, 0);
}

TEST_F(TextureTest, ReloadReleasesTheEarlierContentsOnlyAfterFindingTheBitmap) {
    g_deviceState.halInUse = 1;
    ASSERT_EQ(texture.Load(device, bitmap24.c_str()), 1);
    IDirectDrawSurface* first = texture.m_textureSurface;

    // A missing file ends the process and leaves the loaded texture alone.
    dx.log.Clear();
    EXPECT_THROW(texture.Load(device, "no_such_flake.bmp"), dxd::ExitCalled);
    EXPECT_EQ(dx.log.MessageBoxes(),
              std::vector<std::string>{"no_such_flake.bmp\xcc\xa7\xb2\xd9\x82\xaa\x93\xc7\x82\xdd\x8d\x9e\x82\xdf\x82"
                                       "\xdc\x82\xb9\x82\xf1"});
    EXPECT_TRUE(dx.log.Contains("exit:1"));
    EXPECT_TRUE(dx.log.Released().empty());
    EXPECT_EQ(texture.m_textureSurface, first);

    ASSERT_EQ(texture.Load(device, bitmap24.c_str()), 1);
    EXPECT_EQ(dx.surfaces[0]->refs, 0);
    EXPECT_EQ(dx.surfaces[1]->refs, 0);
    EXPECT_EQ(dx.materials[0]->refs, 0);
    EXPECT_NE(texture.m_textureSurface, first);
}

TEST_F(TextureTest, SurfaceAndCopyFailuresReturnZeroHoldingNothing) {
    const struct {
        const char* key;
        int hal;
    } cases[] = {
        {"IDirectDraw::CreateSurface", 0},                  // the texture surface
        {"IDirectDraw::CreateSurface", 1},                  // the video texture
        {"IDirectDrawSurface::GetDC", 1},                   // the pixel copy
        {"IDirectDrawSurface::Restore", 1},                 // the upload
        {"IDirect3DTexture2::Load", 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.key) + (c.hal ? " hal" : " software"));
        g_deviceState.halInUse = c.hal;
        ASSERT_EQ(texture.Load(device, bitmap24.c_str()), 1);
        dx.Fail(c.key, DDERR_GENERIC, 1);
        EXPECT_EQ(texture.Load(device, bitmap24.c_str()), 0);
        EXPECT_EQ(texture.m_systemSurface, nullptr);
        EXPECT_EQ(texture.m_textureSurface, nullptr);
        EXPECT_EQ(texture.m_material, nullptr);
        EXPECT_EQ(texture.m_textureHandle, 0u);
        // The material of the earlier load is gone: its handle must not be used.
        EXPECT_EQ(texture.m_materialHandle, 0u);
        EXPECT_EQ(dx.Unreleased({static_cast<IDirectDraw*>(directDraw), static_cast<IDirect3D2*>(direct3D2),
                                 static_cast<IDirect3DDevice2*>(device)}),
                  "");
    }
    // The second surface of a hardware load failing: the first one is released.
    g_deviceState.halInUse = 1;
    dx.Fail("IDirectDraw::CreateSurface", DDERR_OUTOFVIDEOMEMORY, 1, 1);
    const size_t before = dx.surfaces.size();
    EXPECT_EQ(texture.Load(device, bitmap24.c_str()), 0);
    ASSERT_EQ(dx.surfaces.size(), before + 1);
    EXPECT_EQ(dx.surfaces.back()->refs, 0);
}

TEST_F(TextureTest, FailedMaterialIsLoggedAndNeverUsed) {
    dx.Fail("IDirect3D2::CreateMaterial", DDERR_OUTOFMEMORY, 1);
    EXPECT_EQ(texture.Load(device, bitmap24.c_str()), 0);
    EXPECT_EQ(dx.log.DebugLines(), std::vector<std::string>{"vusk: Failed to CreateMaterial\n"});
    EXPECT_TRUE(Calls("SetMaterial").empty());
    EXPECT_EQ(texture.m_material, nullptr);
    EXPECT_EQ(texture.m_materialHandle, 0u);
    EXPECT_EQ(texture.m_textureSurface, nullptr);

    // Without a Direct3D object there is no material either, and no crash.
    g_deviceState.direct3D2 = nullptr;
    EXPECT_EQ(texture.Load(device, bitmap24.c_str()), 0);
    EXPECT_EQ(dx.log.Count("debug:vusk: Failed to CreateMaterial\n"), 2);
    g_deviceState.direct3D2 = direct3D2;
}

TEST_F(TextureTest, UploadResults) {
    // Nothing loaded: nothing to upload from.
    EXPECT_EQ(texture.UploadTexture(), 0);

    dxd::SurfaceDouble* video = dx.NewSurface();
    dxd::SurfaceDouble* system = dx.NewSurface();
    texture.m_textureSurface = video;
    EXPECT_EQ(texture.UploadTexture(), 0);  // one surface missing
    texture.m_systemSurface = system;
    EXPECT_EQ(texture.UploadTexture(), 1);
    ASSERT_NE(video->texture, nullptr);
    dx.Fail(video->texture, "Load", DDERR_SURFACELOST, 1);
    EXPECT_EQ(texture.UploadTexture(), 0);
    dx.Fail(video, "Restore", DDERR_WRONGMODE, 1);
    dx.log.Clear();
    EXPECT_EQ(texture.UploadTexture(), 0);
    EXPECT_TRUE(Calls("QueryInterface").empty());  // stops after a failed Restore
    // Every texture interface taken was given back.
    EXPECT_EQ(video->texture->refs, 0);
    EXPECT_EQ(system->texture->refs, 0);
    texture.Unload();
}

// A lost texture whose copy was lost too, or a software texture that is its
// own copy, must be loaded again: a restored surface keeps no pixels.
TEST_F(TextureTest, LostTextureWithoutItsCopyMustBeLoadedAgain) {
    EXPECT_EQ(texture.RestoreLost(), 1);  // nothing loaded
    for (int hal : {1, 0}) {
        g_deviceState.halInUse = hal;
        ASSERT_EQ(texture.Load(device, bitmap24.c_str()), 1);
        dx.Fail(dx.Find(texture.m_systemSurface), "IsLost", DDERR_SURFACELOST);
        dx.Fail(dx.Find(texture.m_textureSurface), "IsLost", DDERR_SURFACELOST);
        dx.log.Clear();
        EXPECT_EQ(texture.RestoreLost(), 0) << hal;
        EXPECT_TRUE(Calls(".Restore()").empty()) << hal;
    }
}

TEST_F(TextureTest, UnloadOnAnEmptyObjectOnlyClearsTheTextureHandle) {
    texture.m_textureHandle = 0x1234;
    texture.m_materialHandle = 0x77;
    texture.Unload();
    texture.Unload();
    EXPECT_EQ(texture.m_textureHandle, 0u);
    EXPECT_EQ(texture.m_materialHandle, 0x77u);
    EXPECT_TRUE(dx.log.entries.empty());
}

}  // namespace
