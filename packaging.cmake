# `cpack -G DEB` in the build folder: orlo-clipboard_<version>_<arch>.deb with
# what `cmake --install` puts under the prefix.

install(FILES LICENSE DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/orlo-clipboard RENAME copyright)

# The manual page and the package's change log, compressed as Debian wants
# them (no name or time stamp inside).
function(orlo_install_gzipped source destination)
    get_filename_component(name ${source} NAME)
    set(packed ${CMAKE_CURRENT_BINARY_DIR}/${name}.gz)
    add_custom_command(OUTPUT ${packed}
        COMMAND ${GZIP} -9nc ${CMAKE_CURRENT_SOURCE_DIR}/${source} > ${packed}
        DEPENDS ${source})
    add_custom_target(gzip-${name} ALL DEPENDS ${packed})
    install(FILES ${packed} DESTINATION ${destination})
endfunction()
if(UNIX AND NOT APPLE)
    find_program(GZIP gzip REQUIRED)
    orlo_install_gzipped(resources/orlo-clipboard.1 ${CMAKE_INSTALL_MANDIR}/man1)
    orlo_install_gzipped(resources/changelog ${CMAKE_INSTALL_DATADIR}/doc/orlo-clipboard)
endif()

set(CPACK_PACKAGE_NAME orlo-clipboard)
set(CPACK_PACKAGE_VENDOR "Orlo粘贴板开发组")
set(CPACK_PACKAGE_CONTACT "Orlo粘贴板开发组 <dev@orlo-clipboard.cn>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "clipboard catcher for the desktop (Chinese interface)")
set(CPACK_PACKAGE_DESCRIPTION
    "Orlo粘贴板 sits in the notification area and keeps every text and picture
put on the clipboard as numbered entries, to browse, edit, copy back, save
(text as GB2312 HTML pages, pictures as BMP files) and delete.")
set(CPACK_PACKAGE_FILE_NAME orlo-clipboard-${PROJECT_VERSION})
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_CURRENT_SOURCE_DIR}/LICENSE)
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://bbs.orlo-clipboard.cn/")
# The libraries the program links come from dpkg-shlibdeps. Qt loads its
# X11 platform plugin at run time, which no link shows, and its own Chinese
# words (the buttons of its boxes) from qt6-translations-l10n, and the SQLite
# driver that keeps the index of the saved files.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, qt6-translations-l10n, libqt6sql6-sqlite")
# The interface is Chinese: any font with the characters will do.
# Native windows in a Wayland session; without it they run on XWayland.
# The OCR engine and its models that let the words in pictures be searched:
# loaded by the process that reads them, never linked.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "fonts-noto-cjk | fonts-wqy-zenhei | fonts-wqy-microhei, qt6-wayland, libtesseract5 | libtesseract4, tesseract-ocr-chi-sim, tesseract-ocr-eng")

include(CPack)
