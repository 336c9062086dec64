# `make package` (cpack) builds a Debian package of everything the install rules put under /usr.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME varnel)
set(CPACK_PACKAGE_VENDOR "the Varnel developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "random password and username generator")
set(CPACK_PACKAGE_DESCRIPTION "Varnel makes random passwords, alone or paired with usernames (random,
numbered, none, or read from a text file), in batches of up to 9999. Pairs
can be edited, deleted, shown in large print, and saved to a text file as
one comma-separated line or one pair per line.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "the Varnel developers <${VARNEL_SUPPORT_EMAIL}>")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${VARNEL_WEB_SITE})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The toolkit's X11 platform comes with its widgets; a desktop with Wayland alone needs this one too.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qt6-wayland)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
# Only the files the program installs: the tests, benchmarks and icon tool stay out.
set(CPACK_INSTALL_CMAKE_PROJECTS "${CMAKE_BINARY_DIR};Varnel;Unspecified;/")
include(CPack)
