# Windowed surfaces, resize and presentation; device choice, retained-mode
# device and viewport. Part of vorl_gfx: included by gfx/CMakeLists.txt, so
# the file names are relative to gfx/.
target_sources(vorl_gfx PRIVATE
  device_selection.cpp
  windowed_surfaces.cpp
)
# Colour depth, system palette.
target_link_libraries(vorl_gfx PUBLIC gdi32)
# Tells the tests that the layer's surfaces and devices are in vorl_gfx.
set_property(GLOBAL PROPERTY VORL_GFX_SURFACES ON)
