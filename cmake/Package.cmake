# The Debian package (scripts/package runs cpack in the build folder): what
# `cmake --install` lays out, below /usr. The libraries it links are found by
# dpkg-shlibdeps; what it needs besides them at run time is named here.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tarvo)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR Ozo-Software)
set(CPACK_PACKAGE_CONTACT "Ozo-Software <tarvo@ozo-software.de>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Katalog der eigenen Videosammlung mit Etikettendruck")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Katalog der eigenen Videosammlung mit Etikettendruck
 Tarvo führt den Katalog einer privaten Sammlung von Videokassetten, DVDs
 und anderen Medien und der Filme darauf: Medienkarte mit Restspielzeit,
 Film- und Personenkarten, Kategorien, Verleih, freie SQL-Abfragen,
 Exporte, Datensicherung, und druckt Etiketten für Rücken, Hüllen und
 Fenster der Medien, auch auf Selbstklebebögen. Die Oberfläche ist deutsch.")
set(CPACK_DEBIAN_PACKAGE_SECTION video)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://www.ozo-software.de/)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS usr/${TARVO_INSTALL_LIBDIR})
# Loaded at run time, not linked: the X11 platform plugin of Qt, and the
# fonts the labels are laid out with ("Arial" is Liberation Sans here).
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-liberation")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, xdg-utils")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "www-browser, cups")
include(CPack)
