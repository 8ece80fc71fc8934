# `cpack -G DEB` in the build folder: the same install, into /usr.
set(CPACK_PACKAGE_NAME quorvane)
set(CPACK_PACKAGE_VENDOR "Quorvane developers")
set(CPACK_PACKAGE_CONTACT "${QV_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "configuration tool for the Quorvane gaming keyboard")
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_INSTALL_PREFIX /usr)
# DESTDIR keeps the prefix /usr while cpack installs, so what depends on the prefix (the
# autostart entry in /etc) is chosen as for the real place.
set(CPACK_SET_DESTDIR ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${QV_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${PROJECT_HOMEPAGE_URL}")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded at run time, so no library dependency names them: the Wayland platform of Qt, and
# udev, which applies the rule.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland, udev")
# The long description; cpack puts the summary before it as the synopsis.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Quorvane remaps the keys of the Quorvane USB gaming keyboard,
records macros that the keyboard plays itself, sets its lighting effects
and per-key colours, switches its three on-board profiles, exports and
imports them and sets the report rate. It waits in the system tray and
opens when the keyboard is plugged in.

quorvanectl does the same from a shell, with completions for bash, zsh
and fish.")

# Files in /etc are the administrator's once installed: dpkg keeps their changes.
set(QV_CONFFILES "")
if(NOT QV_AUTOSTARTDIR)
  list(APPEND QV_CONFFILES "/${CMAKE_INSTALL_SYSCONFDIR}/xdg/autostart/quorvane.desktop")
elseif(QV_AUTOSTARTDIR MATCHES "^/etc/")
  list(APPEND QV_CONFFILES "${QV_AUTOSTARTDIR}/quorvane.desktop")
endif()
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${CMAKE_CURRENT_SOURCE_DIR}/postinst ${CMAKE_CURRENT_SOURCE_DIR}/postrm)
if(QV_CONFFILES)
  list(JOIN QV_CONFFILES "\n" QV_CONFFILES)
  file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/conffiles "${QV_CONFFILES}\n")
  list(APPEND CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${CMAKE_CURRENT_BINARY_DIR}/conffiles)
endif()
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
