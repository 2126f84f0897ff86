# The Qt the program builds with: Qt 5.15 (the default) or Qt 6.2 and later,
# chosen with ASPIRELLO_QT_MAJOR. Everything in the build that differs
# between the two is here; the rest of the build links the versionless Qt::
# targets and finds further modules with aspirello_find_qt(). The gauge's
# C++ needs no switch of its own: it uses only API that both versions
# provide. aspirello-analisi has three, each where Qt 6 renamed something
# it uses (the mouse position, the translations' folder, Qt Charts'
# namespace).

set(ASPIRELLO_QT_MAJOR 5 CACHE STRING "Qt major version to build with (5 or 6)")
set_property(CACHE ASPIRELLO_QT_MAJOR PROPERTY STRINGS 5 6)

if(ASPIRELLO_QT_MAJOR STREQUAL "5")
  set(ASPIRELLO_QT_MINIMUM 5.15)
elseif(ASPIRELLO_QT_MAJOR STREQUAL "6")
  set(ASPIRELLO_QT_MINIMUM 6.2)
else()
  message(FATAL_ERROR "ASPIRELLO_QT_MAJOR is '${ASPIRELLO_QT_MAJOR}'; it must be 5 or 6")
endif()
set(ASPIRELLO_QT Qt${ASPIRELLO_QT_MAJOR})

# Debian packages the program needs at run time besides the libraries it
# links: Qt 6 keeps its platform plugins (xcb, wayland, offscreen) in a
# package of their own, which its GUI library only recommends; Qt 5 ships
# them with that library.
if(ASPIRELLO_QT_MAJOR STREQUAL "6")
  set(ASPIRELLO_QT_RUNTIME_PACKAGES qt6-qpa-plugins)
else()
  set(ASPIRELLO_QT_RUNTIME_PACKAGES "")
endif()

# aspirello_find_qt(Component...): the named modules of the chosen Qt, as
# Qt::Component targets in the calling directory and below.
macro(aspirello_find_qt)
  find_package(${ASPIRELLO_QT} ${ASPIRELLO_QT_MINIMUM} REQUIRED COMPONENTS ${ARGN})
endmacro()

# aspirello_qt_flags(target): compile definitions the project's code builds
# with under either Qt. API that Qt 5.15 already deprecates is hidden in both
# builds, so that code which would not compile with Qt 6 fails in the Qt 5
# build too.
function(aspirello_qt_flags target)
  target_compile_definitions(${target} INTERFACE QT_DISABLE_DEPRECATED_BEFORE=0x050F00)
endfunction()
