# `make package`: a Debian package of both programs, built by CPack from the install rules.
# The man pages, the copyright file and the changelog are installed here, the rest where their
# targets are made.
include(GNUInstallDirs)

set(PIXMORPH_PACKAGE_DOCS ${PROJECT_BINARY_DIR}/package-docs)
set(PIXMORPH_CHANGELOG ${PIXMORPH_PACKAGE_DOCS}/changelog.gz)
# The version has no Debian revision, so the package is native and its changelog is
# changelog.gz. Debian wants both compressed at the highest level and without a time stamp
# (-n), so that the same sources give the same package.
set(PIXMORPH_MAN_PAGES)
foreach(program pixmorph-cli Pixmorph)
  set(page ${PIXMORPH_PACKAGE_DOCS}/${program}.1.gz)
  add_custom_command(
    OUTPUT ${page}
    COMMAND sh -c "gzip -9nc '${PROJECT_SOURCE_DIR}/resources/${program}.1' > '${page}'"
    DEPENDS ${PROJECT_SOURCE_DIR}/resources/${program}.1
    VERBATIM)
  list(APPEND PIXMORPH_MAN_PAGES ${page})
endforeach()
configure_file(${PROJECT_SOURCE_DIR}/resources/debian/changelog.in
               ${PIXMORPH_PACKAGE_DOCS}/changelog @ONLY)
add_custom_command(
  OUTPUT ${PIXMORPH_CHANGELOG}
  COMMAND sh -c "gzip -9nc '${PIXMORPH_PACKAGE_DOCS}/changelog' > '${PIXMORPH_CHANGELOG}'"
  DEPENDS ${PIXMORPH_PACKAGE_DOCS}/changelog
  VERBATIM)
add_custom_target(package_docs ALL DEPENDS ${PIXMORPH_MAN_PAGES} ${PIXMORPH_CHANGELOG})

# The name list's licence is quoted whole in the copyright file.
file(READ ${PROJECT_SOURCE_DIR}/resources/names/LICENSE PIXMORPH_NAMES_LICENCE)
string(REGEX MATCH "Copyright \\(c\\) [^\n]*" PIXMORPH_NAMES_COPYRIGHT "${PIXMORPH_NAMES_LICENCE}")
string(SUBSTRING "${PIXMORPH_NAMES_COPYRIGHT}" 14 -1 PIXMORPH_NAMES_COPYRIGHT)
# The licence's own text begins with its first grant; Debian's format indents every line by one
# blank and writes empty lines as " .".
string(FIND "${PIXMORPH_NAMES_LICENCE}" "Permission" PIXMORPH_GRANT)
string(SUBSTRING "${PIXMORPH_NAMES_LICENCE}" ${PIXMORPH_GRANT} -1 PIXMORPH_NAMES_LICENCE)
string(STRIP "${PIXMORPH_NAMES_LICENCE}" PIXMORPH_NAMES_LICENCE)
string(REPLACE "\n\n" "\n.\n" PIXMORPH_NAMES_LICENCE "${PIXMORPH_NAMES_LICENCE}")
string(REPLACE "\n" "\n " PIXMORPH_NAMES_LICENCE "${PIXMORPH_NAMES_LICENCE}")
configure_file(${PROJECT_SOURCE_DIR}/resources/debian/copyright.in
               ${PIXMORPH_PACKAGE_DOCS}/copyright @ONLY)

set(PIXMORPH_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/pixmorph)
install(FILES ${PIXMORPH_MAN_PAGES} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${PIXMORPH_PACKAGE_DOCS}/copyright ${PIXMORPH_CHANGELOG}
        DESTINATION ${PIXMORPH_DOC_DIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME pixmorph)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Pixmorph developers <pixmorph@quillbright.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "StarCraft sprite (GRP) to BMP converter")
# The summary is the description's first line; CPack indents the lines of the rest.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Pixmorph converts the game's sprite files (GRP) to ordinary 8-bit BMP
pictures and back. The desktop program loads a sprite from disk or from the
game's archive and steps through its frames in a preview drawn in a palette
of choice; it writes the frames out as BMPs with a frame list, and compiles
an edited list back into a sprite. pixmorph-cli does the same from the
command line.")
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT) # pixmorph_<version>_<arch>.deb
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
# The desktop entry is written at install time naming the installed program; it must name
# /usr/bin, not the staging folder, so the package is staged through DESTDIR.
set(CPACK_SET_DESTDIR ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_INSTALL_PREFIX /usr)
# Files and folders as Debian wants them, whatever the umask of the build.
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ
                                                GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR}/package)
include(CPack)
