# The folders of src/ are floors: console at the bottom, then field, fieldio, plot, histo and
# window, and the driver on top. Every header is included by its folder and name
# ("surface/surface.h"), and a target sees a folder's headers only when it links that folder's
# library: orvex_floor_includes gives a library an include root of its own that holds just its
# folder. A file that includes a floor its library does not link (a floor above it) does not
# build.
get_filename_component(ORVEX_TOP ${CMAKE_CURRENT_LIST_DIR}/.. ABSOLUTE)

function(orvex_floor_includes target folder)
  set(root ${CMAKE_BINARY_DIR}/floors/${folder})
  if(NOT EXISTS ${root}/${folder})
    file(MAKE_DIRECTORY ${root})
    file(CREATE_LINK ${ORVEX_TOP}/src/${folder} ${root}/${folder} SYMBOLIC)
  endif()
  target_include_directories(${target} PUBLIC $<BUILD_INTERFACE:${root}>)
endfunction()
