// One Windows bitmap as a Direct3D texture, with a material that refers to it.
#pragma once

#include <windows.h>
#include <ddraw.h>
#include <d3d.h>

class FlakeTexture {
public:
    FlakeTexture();
    ~FlakeTexture();
    FlakeTexture(const FlakeTexture&) = delete;
    FlakeTexture& operator=(const FlakeTexture&) = delete;

    // 1 when texture and material are ready, 0 when the surfaces or the pixel
    // copy failed. Ends the process when the bitmap cannot be found.
    int Load(IDirect3DDevice2* device, const char* fileName);
    // Releases everything held; safe on an empty object and safe to repeat.
    void Unload();
    int CopyBitmap(HBITMAP bitmap);
    int UploadTexture();
    // Brings back a texture surface the system has taken away, with its
    // pixels, from the system-memory copy. 1 when the texture is whole (also
    // when nothing is loaded), 0 when it must be loaded again.
    int RestoreLost();

    IDirectDrawSurface* m_systemSurface;
    IDirectDrawSurface* m_textureSurface;
    IDirectDrawPalette* m_palette;
    D3DTEXTUREHANDLE m_textureHandle;
    D3DMATERIAL m_materialDesc;
    D3DMATERIALHANDLE m_materialHandle;
    IDirect3DMaterial2* m_material;
};

// The texture format search: the offered format with the smallest bit count
// at or above wantedBitCount. Returns the enumeration's result.
HRESULT FindTextureFormat(IDirect3DDevice2* device, DWORD wantedBitCount, DDPIXELFORMAT* pixelFormat);
HRESULT CALLBACK TextureFormatCallback(LPDDSURFACEDESC desc, LPVOID search);

// A DirectDraw palette from the bitmap's colour table (a reference the caller
// owns), or null.
IDirectDrawPalette* CreateBitmapPalette(HBITMAP bitmap);
