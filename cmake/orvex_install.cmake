# The install rules. Under the prefix:
#   bin/plot_orvex_3dfields, bin/write_field_map
#   lib/plot_orvex_3dfields/            the window module, where the window is one
#   share/man/man1/plot_orvex_3dfields.1, write_field_map.1
#   share/doc/plot_orvex_3dfields/LICENSE, README.md
#   include/orvex/<folder>/<header>.h   the histogram library's public headers, by folder
#   lib/liborvex_*.a                    the histogram library and the floors it stands on
#   lib/cmake/orvex_histo/              find_package(orvex_histo) gives orvex::histo
#   lib/pkgconfig/orvex_histo.pc
# orvex::histo is also defined in the tree, so examples/histo_demo links the same target
# whether it is built here or on its own against an installed prefix.
include(CMakePackageConfigHelpers)

install(TARGETS plot_orvex_3dfields write_field_map RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The window, when it is a module the programs open only with a display: in the programs' own
# library folder, where their run path looks.
if(TARGET orvex_window_module)
  install(TARGETS orvex_window_module LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}/plot_orvex_3dfields)
endif()
install(FILES ${PROJECT_SOURCE_DIR}/man/plot_orvex_3dfields.1 ${PROJECT_SOURCE_DIR}/man/write_field_map.1
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE ${PROJECT_SOURCE_DIR}/README.md DESTINATION ${CMAKE_INSTALL_DOCDIR})

# ---- the histogram library ----------------------------------------------------------------------

# The libraries a histogram program links: the library, SHOW_PAGE, the surface and the console,
# and the window library when SHOW_PAGE links it (rather than opening it at run time).
set(orvex_histo_libraries orvex_histo orvex_show orvex_surface orvex_console)
get_target_property(orvex_show_links orvex_show LINK_LIBRARIES)
set(orvex_histo_window_dependencies "")
set(orvex_pc_window_requires "")
set(orvex_pc_window_libs "")
if("orvex_window" IN_LIST orvex_show_links)
  list(INSERT orvex_histo_libraries 2 orvex_window)
  get_target_property(orvex_window_links orvex_window LINK_LIBRARIES)
  set(orvex_qt_components "")
  foreach(link IN LISTS orvex_window_links)
    if(link MATCHES "^Qt6::(.+)$")
      list(APPEND orvex_qt_components ${CMAKE_MATCH_1})
      string(APPEND orvex_pc_window_requires " Qt6${CMAKE_MATCH_1}")
    endif()
  endforeach()
  list(JOIN orvex_qt_components " " orvex_qt_components)
  string(APPEND orvex_pc_window_requires " xcb")
  set(orvex_pc_window_libs " -lorvex_window")
  set(orvex_histo_window_dependencies "find_dependency(Qt6 COMPONENTS ${orvex_qt_components})
if(NOT TARGET PkgConfig::XCB)
  pkg_check_modules(XCB QUIET IMPORTED_TARGET xcb)
endif()
if(NOT TARGET PkgConfig::XCB)
  set(orvex_histo_FOUND FALSE)
  set(orvex_histo_NOT_FOUND_MESSAGE \"orvex_histo needs xcb (pkg-config): install libxcb1-dev\")
  return()
endif()")
endif()

foreach(library IN LISTS orvex_histo_libraries)
  target_include_directories(${library} PUBLIC $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}/orvex>)
endforeach()

add_library(orvex_histo_package INTERFACE)
set_target_properties(orvex_histo_package PROPERTIES EXPORT_NAME histo)
target_link_libraries(orvex_histo_package INTERFACE orvex_histo orvex_show orvex_surface orvex_console)
target_compile_features(orvex_histo_package INTERFACE cxx_std_20)
add_library(orvex::histo ALIAS orvex_histo_package)

install(TARGETS orvex_histo_package ${orvex_histo_libraries} EXPORT orvex_histo_targets
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})

# The headers a histogram program includes, and the ones they include in turn.
set(orvex_public_headers
    histo/histo.h
    plot/surface.h plot/pen.h plot/axis_numbers.h plot/png_output.h
    console/console.h console/run_stop.h
    window/show_page.h)
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
set(orvex_pc_dl "")
if(CMAKE_DL_LIBS)
  set(orvex_pc_dl " -l${CMAKE_DL_LIBS}")  # the window is opened at run time
endif()
file(RELATIVE_PATH orvex_pc_up /prefix/${CMAKE_INSTALL_LIBDIR}/pkgconfig /prefix)
string(REGEX REPLACE "/$" "" orvex_pc_up ${orvex_pc_up})
configure_file(${CMAKE_CURRENT_LIST_DIR}/orvex_histo.pc.in ${PROJECT_BINARY_DIR}/orvex_histo.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/orvex_histo.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
