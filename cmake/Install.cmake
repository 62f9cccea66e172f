# Where `cmake --install` and the Debian package put Tarvo (GNUInstallDirs):
#   bin/tarvo                 the program
#   <libdir>/tarvo/           its libraries, private to it
#   share/tarvo/              the program folder: skins, symbols, templates, tips,
#                             search.ini, the help "Hilfe/" (read-only)
#   share/applications, share/icons/hicolor, share/metainfo, share/mime/packages
#                             the desktop entry, icons, AppStream data and the
#                             type of ".tarvo" files
# The program finds its folder from the executable: beside it in the build
# folder, at TARVO_DATA_FROM_BIN when installed.
include(GNUInstallDirs)

set(TARVO_APP_ID de.ozo_software.tarvo)
set(TARVO_INSTALL_LIBDIR ${CMAKE_INSTALL_LIBDIR}/tarvo)
set(TARVO_INSTALL_DATADIR ${CMAKE_INSTALL_DATADIR}/tarvo)
file(RELATIVE_PATH TARVO_DATA_FROM_BIN ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_FULL_DATADIR}/tarvo)
file(RELATIVE_PATH TARVO_LIB_FROM_BIN ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_FULL_LIBDIR}/tarvo)

configure_file(${CMAKE_CURRENT_LIST_DIR}/tarvo_config.h.in ${CMAKE_BINARY_DIR}/generated/tarvo_config.h @ONLY)
