# The Debian package for a class's machines: cpack -G DEB in a release build tree
# (scripts/check-deb.sh builds it and checks it with lintian).

# The changelog and the copyright file every Debian package carries; cmake --install
# puts them under its prefix too.
zelkora_install_gzipped(${CMAKE_CURRENT_LIST_DIR}/changelog share/doc/zelkora)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/copyright DESTINATION share/doc/zelkora)

set(CPACK_PACKAGE_NAME zelkora)
set(CPACK_PACKAGE_VENDOR "HOLMVIK")
set(CPACK_PACKAGE_CONTACT "Zelkora II developers <zelkora@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "CASL II learning environment with a COMET II simulator")
set(CPACK_PACKAGE_DESCRIPTION "Zelkora II: write CASL II programs, assemble them and run them on a
simulated COMET II while watching the listing, the registers, the stack, the
labels, the memory and the output.
Includes zelkora-cli, the command-line runner for checking many submissions.")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE amd64)
execute_process(COMMAND dpkg --print-architecture OUTPUT_VARIABLE zelkora_arch
                OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
if(zelkora_arch)
  set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE ${zelkora_arch})
endif()
set(CPACK_DEBIAN_FILE_NAME "zelkora_${PROJECT_VERSION}_${CPACK_DEBIAN_PACKAGE_ARCHITECTURE}.deb")
# Qt 6 base with its X11 platform plugin, SVG for the icons, Qt's Japanese texts and a
# Japanese font. A program built with Qt 6.x needs 6.x or later at run time.
set(zelkora_qt "(>= ${Qt6_VERSION_MAJOR}.${Qt6_VERSION_MINOR})")
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libc6, libgcc-s1, libstdc++6, libqt6core6 ${zelkora_qt}, libqt6gui6 ${zelkora_qt}, libqt6widgets6 ${zelkora_qt}, qt6-qpa-plugins ${zelkora_qt}, libqt6svg6 ${zelkora_qt}, qt6-translations-l10n, fonts-ipafont-gothic | fonts-noto-cjk")
# Help (F1) opens the manual with xdg-open in a web browser.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, firefox-esr | www-browser")
# Stripped programs and lintian's overrides go into the package only.
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/finish_package.cmake)
set(CPACK_ZELKORA_STRIP ${CMAKE_STRIP})
set(CPACK_GENERATOR DEB)
include(CPack)
