# Installing like any desktop application, and the Debian package.
#   bin/                          quillmark, quillmark-convert
#   share/quillmark/              the program folder's data (installed by data/)
#   share/applications/           the desktop entry, with the NC file types
#   share/mime/packages/          the NC file types
#   share/icons/hicolor/scalable/ the icon
#   share/man/man1/               the manual page of quillmark-convert
set(QM_PACKAGING_DIR ${CMAKE_CURRENT_LIST_DIR})
set(QM_PACKAGE_VERSION ${PROJECT_VERSION})  # the About box shows the same numbers

install(TARGETS quillmark quillmark-convert RUNTIME DESTINATION bin)
install(FILES ${QM_PACKAGING_DIR}/quillmark.desktop DESTINATION share/applications)
install(FILES ${QM_PACKAGING_DIR}/quillmark-mime.xml DESTINATION share/mime/packages RENAME quillmark.xml)
install(FILES ${QM_PACKAGING_DIR}/quillmark.svg DESTINATION share/icons/hicolor/scalable/apps)
install(FILES ${QM_PACKAGING_DIR}/quillmark-convert.1 DESTINATION share/man/man1)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quillmark)
set(CPACK_PACKAGE_VERSION ${QM_PACKAGE_VERSION})
set(CPACK_PACKAGE_VENDOR "Quillmark")
set(CPACK_PACKAGE_CONTACT "Quillmark maintainers <quillmark@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "NC program viewer that replaces every code by its comment")
set(CPACK_PACKAGE_DESCRIPTION
    "Quillmark shows a CNC program beside its conversion, where every word of a dictionary is replaced by its comment; quillmark-convert does the same from the command line.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "desktop-file-utils, shared-mime-info")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${QM_PACKAGING_DIR}/postinst ${QM_PACKAGING_DIR}/postrm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
