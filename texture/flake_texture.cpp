// The flake bitmap as a Direct3D texture: pixel format search, surfaces,
// palette, upload and the material that refers to the texture.
#include "texture/flake_texture.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "framework/afx_hooks.h"
#include "gfx/com_release.h"
#include "gfx/device_state.h"

namespace {

// {93281502-8CF8-11D0-89AB-00A0C9054129}
const GUID kIidDirect3DTexture2 = {0x93281502, 0x8CF8, 0x11D0, {0x89, 0xAB, 0x00, 0xA0, 0xC9, 0x05, 0x41, 0x29}};

const DWORD kHardwareTextureCaps = DDSCAPS_TEXTURE | DDSCAPS_VIDEOMEMORY | DDSCAPS_ALLOCONLOAD;
const DWORD kSystemTextureCaps = DDSCAPS_TEXTURE | DDSCAPS_SYSTEMMEMORY;
static_assert(kHardwareTextureCaps == 0x4005000, "hardware texture caps");
static_assert(kSystemTextureCaps == 0x1800, "system texture caps");
static_assert(sizeof(D3DMATERIAL) == 80, "D3DMATERIAL is the 80-byte public record");

struct TextureFormatSearch {
    DWORD wantedBitCount;
    DDPIXELFORMAT pixelFormat;
};

// The memory device context a bitmap is selected into, compatible with the
// screen; puts the earlier selection back before it is deleted.
class BitmapDC {
public:
    explicit BitmapDC(HBITMAP bitmap) : m_dc(CreateCompatibleDC(nullptr)), m_old(nullptr) {
        if (m_dc) m_old = SelectObject(m_dc, bitmap);
    }
    ~BitmapDC() {
        if (!m_dc) return;
        if (m_old) SelectObject(m_dc, m_old);
        DeleteDC(m_dc);
    }
    BitmapDC(const BitmapDC&) = delete;
    BitmapDC& operator=(const BitmapDC&) = delete;
    HDC get() const { return m_dc; }

private:
    HDC m_dc;
    HGDIOBJ m_old;
};

// Whether a bitmap file holds every byte its headers promise: the info
// header, the colour table and the pixel rows. The system's loader trusts the
// headers and reads past the end of a cut-off file, so such a file must not
// reach it. Anything else odd in the file is left for the loader to refuse.
bool BitmapFileIsWhole(const char* fileName) {
    std::FILE* file = std::fopen(fileName, "rb");
    if (!file) return true;  // the loader reports what it cannot open
    unsigned char head[14 + 40] = {};
    const size_t got = std::fread(head, 1, sizeof head, file);
    const bool sized = std::fseek(file, 0, SEEK_END) == 0;
    const long end = sized ? std::ftell(file) : -1L;
    std::fclose(file);
    if (end < 0) return true;
    const uint64_t fileSize = static_cast<uint64_t>(end);

    auto u16 = [&](size_t at) { return static_cast<uint32_t>(head[at] | head[at + 1] << 8); };
    auto u32 = [&](size_t at) { return u16(at) | u16(at + 2) << 16; };
    if (got < 2 || head[0] != 'B' || head[1] != 'M') return true;  // not ours to judge
    if (got < 14 + 4) return false;
    const uint64_t bitsOffset = u32(10);
    const uint64_t headerSize = u32(14);
    uint64_t width, height, bitCount, compression = 0, imageSize = 0, colours = 0, entrySize = 4;
    if (headerSize == 12) {
        if (got < 14 + 12) return false;
        width = u16(18);
        height = u16(20);
        bitCount = u16(24);
        entrySize = 3;
    } else if (headerSize >= 40) {
        if (got < 14 + 40) return false;
        width = static_cast<uint64_t>(std::llabs(static_cast<int32_t>(u32(18))));
        height = static_cast<uint64_t>(std::llabs(static_cast<int32_t>(u32(22))));
        bitCount = u16(28);
        compression = u32(30);
        imageSize = u32(34);
        colours = u32(46);
    } else {
        return true;
    }
    const uint64_t fullTable = uint64_t(1) << (bitCount & 31);
    if (bitCount >= 1 && bitCount <= 8 && (colours == 0 || colours > fullTable)) colours = fullTable;
    // Three colour masks follow a 40-byte header; the longer headers (52, 56,
    // 108 and 124 bytes) hold their masks inside.
    if (bitCount > 8 && headerSize == 40 && compression == BI_BITFIELDS) colours = 3;
    const uint64_t tableEnd = 14 + headerSize + colours * entrySize;
    if (tableEnd > fileSize || bitsOffset > fileSize) return false;
    const uint64_t room = fileSize - bitsOffset;
    if (compression != BI_RGB && compression != BI_BITFIELDS) return imageSize <= room;
    // Row bytes stay below 2^48; compared by division so no product can wrap.
    const uint64_t rowBytes = (width * bitCount + 31) / 32 * 4;
    return height == 0 || rowBytes <= room / height;
}

void ShowMissingFile(const char* fileName) {
    // "%sﾌｧｲﾙが読み込めません", formatted without a fixed-size buffer.
    static const char kFormat[] = "%sﾌｧｲﾙが読み込めません";
    const int length = std::snprintf(nullptr, 0, kFormat, fileName);
    std::string text(length > 0 ? static_cast<size_t>(length) : 0, '\0');
    std::snprintf(&text[0], text.size() + 1, kFormat, fileName);
    AfxMessageBox(text.c_str());
}

}  // namespace

