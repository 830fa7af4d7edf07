# The histogram library as an installed package: orvex::histo (the library and SHOW_PAGE), the
# project's static libraries they stand on, the headers they include, the CMake package
# orvex_histo and orvex_histo.pc. The libraries, their outside links and the headers are found
# by following the links and includes themselves, so the package follows the layout when a floor
# gains a link or a header an include.
include(CMakePackageConfigHelpers)

# Walks the links of target depth first; records the project's libraries in the global property
# orvex_histo_order (each after the ones it stands on) and every outside link in
# orvex_histo_outside (imported targets such as Qt6::Widgets, plain names such as dl). An
# imported target is not seen outside the folder that found it, so it counts as outside by its
# name.
function(orvex_histo_walk target)
  get_property(seen GLOBAL PROPERTY orvex_histo_order)
  if(target IN_LIST seen)
    return()
  endif()
  get_target_property(links ${target} LINK_LIBRARIES)
  foreach(link IN LISTS links)
    if(TARGET ${link} AND NOT link MATCHES "::")
      orvex_histo_walk(${link})
    elseif(link)
      set_property(GLOBAL APPEND PROPERTY orvex_histo_outside ${link})
    endif()
  endforeach()
  set_property(GLOBAL APPEND PROPERTY orvex_histo_order ${target})
endfunction()

orvex_histo_walk(orvex_histo)
orvex_histo_walk(orvex_show)
get_property(orvex_histo_libraries GLOBAL PROPERTY orvex_histo_order)
get_property(orvex_histo_outside GLOBAL PROPERTY orvex_histo_outside)
list(REMOVE_DUPLICATES orvex_histo_outside)
list(REVERSE orvex_histo_libraries)  # link order: a library before the ones it stands on

# What each outside link needs: a find_dependency for the config file, a pkg-config module.
# (Imported targets are seen only in the folder that made them: they are known here by name.)
set(orvex_pkg_modules_PkgConfig::FREETYPE freetype2)
set(orvex_pkg_modules_PkgConfig::FONTCONFIG fontconfig)
set(orvex_pkg_modules_PkgConfig::XCB xcb)
set(orvex_histo_dependencies "")
set(orvex_qt_components "")
set(orvex_pc_requires "")
set(orvex_pc_libs "")
foreach(library IN LISTS orvex_histo_libraries)
  string(APPEND orvex_pc_libs " -l${library}")
  target_include_directories(${library} PUBLIC $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}/orvex>)
endforeach()
foreach(link IN LISTS orvex_histo_outside)
  if(link STREQUAL "PNG::PNG")
    string(APPEND orvex_histo_dependencies "find_dependency(PNG)\n")
    string(APPEND orvex_pc_requires " libpng")
  elseif(link MATCHES "^Qt6::(.+)$")
    list(APPEND orvex_qt_components ${CMAKE_MATCH_1})
    string(APPEND orvex_pc_requires " Qt6${CMAKE_MATCH_1}")
  elseif(link MATCHES "^PkgConfig::(.+)$" AND DEFINED "orvex_pkg_modules_${link}")
    set(module ${orvex_pkg_modules_${link}})
    string(APPEND orvex_histo_dependencies "orvex_histo_pkg_module(${CMAKE_MATCH_1} ${module})\n")
    string(APPEND orvex_pc_requires " ${module}")
  elseif(link MATCHES "::")
    message(FATAL_ERROR "cmake/orvex_histo_package.cmake: say what the installed package needs for ${link}")
  else()
    string(APPEND orvex_pc_libs " -l${link}")  # a system library such as dl
  endif()
endforeach()
if(orvex_qt_components)
  list(JOIN orvex_qt_components " " orvex_qt_components)
  string(APPEND orvex_histo_dependencies "find_dependency(Qt6 COMPONENTS ${orvex_qt_components})\n")
endif()

add_library(orvex_histo_package INTERFACE)
set_target_properties(orvex_histo_package PROPERTIES EXPORT_NAME histo)
target_link_libraries(orvex_histo_package INTERFACE orvex_histo orvex_show)
target_compile_features(orvex_histo_package INTERFACE cxx_std_20)
add_library(orvex::histo ALIAS orvex_histo_package)
install(TARGETS orvex_histo_package ${orvex_histo_libraries} EXPORT orvex_histo_targets
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})

# The headers a histogram program includes, and every project header they include in turn.
set(orvex_public_headers histo/histo.h surface/surface.h surface/pen.h surface/axis_numbers.h surface/png_output.h
    console/console.h console/run_stop.h show/show_page.h)
set(orvex_header_queue ${orvex_public_headers})
while(orvex_header_queue)
  list(POP_FRONT orvex_header_queue header)
  file(STRINGS ${PROJECT_SOURCE_DIR}/src/${header} includes REGEX "^#include \"[a-z_]+/[a-z_]+\\.h\"")
  foreach(line IN LISTS includes)
    string(REGEX REPLACE "^#include \"([^\"]+)\".*$" "\\1" included "${line}")
    if(NOT included IN_LIST orvex_public_headers)
      list(APPEND orvex_public_headers ${included})
      list(APPEND orvex_header_queue ${included})
    endif()
  endforeach()
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/${header})
endwhile()
foreach(header IN LISTS orvex_public_headers)
  get_filename_component(folder ${header} DIRECTORY)
  install(FILES ${PROJECT_SOURCE_DIR}/src/${header} DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/orvex/${folder})
endforeach()

set(orvex_cmake_dir ${CMAKE_INSTALL_LIBDIR}/cmake/orvex_histo)
install(EXPORT orvex_histo_targets NAMESPACE orvex:: FILE orvex_histoTargets.cmake DESTINATION ${orvex_cmake_dir})
configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/orvex_histoConfig.cmake.in
                              ${PROJECT_BINARY_DIR}/orvex_histoConfig.cmake INSTALL_DESTINATION ${orvex_cmake_dir})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/orvex_histoConfigVersion.cmake
                                 COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/orvex_histoConfig.cmake ${PROJECT_BINARY_DIR}/orvex_histoConfigVersion.cmake
        DESTINATION ${orvex_cmake_dir})

# The .pc file finds its prefix from where it lies, so it holds under any --prefix.
file(RELATIVE_PATH orvex_pc_up /prefix/${CMAKE_INSTALL_LIBDIR}/pkgconfig /prefix)
string(REGEX REPLACE "/$" "" orvex_pc_up ${orvex_pc_up})
configure_file(${CMAKE_CURRENT_LIST_DIR}/orvex_histo.pc.in ${PROJECT_BINARY_DIR}/orvex_histo.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/orvex_histo.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
