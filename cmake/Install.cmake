# SPDX-License-Identifier: GPL-3.0-or-later
# Where `cmake --install` (and the Debian package) put each part. The shared
# libraries are private to the programs: they go to <libdir>/brindle, found
# through an RPATH relative to the programs, so nothing needs LD_LIBRARY_PATH.

include(GNUInstallDirs)

set(BRINDLE_INSTALL_LIBDIR "${CMAKE_INSTALL_LIBDIR}/brindle")
set(BRINDLE_INSTALL_DATADIR "${CMAKE_INSTALL_DATADIR}/brindle")
set(BRINDLE_APP_ID "org.quillon.Brindle")

file(RELATIVE_PATH _brindle_bin_to_lib "/${CMAKE_INSTALL_BINDIR}" "/${BRINDLE_INSTALL_LIBDIR}")

# CMake would give the build-tree binaries a RUNPATH padded with ':' so that
# `install` can patch it in place, and an empty entry means the current
# folder: started from a folder holding a libQt6Core.so.6, a program would
# load it. So each binary is linked with the build folders of our libraries
# (never an empty entry, repeated to make room for the installed value) and
# the installed copy gets its relative RUNPATH here.
set(_brindle_library_dirs "")
foreach(library qlbuf lemmatiser)
    get_target_property(_dir ${library} BINARY_DIR)
    list(APPEND _brindle_library_dirs "${_dir}")
endforeach()
function(brindle_install_with_rpath target destination installed_rpath)
    string(JOIN ":" build_rpath ${_brindle_library_dirs})
    list(GET _brindle_library_dirs 0 first)
    string(LENGTH "${installed_rpath}" needed)
    string(LENGTH "${build_rpath}" length)
    while(length LESS needed)
        string(APPEND build_rpath ":${first}")
        string(LENGTH "${build_rpath}" length)
    endwhile()
    set_target_properties(${target} PROPERTIES BUILD_WITH_INSTALL_RPATH ON
                                               INSTALL_RPATH "${build_rpath}")
    install(TARGETS ${target} RUNTIME DESTINATION ${destination}
                              LIBRARY DESTINATION ${destination} NAMELINK_SKIP)
    install(CODE "file(RPATH_CHANGE
        FILE \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${destination}/$<TARGET_FILE_NAME:${target}>\"
        OLD_RPATH \"${build_rpath}\" NEW_RPATH \"${installed_rpath}\")")
endfunction()

foreach(program brindle brindle-scan quillon-controller)
    if(TARGET ${program})
        brindle_install_with_rpath(${program} ${CMAKE_INSTALL_BINDIR}
                                   "$ORIGIN/${_brindle_bin_to_lib}")
    endif()
endforeach()

foreach(library qlbuf lemmatiser)
    if(TARGET ${library})
        brindle_install_with_rpath(${library} ${BRINDLE_INSTALL_LIBDIR} "$ORIGIN")
    endif()
endforeach()

# The help viewer looks for <bindir>/../share/brindle/help.
install(DIRECTORY help/ DESTINATION ${BRINDLE_INSTALL_DATADIR}/help)
install(DIRECTORY sample/ DESTINATION ${BRINDLE_INSTALL_DATADIR}/sample)
# The shipped language profiles, found by brindle-scan at
# <bindir>/../share/brindle/languages; where they come from beside the docs.
install(FILES ${BRINDLE_LANGUAGE_PROFILES} DESTINATION ${BRINDLE_INSTALL_DATADIR}/languages)
install(FILES data/languages/SOURCES.md DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/brindle
        RENAME language-profiles.md)

# The Slurm job-array and merge scripts, to submit from wherever the package
# is installed; the README and the profile format beside the other docs.
install(PROGRAMS scripts/slurm/brindle-scan-array.sbatch scripts/slurm/brindle-scan-merge.sh
        DESTINATION ${BRINDLE_INSTALL_DATADIR}/slurm)
install(FILES README.md docs/profile-format.md dist/copyright
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/brindle)

if(TARGET brindle)
    install(FILES dist/${BRINDLE_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    install(FILES dist/${BRINDLE_APP_ID}.svg
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
    install(FILES dist/${BRINDLE_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
endif()

if(TARGET brindle-scan)
    install(FILES dist/brindle-scan.bash-completion
            DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions
            RENAME brindle-scan)
endif()

# Man pages are written in roff (man/) and installed compressed, as Debian
# expects; gzip -n keeps the archive free of a time stamp.
find_program(BRINDLE_GZIP gzip REQUIRED)
set(_brindle_man_pages "")
foreach(page brindle.1 brindle-scan.1 quillon-controller.1)
    set(_out "${CMAKE_CURRENT_BINARY_DIR}/man/${page}.gz")
    add_custom_command(OUTPUT "${_out}"
        COMMAND ${CMAKE_COMMAND} -E make_directory "${CMAKE_CURRENT_BINARY_DIR}/man"
        COMMAND ${BRINDLE_GZIP} -9n -c "${CMAKE_CURRENT_SOURCE_DIR}/man/${page}" > "${_out}"
        DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/man/${page}"
        VERBATIM)
    list(APPEND _brindle_man_pages "${_out}")
endforeach()
add_custom_target(man_pages ALL DEPENDS ${_brindle_man_pages})
install(FILES ${_brindle_man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
