# Installs the build into a scratch DESTDIR under /usr, as the package does,
# and checks that exactly the expected files are there, each icon at its size,
# and that the menu entry and metainfo name what is installed.
# cmake -DBUILD_DIR=... -DSTAGE=... -DAPP_ID=... -DVERSION=... -P check_install.cmake

file(REMOVE_RECURSE "${STAGE}")
execute_process(
  COMMAND ${CMAKE_COMMAND} -E env DESTDIR=${STAGE} ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix /usr
  RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cmake --install failed (${result})")
endif()
set(root ${STAGE}/usr)

set(expected
  bin/Aspirello bin/Aspirello-demo bin/aspirello-board bin/aspirello-analisi
  share/applications/${APP_ID}.desktop share/metainfo/${APP_ID}.metainfo.xml
  share/applications/it.aspirello.Analisi.desktop
  share/icons/hicolor/scalable/apps/${APP_ID}.svg
  share/doc/aspirello/copyright share/doc/aspirello/changelog.gz
  share/doc/aspirello/README.md share/doc/aspirello/docs/screenshot.png
  share/man/man1/Aspirello.1.gz share/man/man1/Aspirello-demo.1.gz share/man/man1/aspirello-board.1.gz
  share/man/man1/aspirello-analisi.1.gz share/aspirello/aspirello-board.hex)
# Each PNG square at the size its folder names (width and height in IHDR).
foreach(size 256 128 64 48 32)
  set(png share/icons/hicolor/${size}x${size}/apps/${APP_ID}.png)
  list(APPEND expected ${png})
  if(EXISTS ${root}/${png})
    file(READ ${root}/${png} header OFFSET 16 LIMIT 8 HEX)
    string(REGEX MATCH "^(........)(........)$" found "${header}")
    math(EXPR width "0x${CMAKE_MATCH_1}")
    math(EXPR height "0x${CMAKE_MATCH_2}")
    if(NOT width EQUAL size OR NOT height EQUAL size)
      message(FATAL_ERROR "${png} is ${width}x${height}")
    endif()
  endif()
endforeach()
file(GLOB_RECURSE installed LIST_DIRECTORIES false RELATIVE ${root} ${STAGE}/*)
list(SORT installed)
list(SORT expected)
if(NOT installed STREQUAL expected)
  message(FATAL_ERROR "expected\n  ${expected}\nfound\n  ${installed}")
endif()

# The menu entry starts an installed program whose window class (its file
# name) is StartupWMClass, and names the installed icon.
file(READ ${root}/share/applications/${APP_ID}.desktop entry)
foreach(key Exec StartupWMClass Icon)
  string(REGEX MATCH "\n${key}=([^\n]*)" found "${entry}")
  set(${key} "${CMAKE_MATCH_1}")
endforeach()
if(NOT EXISTS ${root}/bin/${Exec} OR NOT StartupWMClass STREQUAL Exec OR NOT Icon STREQUAL APP_ID)
  message(FATAL_ERROR "desktop entry: Exec=${Exec} StartupWMClass=${StartupWMClass} Icon=${Icon}")
endif()

file(READ ${root}/share/metainfo/${APP_ID}.metainfo.xml metainfo)
foreach(part "<launchable type=\"desktop-id\">${APP_ID}.desktop</launchable>"
             "<release version=\"${VERSION}\"" "docs/screenshot.png</image>")
  string(FIND "${metainfo}" "${part}" at)
  if(at LESS 0)
    message(FATAL_ERROR "metainfo lacks ${part}")
  endif()
endforeach()
