# `cpack -G DEB` (scripts/package): one Debian package with both programs and their desktop
# files. The run-time dependencies are derived from the programs' shared libraries by
# dpkg-shlibdeps; only what no library link shows is named here.
set(CPACK_PACKAGE_NAME cuttrace)
set(CPACK_PACKAGE_VENDOR "Cuttrace")
set(CPACK_PACKAGE_CONTACT "Cuttrace developers <cuttrace@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "CNC milling program viewer and simulator")
set(CPACK_PACKAGE_DESCRIPTION
    "Cuttrace runs milling programs (G-code with the custom-macro language of MELDAS,
FANUC and TOSNAC controls) as the control would and draws the tool path in 3D
views, animated at the feed or at once. cuttrace-cli runs programs without a
window, writes the expanded program or pictures, and checks whole folders of
programs for CI.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
if(CUTTRACE_GUI)
    # Japanese texts need a font with kana and kanji; Wayland and other platforms are
    # plug-ins that no link names.
    set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-vlgothic | fonts-noto-cjk, qt6-qpa-plugins")
endif()
include(CPack)
