# The Debian package (`make package`): the installed tree under /usr, with
# the shared libraries' packages found by dpkg-shlibdeps.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tarnwick)
set(CPACK_PACKAGE_VENDOR "The Tarnwick developers")
set(CPACK_PACKAGE_CONTACT "The Tarnwick developers <tarnwick@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "search folders for text, count lines, edit and inspect files")
set(CPACK_PACKAGE_DESCRIPTION
    "Tarnwick is a desktop file tool with one window of many child windows: Grep\n"
    "searches directory trees for a literal text and can replace it, Line Count\n"
    "counts the lines of many files, text windows edit the files found and hex\n"
    "windows show any file. The search and the count are also two command-line\n"
    "tools, tarnwick-grep and tarnwick-count.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The Qt libraries load their display plugins (X11, Wayland) at run time,
# so no linked library names the package that holds them.
if(TARNWICK_GUI)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
  # Any font will do; a bare system may have none.
  set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-dejavu-core")
endif()

include(CPack)
