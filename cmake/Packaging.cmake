# What `cmake --install` puts where, and the packages made from it with CPack:
# a .deb on Linux, a ZIP for Windows (built with MinGW). Every install rule of
# the project lives here, so the packages' contents can be read in one place.
include(GNUInstallDirs)

set(CPACK_PACKAGE_NAME vrellix)
set(CPACK_PACKAGE_VENDOR "the Vrellix authors")
set(CPACK_PACKAGE_CONTACT "the Vrellix authors <vrellix@example.org>" CACHE STRING
    "Maintainer of the packages: name <address>")
set(CPACK_RESOURCE_FILE_LICENSE "${PROJECT_SOURCE_DIR}/LICENSE")
# The values reach the installer's script as written here, backslashes too.
set(CPACK_VERBATIM_VARIABLES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "types an album's titles into the RZT music device")
# Wrapped by hand: the Debian control file keeps the lines as they are.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
  "Vrellix types an album's title, reading, artist and track names into the"
  "RZT, a music device whose only text input is its infrared remote control,"
  "by sending the remote's key packets through a transmitter on a serial port."
  "It checks every text before the first key is sent, and a built-in model of"
  "the device shows what the device would hold."
  "This package holds the Japanese window program vrellix and the command"
  "line vrellix-cli.")
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

# The programs this build has; the Windows window program joins the ZIP as
# soon as its target exists.
set(programs)
foreach(target IN ITEMS vrellix-cli vrellix vrellix_win32)
  if(TARGET ${target})
    list(APPEND programs ${target})
  endif()
endforeach()

if(WIN32)
  # One folder to unpack anywhere: the programs, the read-me beside them.
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME "vrellix-${PROJECT_VERSION}-windows-x86_64")
  install(TARGETS ${programs} RUNTIME DESTINATION .)
  install(FILES README.md CHANGELOG.md DESTINATION .)
  install(FILES examples/album.csv examples/worst-case.csv DESTINATION examples)

  # Notepad takes UTF-8 with a byte-order mark for UTF-8 on every Windows
  # version, and CR LF for line ends; the sources stay plain UTF-8 here.
  # @VARIABLES@ are replaced, but not in others' texts (VERBATIM).
  function(vrellix_notepad_text source name)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${source}")
    file(READ "${source}" text)
    if(NOT "VERBATIM" IN_LIST ARGN)
      string(CONFIGURE "${text}" text @ONLY)
    endif()
    string(REPLACE "\n" "\r\n" text "${text}")
    string(ASCII 239 187 191 bom)
    file(WRITE "${PROJECT_BINARY_DIR}/packaging/${name}" "${bom}${text}")
  endfunction()
  vrellix_notepad_text("${PROJECT_SOURCE_DIR}/packaging/windows/README-ja.txt" README-ja.txt)
  vrellix_notepad_text("${PROJECT_SOURCE_DIR}/LICENSE" LICENSE.txt)
  vrellix_notepad_text("${PROJECT_SOURCE_DIR}/packaging/windows/installed.txt" installed.txt)
  install(FILES "${PROJECT_BINARY_DIR}/packaging/README-ja.txt" "${PROJECT_BINARY_DIR}/packaging/LICENSE.txt"
          DESTINATION .)

  # Readings: MeCab is linked into the programs (its BSD licence beside them),
  # its dictionary's files, with their own licence, in "dic" (src/reading).
  if(VRELLIX_HAVE_MECAB)
    vrellix_notepad_text("${VRELLIX_MECAB_LICENSE}" LICENSE-MeCab.txt VERBATIM)
    vrellix_notepad_text("${VRELLIX_MECAB_DICTIONARY_LICENSE}" dic-COPYING.txt VERBATIM)
    install(FILES "${PROJECT_BINARY_DIR}/packaging/LICENSE-MeCab.txt" DESTINATION .)
    install(FILES ${VRELLIX_MECAB_DICTIONARY_FILES} DESTINATION dic)
    install(FILES "${PROJECT_BINARY_DIR}/packaging/dic-COPYING.txt" DESTINATION dic RENAME COPYING.txt)
  endif()

  # The same files as an installer (Debian's nsis builds it here: cpack -G
  # NSIS) with a Start-menu entry for the window program. Only the installer
  # puts its mark beside the programs, which then keep their settings per
  # user (src/fileio/user_folders.h): Program Files is not the user's to write.
  set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
  set(CPACK_NSIS_EXTRA_INSTALL_COMMANDS
      "SetOutPath \"$INSTDIR\"\nFile \"${PROJECT_BINARY_DIR}/packaging/installed.txt\"")
  set(CPACK_NSIS_EXTRA_UNINSTALL_COMMANDS "Delete \"$INSTDIR\\installed.txt\"")
  # CPack removes the key of this version but leaves the vendor's key above
  # it, empty, once everything else is gone.
  set(CPACK_NSIS_DEFINES "Function un.onUninstSuccess\n  DeleteRegKey /ifempty SHCTX \"Software\\${CPACK_PACKAGE_VENDOR}\"\nFunctionEnd")
  set(CPACK_PACKAGE_INSTALL_DIRECTORY "Vrellix")
  set(CPACK_NSIS_PACKAGE_NAME "Vrellix")
  set(CPACK_NSIS_DISPLAY_NAME "Vrellix ${PROJECT_VERSION}")
  set(CPACK_NSIS_MUI_ICON "${PROJECT_SOURCE_DIR}/res/icons/vrellix.ico")
  set(CPACK_NSIS_MUI_UNIICON "${PROJECT_SOURCE_DIR}/res/icons/vrellix.ico")
  if(TARGET vrellix_win32)
    set(CPACK_NSIS_INSTALLED_ICON_NAME "vrellix.exe")
    set(CPACK_NSIS_MENU_LINKS "vrellix.exe" "Vrellix" "README-ja.txt" "Vrellix README")
  endif()
