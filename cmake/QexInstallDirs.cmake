# Where `make install` puts things: the GNU layout under the prefix, the
# documentation in share/doc/qex (not share/doc/QEX).
if(NOT CMAKE_INSTALL_DOCDIR)
  set(CMAKE_INSTALL_DOCDIR "share/doc/qex" CACHE PATH "Documentation (README, copyright, changelog)" FORCE)
endif()
include(GNUInstallDirs)

# The bundled data, found by the installed programs beside themselves.
set(QEX_INSTALL_DATADIR "${CMAKE_INSTALL_DATADIR}/qex")

# The same folders as seen from the installed programs' own folder, so the
# programs find their files under any prefix (and a relocated DESTDIR copy).
function(qex_path_from_bin out dir)
  set(bin "${CMAKE_INSTALL_BINDIR}")
  if(NOT IS_ABSOLUTE "${bin}")
    set(bin "${CMAKE_INSTALL_PREFIX}/${bin}")
  endif()
  if(NOT IS_ABSOLUTE "${dir}")
    set(dir "${CMAKE_INSTALL_PREFIX}/${dir}")
  endif()
  file(RELATIVE_PATH relative "${bin}" "${dir}")
  set(${out} "${relative}" PARENT_SCOPE)
endfunction()
qex_path_from_bin(QEX_DATA_FROM_BIN "${QEX_INSTALL_DATADIR}")
qex_path_from_bin(QEX_DOC_FROM_BIN "${CMAKE_INSTALL_DOCDIR}")

# The desktop entry, icon and metainfo share one application id. It needs the
# project's own web domain; until there is one it lies under the reserved
# example.org, like the homepage below.
set(QEX_APP_ID "org.example.QEX" CACHE STRING "Application id of the desktop entry, icon and AppStream metainfo")
set(QEX_HOMEPAGE "https://qex.example.org/" CACHE STRING "Project web page named in the metainfo and package")
