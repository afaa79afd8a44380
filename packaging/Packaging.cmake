# Installing like any desktop application, and the Debian packages.
#   bin/                          quillmark, quillmark-convert
#   share/quillmark/              the program folder's data (installed by data/)
#   share/applications/           the desktop entry, with the NC file types
#   share/mime/packages/          the NC file types
#   share/icons/hicolor/scalable/ the icon
#   share/man/man1/               the manual page of quillmark-convert
set(QM_PACKAGING_DIR ${CMAKE_CURRENT_LIST_DIR})
set(QM_PACKAGE_VERSION ${PROJECT_VERSION})  # the About box shows the same numbers

# Two packages: quillmark-convert (the converter, its manual page and the default dictionaries,
# without the desktop libraries) and quillmark (the desktop application, which needs the first).
install(TARGETS quillmark RUNTIME DESTINATION bin COMPONENT desktop)
install(TARGETS quillmark-convert RUNTIME DESTINATION bin COMPONENT converter)
install(FILES ${QM_PACKAGING_DIR}/quillmark.desktop DESTINATION share/applications COMPONENT desktop)
install(FILES ${QM_PACKAGING_DIR}/quillmark-mime.xml DESTINATION share/mime/packages RENAME quillmark.xml
        COMPONENT desktop)
install(FILES ${QM_PACKAGING_DIR}/quillmark.svg DESTINATION share/icons/hicolor/scalable/apps COMPONENT desktop)
install(FILES ${QM_PACKAGING_DIR}/quillmark-convert.1 DESTINATION share/man/man1 COMPONENT converter)

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
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL desktop converter)
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)
set(CPACK_COMPONENT_DESKTOP_DEPENDS converter)
set(CPACK_DEBIAN_DESKTOP_PACKAGE_NAME quillmark)
set(CPACK_DEBIAN_CONVERTER_PACKAGE_NAME quillmark-convert)
set(CPACK_COMPONENT_DESKTOP_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
set(CPACK_COMPONENT_CONVERTER_DESCRIPTION
    "quillmark-convert replaces every word of a dictionary in each line of CNC programs by its comment, from the command line. It comes with the default dictionaries and needs no desktop libraries.")
set(CPACK_DEBIAN_DESKTOP_PACKAGE_RECOMMENDS "desktop-file-utils, shared-mime-info")
set(CPACK_DEBIAN_DESKTOP_PACKAGE_CONTROL_EXTRA ${QM_PACKAGING_DIR}/postinst ${QM_PACKAGING_DIR}/postrm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
