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
  share/applications/it.aspirello.Analisi.desktop share/mime/packages/it.aspirello.Analisi.xml
  share/icons/hicolor/scalable/apps/${APP_ID}.svg
  share/doc/aspirello/copyright share/doc/aspirello/changelog.gz
  share/doc/aspirello/README.md share/doc/aspirello/docs/screenshot.png
  share/doc/aspirello/docs/analisi.png share/doc/aspirello/docs/board.md
  share/doc/aspirello/docs/board-wiring.svg
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

# Every file the installed README and board guide link to is installed
# beside them.
foreach(doc README.md docs/board.md)
  get_filename_component(doc_folder share/doc/aspirello/${doc} DIRECTORY)
  file(READ ${root}/share/doc/aspirello/${doc} text)
  # Relative links of the form (folder/name.ext), without the brackets that
  # would split a CMake list.
  string(REGEX MATCHALL "\\(([a-z/-]+\\.(png|svg|md))\\)" links "${text}")
  foreach(link ${links})
    string(REGEX REPLACE "^\\((.*)\\)$" "\\1" target "${link}")
    if(NOT EXISTS ${root}/${doc_folder}/${target})
      message(FATAL_ERROR "${doc} links ${target}, which is not installed")
    endif()
  endforeach()
endforeach()

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

# The analyser claims the gauge's log type, which the installed MIME package
# declares with globs that match the names the gauge saves under.
file(READ ${root}/share/applications/it.aspirello.Analisi.desktop analysis_entry)
string(REGEX MATCH "\nMimeType=([^;\n]*);\n" found "${analysis_entry}")
set(claimed "${CMAKE_MATCH_1}")
file(READ ${root}/share/mime/packages/it.aspirello.Analisi.xml mime)
string(FIND "${mime}" "<mime-type type=\"${claimed}\">" at)
if(claimed STREQUAL "" OR claimed STREQUAL "text/plain" OR at LESS 0)
  message(FATAL_ERROR "the analyser's entry claims \"${claimed}\", not the declared log type")
endif()
string(REGEX MATCHALL "pattern=\"[^\"]*\"" patterns "${mime}")
foreach(name log_A_B_C_D_EMEDIE6_2_2016_9_5_3.txt TOP_log_A_B_C_D_EMEDIE31_12_2025_23_59_59.txt)
  set(matched FALSE)
  foreach(pattern ${patterns})
    string(REGEX REPLACE "^pattern=\"(.*)\"$" "\\1" glob "${pattern}")
    string(REPLACE "." "\\." regex "${glob}")
    string(REPLACE "*" ".*" regex "${regex}")
    if(name MATCHES "^${regex}$")
      set(matched TRUE)
    endif()
  endforeach()
  if(NOT matched)
    message(FATAL_ERROR "no glob of the log type matches ${name}")
  endif()
endforeach()

file(READ ${root}/share/metainfo/${APP_ID}.metainfo.xml metainfo)
foreach(part "<launchable type=\"desktop-id\">${APP_ID}.desktop</launchable>"
             "<release version=\"${VERSION}\"" "docs/screenshot.png</image>")
  string(FIND "${metainfo}" "${part}" at)
  if(at LESS 0)
    message(FATAL_ERROR "metainfo lacks ${part}")
  endif()
endforeach()
