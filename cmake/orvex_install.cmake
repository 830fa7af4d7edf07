# The install rules. Under the prefix:
#   bin/plot_orvex_3dfields, bin/write_field_map
#   lib/plot_orvex_3dfields/plot_orvex_3dfields_window.so   the window module
#   lib/plot_orvex_3dfields/plot_orvex_3dfields_h5.so       the .h5 writer's module
#   share/man/man1/plot_orvex_3dfields.1, write_field_map.1
#   share/doc/plot_orvex_3dfields/LICENSE, README.md
#   include/orvex/<folder>/<header>.h   the histogram library's public headers, by folder
#   lib/liborvex_*.a                    the histogram library and the floors it stands on
#   lib/cmake/orvex_histo/              find_package(orvex_histo) gives orvex::histo
#   lib/pkgconfig/orvex_histo.pc
# orvex::histo is also defined in the tree, so examples/histo_demo links the same target
# whether it is built here or on its own against an installed prefix.
install(TARGETS plot_orvex_3dfields write_field_map RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The modules, the window (opened only with a display) and the .h5 writer (opened only when an
# .h5 is written): where an installed program and the compiled-in directory of the installed
# library look (console/module_open.h).
if(TARGET orvex_window_module)
  install(TARGETS orvex_window_module LIBRARY DESTINATION ${ORVEX_MODULE_INSTALL_DIR})
endif()
install(TARGETS orvex_h5_module LIBRARY DESTINATION ${ORVEX_MODULE_INSTALL_DIR})
install(FILES ${PROJECT_SOURCE_DIR}/man/plot_orvex_3dfields.1 ${PROJECT_SOURCE_DIR}/man/write_field_map.1
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE ${PROJECT_SOURCE_DIR}/README.md DESTINATION ${CMAKE_INSTALL_DOCDIR})

include(${CMAKE_CURRENT_LIST_DIR}/orvex_histo_package.cmake)
