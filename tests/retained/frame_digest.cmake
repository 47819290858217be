# Same pixels: the program's own window draws its first frames through Wine's
# DirectDraw and Direct3D, once with Wine's d3drm.dll and once with ours
# (bin/d3drm.dll); the back buffers must be byte for byte the same.
# Included from this folder's CMakeLists.txt.
if(VORL_WINDOWS AND TARGET vorl_app AND TARGET vorl_d3drm)
  add_executable(frame_digest ${CMAKE_CURRENT_LIST_DIR}/frame_digest.cpp)
  target_link_libraries(frame_digest PRIVATE vorl_app vorl_resources)
  # The frame reads Vorl.bmp from the working directory (bin/), and the run
  # with d3drm=n loads bin/d3drm.dll.
  add_dependencies(frame_digest vorl_d3drm vorl_flake_bmp)

  # Needs an X display and a wineserver: scripts/test.sh provides both.
  add_test(NAME retained_same_pixels
    COMMAND python3 ${CMAKE_CURRENT_LIST_DIR}/same_pixels_test.py ${PROJECT_SOURCE_DIR}/scripts/wine-run.sh
            $<TARGET_FILE:frame_digest>
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
  set_tests_properties(retained_same_pixels PROPERTIES TIMEOUT 300)
endif()
