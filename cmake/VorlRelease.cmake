# The release form of a Windows binary that goes to users (Vorl.exe, d3drm.dll).
#
#   vorl_release_binary(<target> DESCRIPTION "<text>")
#
# (a) A version resource: cmake/version.rc.in, filled in for <target> and
#     added to its sources. Product "Vorl", the project's version (1.0.0 gives
#     FILEVERSION 1,0,0,0 and "1.0.0"), <text> as the file description, the
#     target's file name as original and internal name.
# (b) A post-build step with the toolchain's objcopy (CMAKE_OBJCOPY, e.g.
#     i686-w64-mingw32-objcopy): the debug information and the symbol table
#     are copied to bin/.debug/<file>.debug, then both are stripped from the
#     file itself, which gets a .gnu_debuglink to that copy. The tests and the
#     zip use the stripped file; the copy stays in the build tree. gdb looks
#     for a debug link's file in the binary's folder and in its .debug
#     subfolder, so it finds the copy without being told. The COFF symbol
#     table goes too (--strip-all, not only --strip-debug): no Windows tool
#     reads it, and in Vorl.exe it is 290 KB of names, nearly half of what
#     --strip-debug alone leaves.
# (c) The PE time stamp of the file and of its debug copy is
#     VORL_SOURCE_DATE_EPOCH (top CMakeLists.txt): the GNU linker and objcopy
#     take it from SOURCE_DATE_EPOCH in their environment. Together with the
#     compiler's prefix maps the file is then the same from any folder at any
#     time, and so is its debug copy, whose CRC the debug link holds.
# (d) The linker's map, bin/.debug/<file>.map: which archives and objects of
#     the toolchain gave members to the file. THIRD-PARTY-NOTICES.txt (dist/)
#     must name each of them with its licence; the release check
#     (tests/dist/) reads the map to see that it does. The map is not
#     shipped, and writing it changes no byte of the file.
#
# The trees are built RelWithDebInfo: the code is the optimised code either way.

set(VORL_RELEASE_RC_TEMPLATE ${CMAKE_CURRENT_LIST_DIR}/version.rc.in)

function(vorl_release_binary target)
  cmake_parse_arguments(R "" "DESCRIPTION" "" ${ARGN})
  if(R_UNPARSED_ARGUMENTS OR NOT R_DESCRIPTION)
    message(FATAL_ERROR "usage: vorl_release_binary(<target> DESCRIPTION \"<text>\")")
  endif()
  if(NOT TARGET ${target})
    message(FATAL_ERROR "vorl_release_binary: no target ${target}")
  endif()
  if(NOT WIN32)
    return()
  endif()
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "EXECUTABLE")
    set(VORL_RC_FILETYPE VFT_APP)
  elseif(type STREQUAL "SHARED_LIBRARY" OR type STREQUAL "MODULE_LIBRARY")
    set(VORL_RC_FILETYPE VFT_DLL)
  else()
    message(FATAL_ERROR "vorl_release_binary: ${target} is a ${type}, not a program or DLL")
  endif()
  if(NOT CMAKE_OBJCOPY)
    message(FATAL_ERROR "vorl_release_binary: the toolchain has no objcopy (CMAKE_OBJCOPY)")
  endif()

  # (a) The version resource. The top project's own version variables, so that
  # a project() call in a subfolder cannot change them.
  set(VORL_RC_TARGET ${target})
  set(VORL_RC_VERSION ${Vorl_VERSION})
  set(parts ${Vorl_VERSION_MAJOR} ${Vorl_VERSION_MINOR} ${Vorl_VERSION_PATCH} ${Vorl_VERSION_TWEAK})
  list(LENGTH parts n)
  while(n LESS 4)
    list(APPEND parts 0)
    math(EXPR n "${n} + 1")
  endwhile()
  list(JOIN parts "," VORL_RC_VERSION_COMMAS)
  # An rc string writes a quote as two quotes; a backslash starts an escape.
  string(REPLACE "\\" "\\\\" VORL_RC_DESCRIPTION "${R_DESCRIPTION}")
  string(REPLACE "\"" "\"\"" VORL_RC_DESCRIPTION "${VORL_RC_DESCRIPTION}")
  file(READ ${VORL_RELEASE_RC_TEMPLATE} template)
  string(CONFIGURE "${template}" content @ONLY)
  # file(GENERATE) fills in the file names ($<TARGET_FILE_NAME:...>), which
  # are final only once the whole project is read.
  set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}_version.rc)
  file(GENERATE OUTPUT ${rc} CONTENT "${content}")
  set_source_files_properties(${rc} PROPERTIES GENERATED TRUE)
  target_sources(${target} PRIVATE ${rc})
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${VORL_RELEASE_RC_TEMPLATE})
  # tests/dist/ checks every binary named here against its description.
  set_property(TARGET ${target} PROPERTY VORL_RELEASE_DESCRIPTION "${R_DESCRIPTION}")
  set_property(GLOBAL APPEND PROPERTY VORL_RELEASE_BINARIES ${target})

  # (c) The time stamp. The link command carries it, so a new one re-links.
  set(stamped)
  if(VORL_SOURCE_DATE_EPOCH)
    set(stamped ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=${VORL_SOURCE_DATE_EPOCH})
    list(JOIN stamped " " launcher)
    set_property(TARGET ${target} PROPERTY RULE_LAUNCH_LINK "${launcher}")
  endif()

  # (b) Debug information beside the binary, not in it.
  set(debug_dir ${CMAKE_BINARY_DIR}/bin/.debug)

  # (d) The linker's map, beside the debug file. The folder must be there
  # before the first link.
  set(map ${debug_dir}/$<TARGET_FILE_NAME:${target}>.map)
  target_link_options(${target} PRIVATE "LINKER:-Map=${map}")
  add_custom_command(TARGET ${target} PRE_LINK
    COMMAND ${CMAKE_COMMAND} -E make_directory ${debug_dir} VERBATIM)
  set(debug_file ${debug_dir}/$<TARGET_FILE_NAME:${target}>.debug)
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E make_directory ${debug_dir}
    COMMAND ${stamped} ${CMAKE_OBJCOPY} --only-keep-debug $<TARGET_FILE:${target}> ${debug_file}
    COMMAND ${stamped} ${CMAKE_OBJCOPY} --strip-all --add-gnu-debuglink=${debug_file} $<TARGET_FILE:${target}>
    COMMENT "Moving the debug information of $<TARGET_FILE_NAME:${target}> to bin/.debug"
    VERBATIM)
endfunction()
