# `make install`: the programs, the desktop entry, icons, metainfo and man
# pages where a Debian desktop looks for them, and the bundled data and
# documentation under share/qex and share/doc/qex.

if(TARGET qex)
  install(TARGETS qex RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
install(TARGETS qexcli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# Data and documentation.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/examples/ DESTINATION ${QEX_INSTALL_DATADIR}/examples)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/qexcli-output.schema.json DESTINATION ${QEX_INSTALL_DATADIR})
install(FILES ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/packaging/copyright
        DESTINATION ${CMAKE_INSTALL_DOCDIR})

# Man pages and the changelog, compressed as Debian keeps them (gzip -n: no
# name or time stamp, so the package is reproducible).
find_program(GZIP_PROGRAM gzip REQUIRED)
set(qex_compressed "")
foreach(source packaging/qexcli.1 packaging/qex.1 packaging/changelog)
  get_filename_component(name ${source} NAME)
  set(output ${PROJECT_BINARY_DIR}/packaging/${name}.gz)
  add_custom_command(OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/packaging
    COMMAND ${GZIP_PROGRAM} -9 -n -c ${PROJECT_SOURCE_DIR}/${source} > ${output}
    DEPENDS ${PROJECT_SOURCE_DIR}/${source}
    COMMENT "Compressing ${name}")
  list(APPEND qex_compressed ${output})
endforeach()
add_custom_target(qex_compressed_docs ALL DEPENDS ${qex_compressed})
install(FILES ${PROJECT_BINARY_DIR}/packaging/qexcli.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${PROJECT_BINARY_DIR}/packaging/changelog.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})

if(TARGET qex)
  install(FILES ${PROJECT_BINARY_DIR}/packaging/qex.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

  # The desktop entry and the AppStream metainfo, named after the application id.
  configure_file(${PROJECT_SOURCE_DIR}/packaging/qex.desktop.in
                 ${PROJECT_BINARY_DIR}/packaging/${QEX_APP_ID}.desktop @ONLY)
  configure_file(${PROJECT_SOURCE_DIR}/packaging/qex.metainfo.xml.in
                 ${PROJECT_BINARY_DIR}/packaging/${QEX_APP_ID}.metainfo.xml @ONLY)
  install(FILES ${PROJECT_BINARY_DIR}/packaging/${QEX_APP_ID}.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${PROJECT_BINARY_DIR}/packaging/${QEX_APP_ID}.metainfo.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

  # The icon in the hicolor theme: the drawing itself and PNGs of it.
  install(FILES ${PROJECT_SOURCE_DIR}/app/qex.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps RENAME ${QEX_APP_ID}.svg)
  foreach(size 48 128 256)
    install(FILES ${QEX_ICON_DIR}/${size}/qex.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME ${QEX_APP_ID}.png)
  endforeach()
endif()
