# Helpers shared by every folder's CMakeLists.txt.

# Warnings on for our own code; clean is the rule.
function(qex_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
  if(QEX_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

# A core library: C++ standard library only. It links nothing but other core
# libraries, and no Qt include directory ever reaches it, so a Qt include in
# core code fails to compile (checked by the core_rejects_qt test).
#
# Nor does it see the whole source tree: its include root holds its own folder
# alone (a link to it), and the roots of the core libraries it declares in
# DEPENDS reach it through linking them. An include of a folder it does not
# declare, directly or through what it declares, fails to compile (checked by
# the core_rejects_undeclared_include test).
function(qex_core_library name)
  qex_rooted_library(${name} ${ARGN})
  set_target_properties(${name} PROPERTIES QEX_CORE_LIBRARY TRUE)
  set_property(GLOBAL APPEND PROPERTY QEX_CORE_TARGETS ${name})
endfunction()

# A Qt-free library outside the core, which may link libraries of the system
# (the figures draw with cairo): it sees the folders it declares as a core
# library does, never Qt, and is not part of qexcore.
function(qex_plain_library name)
  qex_rooted_library(${name} ${ARGN})
  set_property(GLOBAL APPEND PROPERTY QEX_PLAIN_TARGETS ${name})
endfunction()

# A static library whose include root holds its own folder alone; it links
# what it declares in DEPENDS.
function(qex_rooted_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPENDS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  get_filename_component(folder ${CMAKE_CURRENT_SOURCE_DIR} NAME)
  set(root ${PROJECT_BINARY_DIR}/include-roots/${folder})
  file(MAKE_DIRECTORY ${root})
  file(CREATE_LINK ${CMAKE_CURRENT_SOURCE_DIR} ${root}/${folder} SYMBOLIC)
  target_include_directories(${name} PUBLIC ${root})
  target_link_libraries(${name} PUBLIC ${ARG_DEPENDS})
  set_target_properties(${name} PROPERTIES AUTOMOC OFF AUTOUIC OFF AUTORCC OFF)
  qex_warnings(${name})
endfunction()

# A Qt library of dialogs or widgets on top of the core.
function(qex_qt_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPENDS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_DEPENDS} Qt6::Widgets)
  set_target_properties(${name} PROPERTIES AUTOMOC ON)
  qex_warnings(${name})
  set_property(GLOBAL APPEND PROPERTY QEX_QT_TARGETS ${name})
endfunction()

# Header-only libraries of the standard library's kind a core library may use.
set(QEX_CORE_HEADER_LIBRARIES nlohmann_json::nlohmann_json)

# Refuse to configure if a core library links anything that is not itself core.
function(qex_check_core_is_free_of_qt)
  get_property(cores GLOBAL PROPERTY QEX_CORE_TARGETS)
  foreach(t IN LISTS cores)
    get_target_property(libs ${t} LINK_LIBRARIES)
    if(libs)
      foreach(l IN LISTS libs)
        if(l MATCHES "Qt" OR (TARGET ${l} AND NOT l IN_LIST cores AND NOT l IN_LIST QEX_CORE_HEADER_LIBRARIES))
          message(FATAL_ERROR "Core library ${t} links ${l}; the core must use the standard library only")
        endif()
      endforeach()
    endif()
  endforeach()
  get_property(plain GLOBAL PROPERTY QEX_PLAIN_TARGETS)
  foreach(t IN LISTS plain)
    get_target_property(libs ${t} LINK_LIBRARIES)
    foreach(l IN LISTS libs)
      if(l MATCHES "Qt")
        message(FATAL_ERROR "Library ${t} links ${l}; it must stay free of Qt")
      endif()
    endforeach()
  endforeach()
endfunction()

# A subsystem's dialogs: a Qt library the desktop program links. Nothing is
# built when the desktop program is switched off.
function(qex_dialog_library name)
  if(NOT QEX_BUILD_GUI)
    return()
  endif()
  qex_qt_library(${name} ${ARGN})
  target_link_libraries(${name} PUBLIC qexui)
  set_property(GLOBAL APPEND PROPERTY QEX_DIALOG_TARGETS ${name})
endfunction()
