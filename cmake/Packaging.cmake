# A Debian package of the installed files: cpack -G DEB in the build folder.
# The libraries it depends on are read from the binaries by dpkg-shlibdeps;
# what the binaries load only at run time is named by hand: the Qt platform
# plugins (without them the window cannot open) and the SVG plugins that
# draw the program's icon.

set(CPACK_PACKAGE_NAME wandrix)
set(CPACK_PACKAGE_VENDOR "The Wandrix developers")
set(CPACK_PACKAGE_CONTACT "The Wandrix developers <wandrix@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)
set(CPACK_SOURCE_GENERATOR "")

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
if(TARGET wandrix)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, libqt6svg6")
  # The help launcher asks xdg-mime which program shows HTML.
  set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")
endif()
# The summary is the package description's first line; CPack indents this
# text under it and marks the empty line as a paragraph break.
set(CPACK_PACKAGE_DESCRIPTION
    "Wandrix teaches Markov chain Monte Carlo by letting you watch it. A robot
walks over a landscape of bivariate normal hills and accepts or refuses each
step by the Metropolis rule; up to four heated chains walk together and swap
places. Drag out hills, tune the step length and the seed, turn a 3-D view,
and compare the samples with the hills' contours. The same seed always gives
the same samples, bit for bit.

The package holds the desktop program wandrix and wandrix-cli, which runs a
session without a window.")

include(CPack)
