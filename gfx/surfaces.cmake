# Windowed surfaces, resize and presentation; device choice, retained-mode
# device and viewport. Part of vorl_gfx, included by gfx/CMakeLists.txt.
target_sources(vorl_gfx PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/device_selection.cpp
  ${CMAKE_CURRENT_LIST_DIR}/windowed_surfaces.cpp
)
# Colour depth, system palette.
target_link_libraries(vorl_gfx PUBLIC gdi32)
# Tells the tests that the layer's surfaces and devices are in vorl_gfx.
set_property(GLOBAL PROPERTY VORL_GFX_SURFACES ON)