FlakeTexture::FlakeTexture()
    : m_systemSurface(nullptr),
      m_textureSurface(nullptr),
      m_palette(nullptr),
      m_textureHandle(0),
      m_materialHandle(0),
      m_material(nullptr) {}

FlakeTexture::~FlakeTexture() { Unload(); }

void FlakeTexture::Unload() {
    NvxRelease(m_systemSurface);
    NvxRelease(m_textureSurface);
    NvxRelease(m_palette);
    NvxRelease(m_material);
    m_textureHandle = 0;
}

int FlakeTexture::Load(IDirect3DDevice2* device, const char* fileName) {
    HBITMAP bitmap = static_cast<HBITMAP>(
        LoadImageA(GetModuleHandleA(nullptr), fileName, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (!bitmap && BitmapFileIsWhole(fileName)) {
        bitmap = static_cast<HBITMAP>(
            LoadImageA(nullptr, fileName, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION | LR_LOADFROMFILE));
    }
    if (!bitmap) {
        ShowMissingFile(fileName);
        AfxExitProcess(1);
    }

    Unload();

    BITMAP info = {};
    GetObjectA(bitmap, sizeof(info), &info);

    const DeviceState& state = g_deviceState;
    DDSURFACEDESC desc;
    std::memset(&desc, 0, sizeof(desc));
    desc.dwSize = sizeof(desc);
    FindTextureFormat(device, static_cast<DWORD>(info.bmBitsPixel), &desc.ddpfPixelFormat);
    desc.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH | DDSD_PIXELFORMAT;
    desc.dwHeight = static_cast<DWORD>(info.bmHeight);
    desc.dwWidth = static_cast<DWORD>(info.bmWidth);
    desc.ddsCaps.dwCaps = state.halInUse ? kHardwareTextureCaps : kSystemTextureCaps;

    bool ok = state.directDraw &&
              state.directDraw->CreateSurface(&desc, &m_textureSurface, nullptr) == DD_OK &&
              m_textureSurface;
    if (ok) {
        if (state.halInUse) {
            desc.ddsCaps.dwCaps = kSystemTextureCaps;
            ok = state.directDraw->CreateSurface(&desc, &m_systemSurface, nullptr) == DD_OK && m_systemSurface;
        } else {
            m_systemSurface = m_textureSurface;
            m_systemSurface->AddRef();
        }
    }
    if (ok && desc.ddpfPixelFormat.dwRGBBitCount <= 8) {
        m_palette = CreateBitmapPalette(bitmap);
        m_systemSurface->SetPalette(m_palette);
        m_textureSurface->SetPalette(m_palette);
    }
    if (ok) ok = CopyBitmap(bitmap) != 0;

    if (ok) {
        IDirect3DTexture2* texture = nullptr;
        m_textureSurface->QueryInterface(kIidDirect3DTexture2, reinterpret_cast<void**>(&texture));
        if (texture) {
            texture->GetHandle(device, &m_textureHandle);
            texture->Release();
        }

        if (!state.direct3D2 || state.direct3D2->CreateMaterial(&m_material, nullptr) != D3D_OK || !m_material) {
            AfxOutputDebugString("vusk: Failed to CreateMaterial\n");
            ok = false;
        } else {
            std::memset(&m_materialDesc, 0, sizeof(m_materialDesc));
            m_materialDesc.dwSize = sizeof(D3DMATERIAL);
            m_materialDesc.diffuse.r = 1.0f;
            m_materialDesc.diffuse.g = 1.0f;
            m_materialDesc.diffuse.b = 1.0f;
            m_materialDesc.diffuse.a = 1.0f;
            m_materialDesc.hTexture = m_textureHandle;
            m_materialDesc.dwRampSize = 32;
            m_material->SetMaterial(&m_materialDesc);
            m_material->GetHandle(state.device2, &m_materialHandle);
        }
    }

    DeleteObject(bitmap);
    if (!ok) {
        Unload();
        // The handle of a material released here, or of one never made,
        // must not reach the device.
        m_materialHandle = 0;
        return 0;
    }
    return 1;
}

int FlakeTexture::CopyBitmap(HBITMAP bitmap) {
    BITMAP info = {};
    GetObjectA(bitmap, sizeof(info), &info);
    BitmapDC memory(bitmap);

    if (!m_systemSurface) return 0;
    HDC surfaceDC = nullptr;
    if (m_systemSurface->GetDC(&surfaceDC) != DD_OK) return 0;
    BitBlt(surfaceDC, 0, 0, info.bmWidth, info.bmHeight, memory.get(), 0, 0, SRCCOPY);
    m_systemSurface->ReleaseDC(surfaceDC);
    return UploadTexture();
}

int FlakeTexture::UploadTexture() {
    if (!m_systemSurface || !m_textureSurface) return 0;
    if (m_systemSurface == m_textureSurface) return 1;
    if (m_textureSurface->Restore() != DD_OK) return 0;

    IDirect3DTexture2* source = nullptr;
    IDirect3DTexture2* target = nullptr;
    m_systemSurface->QueryInterface(kIidDirect3DTexture2, reinterpret_cast<void**>(&source));
    m_textureSurface->QueryInterface(kIidDirect3DTexture2, reinterpret_cast<void**>(&target));
    HRESULT loaded = E_FAIL;
    if (source && target) loaded = target->Load(source);
    NvxRelease(target);
    NvxRelease(source);
    return loaded == D3D_OK ? 1 : 0;
}

int FlakeTexture::RestoreLost() {
    if (!m_textureSurface || m_textureSurface->IsLost() == DD_OK) return 1;
    // A restored surface keeps no pixels: they come back only from a copy
    // the system did not take as well. A software texture is its own copy.
    if (!m_systemSurface || m_systemSurface == m_textureSurface || m_systemSurface->IsLost() != DD_OK) return 0;
    return UploadTexture();  // Restore, then Load from the copy
}

HRESULT FindTextureFormat(IDirect3DDevice2* device, DWORD wantedBitCount, DDPIXELFORMAT* pixelFormat) {
    TextureFormatSearch search;
    std::memset(&search, 0, sizeof(search));
    search.wantedBitCount = wantedBitCount;
    HRESULT result = DDERR_INVALIDPARAMS;
    if (device) result = device->EnumTextureFormats(TextureFormatCallback, &search);
    if (pixelFormat) *pixelFormat = search.pixelFormat;
    return result;
}

HRESULT CALLBACK TextureFormatCallback(LPDDSURFACEDESC desc, LPVOID context) {
    if (!desc || !context) return D3DENUMRET_OK;
    auto* search = static_cast<TextureFormatSearch*>(context);
    const DDPIXELFORMAT& format = desc->ddpfPixelFormat;

    if (format.dwFlags & (DDPF_ALPHAPIXELS | DDPF_ALPHA)) return D3DENUMRET_OK;
    const DWORD bits = format.dwRGBBitCount;
    if (bits <= 8) {
        if (!(format.dwFlags & (DDPF_PALETTEINDEXED4 | DDPF_PALETTEINDEXED8))) return D3DENUMRET_OK;
    } else if (!(format.dwFlags & DDPF_RGB)) {
        return D3DENUMRET_OK;
    }
    if (bits < 8) return D3DENUMRET_OK;

    const DWORD chosen = search->pixelFormat.dwRGBBitCount;
    const DWORD wanted = search->wantedBitCount;
    bool take = chosen == 0;
    if (!take && bits >= wanted) {
        // Unsigned on purpose: a chosen count below the wanted one wraps to a
        // huge distance, so any format at or above the wanted depth wins.
        take = (bits - wanted) < (chosen - wanted);
    }
    if (take) search->pixelFormat = format;
    return D3DENUMRET_OK;
}

IDirectDrawPalette* CreateBitmapPalette(HBITMAP bitmap) {
    RGBQUAD colours[256] = {};
    UINT count = 0;
    {
        BitmapDC memory(bitmap);
        if (memory.get()) count = GetDIBColorTable(memory.get(), 0, 256, colours);
    }
    if (count == 0 || count > 256) return nullptr;

    PALETTEENTRY entries[256] = {};
    for (UINT i = 0; i < count; ++i) {
        entries[i].peRed = colours[i].rgbRed;
        entries[i].peGreen = colours[i].rgbGreen;
        entries[i].peBlue = colours[i].rgbBlue;
        entries[i].peFlags = 0;
    }

    IDirectDraw* directDraw = g_deviceState.directDraw;
    if (!directDraw) return nullptr;
    IDirectDrawPalette* palette = nullptr;
    const DWORD caps = count <= 16 ? DDPCAPS_4BIT : DDPCAPS_8BIT;
    if (directDraw->CreatePalette(caps, entries, &palette, nullptr) != DD_OK) return nullptr;
    return palette;
}
