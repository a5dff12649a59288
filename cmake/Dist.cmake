# "dist" target: gathers what ships from this build into
# <source>/dist/<build directory name>/ (dist/windows-x64/ for the
# windows-x64 preset): the plug-in, ffgl-host and INSTALL.txt.
#   cmake --build --preset windows-x64 --target dist

get_filename_component(zentrel_dist_name "${CMAKE_BINARY_DIR}" NAME)
set(zentrel_dist_dir "${PROJECT_SOURCE_DIR}/dist/${zentrel_dist_name}")

set(ZENTREL_DIST_VERSION ${PROJECT_VERSION})
math(EXPR ZENTREL_DIST_BITS "${CMAKE_SIZEOF_VOID_P} * 8")
if(WIN32)
  set(ZENTREL_DIST_PLATFORM "Windows (${ZENTREL_DIST_BITS}-bit)")
  set(ZENTREL_DIST_PLUGIN ZentrelV1.dll)
  set(ZENTREL_DIST_HOST ffgl-host.exe)
  set(ZENTREL_DIST_PLUGIN_NOTE
      "\n    Self-contained: it needs only system DLLs (KERNEL32, msvcrt, OPENGL32).")
  set(ZENTREL_DIST_HOST_NOTE
      "\n    It needs no other DLL either; it makes its own hidden-window WGL context.")
else()
  if(ZENTREL_DIST_BITS EQUAL 32)
    set(ZENTREL_DIST_PLATFORM "Linux i386")
  else()
    set(ZENTREL_DIST_PLATFORM "Linux x86-64")
  endif()
  set(ZENTREL_DIST_PLUGIN ZentrelV1.so)
  set(ZENTREL_DIST_HOST ffgl-host)
  set(ZENTREL_DIST_PLUGIN_NOTE
      "\n    Needs libc, libstdc++ and the system libGL (Debian: libgl1, libgl1-mesa-dri).")
  set(ZENTREL_DIST_HOST_NOTE
      "\n    It renders through surfaceless EGL (Debian: libegl1, libegl-mesa0), no X server.")
endif()
configure_file(${CMAKE_CURRENT_LIST_DIR}/INSTALL.txt.in ${CMAKE_BINARY_DIR}/dist/INSTALL.txt @ONLY)

add_custom_target(dist
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${zentrel_dist_dir}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${zentrel_dist_dir}
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:ZentrelV1> $<TARGET_FILE:ffgl-host>
          ${CMAKE_BINARY_DIR}/dist/INSTALL.txt ${zentrel_dist_dir}
  COMMAND ${CMAKE_COMMAND} -E echo "dist: ${zentrel_dist_dir}"
  DEPENDS ZentrelV1 ffgl-host
  VERBATIM)
