// TEMPORARY: an always empty texture until the texture module is built; it
// removes this file.
#include "texture/flake_texture.h"

FlakeTexture::FlakeTexture()
    : m_systemSurface(nullptr), m_textureSurface(nullptr), m_palette(nullptr), m_textureHandle(0),
      m_materialDesc(), m_materialHandle(0), m_material(nullptr) {}

FlakeTexture::~FlakeTexture() { Unload(); }

void FlakeTexture::Unload() {}

int FlakeTexture::Load(IDirect3DDevice2*, const char*) { return 0; }
