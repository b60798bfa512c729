# `make package`: a Debian package of what `make install` puts under /usr.
# Its dependencies come from dpkg-shlibdeps, so installing it pulls in the
# runtime libraries the programs link, and no development package.

find_program(DPKG_PROGRAM dpkg)
if(DPKG_PROGRAM)
  execute_process(COMMAND ${DPKG_PROGRAM} --print-architecture
                  OUTPUT_VARIABLE qex_deb_arch OUTPUT_STRIP_TRAILING_WHITESPACE)
else()
  set(qex_deb_arch amd64)
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME qex)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_CONTACT "QEX developers <qex@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "cosmogenic-nuclide exposure and burial dating calculator")
# CPack indents the long description and marks its empty line as Debian wants.
set(CPACK_PACKAGE_DESCRIPTION
"QEX dates glacial boulders and buried sediment with the cosmogenic
nuclides 10Be and 26Al: exposure and burial histories cut from a climate
proxy curve, production-rate scaling factors (Stone 2000, Lal 1991,
Dunai 2000), sample corrections for thickness, slope and topographic
shielding, and surface exposure ages with an optional correction for the
past geomagnetic field.

The package holds the desktop program qex and its command-line twin
qexcli, which prints exactly the lines the desktop dialogs list, with
example data: the LR04 benthic stack and the LSD geomagnetic records.")
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${QEX_HOMEPAGE})
set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE ${qex_deb_arch})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The figures set their texts in DejaVu Sans, which no library pulls in.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-dejavu-core")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_FILE_NAME "qex_${PROJECT_VERSION}_${qex_deb_arch}.deb")
set(CPACK_STRIP_FILES ON)
set(CPACK_SOURCE_IGNORE_FILES "/build.*/;/\\\\.git/")
include(CPack)
