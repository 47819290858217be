# The frame renderer: CFlakeDlg::RenderFrame over the device layer, the
# texture and the camera. Windows only; linked into the application.
add_library(vorl_render STATIC
  ${CMAKE_CURRENT_LIST_DIR}/render_frame.cpp
)
target_include_directories(vorl_render PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(vorl_render PUBLIC vorl_app vorl_texture vorl_gfx vorl_scene_core vorl_framework)
