# What `cmake --install` puts where: the two programs in bin/, the program texts in
# share/kyvcipher/ (found from bin/ by a relative path, see src/platform), and what a desktop
# needs to list and start the program: entry, icons, AppStream metadata, manual pages.
install(TARGETS kyvcipher kyv RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES data/kyve.dat DESTINATION ${CMAKE_INSTALL_DATADIR}/kyvcipher)

install(FILES data/desktop/${KYV_DESKTOP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
configure_file(data/desktop/${KYV_DESKTOP_ID}.metainfo.xml.in
               ${CMAKE_BINARY_DIR}/generated/${KYV_DESKTOP_ID}.metainfo.xml @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/generated/${KYV_DESKTOP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

set(KYV_ICON_SIZES 16 22 24 32 48 64 128 256)
install(FILES data/icons/${KYV_DESKTOP_ID}.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(_size IN LISTS KYV_ICON_SIZES)
    install(FILES data/icons/png/${_size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${_size}x${_size}/apps
            RENAME ${KYV_DESKTOP_ID}.png)
endforeach()

install(FILES data/man/kyv.1 data/man/kyvcipher.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# The type of encrypted files, its icon, and the KDE file manager's "Encrypt/Decrypt with" menu.
set(KYV_ENCRYPTED_ICON application-x-kyvcipher-encrypted)
install(FILES data/mime/${KYV_DESKTOP_ID}.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
install(FILES data/icons/${KYV_ENCRYPTED_ICON}.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/mimetypes)
foreach(_size IN LISTS KYV_ICON_SIZES)
    install(FILES data/icons/mimetypes/${_size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${_size}x${_size}/mimetypes
            RENAME ${KYV_ENCRYPTED_ICON}.png)
endforeach()
install(FILES data/kio/${KYV_DESKTOP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/kio/servicemenus)
# Installed straight into a system (no DESTDIR: not a staging folder or a package, whose triggers
# do this), the MIME and desktop databases learn of the new files at once.
install(CODE [[
    if("$ENV{DESTDIR}" STREQUAL "")
        foreach(_tool_and_folder IN ITEMS "update-mime-database;mime" "update-desktop-database;applications")
            list(GET _tool_and_folder 0 _tool)
            list(GET _tool_and_folder 1 _folder)
            find_program(_found ${_tool} NO_CACHE)
            if(_found)
                execute_process(COMMAND ${_found} "${CMAKE_INSTALL_PREFIX}/share/${_folder}")
            endif()
        endforeach()
    endif()
]])
