# The Debian package (make package, or cpack -G DEB in the build directory): everything the
# install rules install, under /usr, as build/plot-orvex-3dfields_<version>_<arch>.deb.
#
# Its runtime packages: the shared libraries the programs and the two modules link, found by
# dpkg-shlibdeps (Qt 6 and what the window uses of it, HDF5 for the .h5 module, FreeType,
# fontconfig, libpng, libc), plus
# what nothing links but the page needs: the fonts and fontconfig's configuration. The
# histogram library's development packages are suggested, not required.
# Packing builds nothing: make package builds first, and the install test packs while other
# tests run.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME plot_orvex_3dfields)
set(CPACK_PACKAGE_VENDOR "plot_orvex_3dfields developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "viewer of 3-D ORVEX electromagnetic field maps")
set(CPACK_PACKAGE_DESCRIPTION
    "Reads a five-line control file and the field map it names (binary array, text array or
node list), lists the map and draws one page of thirty plots: each component of the electric
or the magnetic field along ten fixed lines through the map, after the stored half, quadrant
or octant has been unfolded with the right mirror signs. The page opens in a window with a
display and is written as PNG without one. Also installs write_field_map, a writer of
analytic field maps, and the histogram and plot library orvex_histo (static, with its CMake
package and pkg-config file). Licence: GPL-3.0-or-later.")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_RESOURCE_FILE_README ${PROJECT_SOURCE_DIR}/README.md)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

# Debian names allow no underscore.
set(CPACK_DEBIAN_PACKAGE_NAME plot-orvex-3dfields)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(ORVEX_PACKAGE_MAINTAINER "plot_orvex_3dfields developers <root@localhost>"
    CACHE STRING "The Maintainer field of the Debian package")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${ORVEX_PACKAGE_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation2, fontconfig")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "libfreetype-dev, libfontconfig-dev, libpng-dev, pkgconf | cmake")

include(CPack)