else()
  set(CPACK_GENERATOR DEB)
  set(doc_dir "${CMAKE_INSTALL_DATADIR}/doc/vrellix")
  install(TARGETS ${programs} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  if(TARGET vrellix)
    install(FILES res/vrellix.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    foreach(size IN ITEMS 16 32 48 256)
      install(FILES res/icons/vrellix-${size}.png
              DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME vrellix.png)
    endforeach()
  endif()
  install(FILES README.md packaging/debian/copyright DESTINATION ${doc_dir})
  install(FILES examples/album.csv examples/worst-case.csv DESTINATION ${doc_dir}/examples)

  # Man pages and the Debian changelog are made at build time: the command
  # line's page from its own help, so the two cannot drift apart.
  find_package(Python3 COMPONENTS Interpreter)
  if(Python3_FOUND AND NOT CMAKE_CROSSCOMPILING)
    set(docs_script "${PROJECT_SOURCE_DIR}/packaging/package_docs.py")
    set(docs_dir "${PROJECT_BINARY_DIR}/packaging")
    set(docs "${docs_dir}/changelog.gz")
    add_custom_command(OUTPUT "${docs_dir}/changelog.gz"
      COMMAND ${CMAKE_COMMAND} -E make_directory "${docs_dir}"
      COMMAND ${Python3_EXECUTABLE} "${docs_script}" changelog "${PROJECT_SOURCE_DIR}/CHANGELOG.md"
              ${PROJECT_VERSION} "${CPACK_PACKAGE_CONTACT}" "${docs_dir}/changelog.gz"
      DEPENDS "${docs_script}" "${PROJECT_SOURCE_DIR}/CHANGELOG.md"
      VERBATIM)
    install(FILES "${docs_dir}/changelog.gz" DESTINATION ${doc_dir})
    if(TARGET vrellix-cli)
      list(APPEND docs "${docs_dir}/vrellix-cli.1.gz")
      add_custom_command(OUTPUT "${docs_dir}/vrellix-cli.1.gz"
        COMMAND ${CMAKE_COMMAND} -E make_directory "${docs_dir}"
        COMMAND ${Python3_EXECUTABLE} "${docs_script}" manpage $<TARGET_FILE:vrellix-cli> "${docs_dir}/vrellix-cli.1.gz"
        DEPENDS "${docs_script}" vrellix-cli
        VERBATIM)
      install(FILES "${docs_dir}/vrellix-cli.1.gz" DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
    endif()
    if(TARGET vrellix)
      list(APPEND docs "${docs_dir}/vrellix.1.gz")
      add_custom_command(OUTPUT "${docs_dir}/vrellix.1.gz"
        COMMAND ${CMAKE_COMMAND} -E make_directory "${docs_dir}"
        COMMAND ${Python3_EXECUTABLE} "${docs_script}" gzip "${PROJECT_SOURCE_DIR}/packaging/vrellix.1" "${docs_dir}/vrellix.1.gz"
        DEPENDS "${docs_script}" "${PROJECT_SOURCE_DIR}/packaging/vrellix.1"
        VERBATIM)
      install(FILES "${docs_dir}/vrellix.1.gz" DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
    endif()
    add_custom_target(vrellix_package_docs ALL DEPENDS ${docs})
  else()
    message(WARNING "No Python 3 (or a cross build): no man pages and no Debian changelog")
  endif()

  # Libraries found by dpkg-shlibdeps; the window program also needs a font
  # with Japanese glyphs, which nothing links.
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-ipafont-gothic | fonts-noto-cjk")
  # The readings for kanji come from MeCab, which finds no words without its
  # dictionary; the rest of the program works without it.
  if(MECAB_LIBRARY)
    set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "mecab-ipadic-utf8")
  endif()
  set(CPACK_DEBIAN_PACKAGE_SECTION utils)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
endif()

include(CPack)
