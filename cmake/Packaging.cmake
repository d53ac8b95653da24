# Packaging: the reverse-DNS id that names the desktop entry, the AppStream
# metainfo and the running program's desktop file; on Linux the files a
# distribution expects beside the programs (copyright, changelog, manual
# pages, metainfo); and the test that builds the Debian package with `cpack`
# and checks it as Debian's own tools do.

# The web domain without "www.", reversed, and the program's name.
string(REGEX REPLACE "^www\\." "" pellix_domain "${PELLIX_WebDomain}")
string(REPLACE "." ";" pellix_domain "${pellix_domain}")
list(REVERSE pellix_domain)
list(JOIN pellix_domain "." pellix_domain)
set(PELLIX_APP_ID ${pellix_domain}.${PELLIX_ProgramName})
if(TARGET pellix)
    target_compile_definitions(pellix PRIVATE PELLIX_APP_ID="${PELLIX_APP_ID}")
endif()
if(TARGET shell_tests)
    target_compile_definitions(shell_tests PRIVATE PELLIX_APP_ID="${PELLIX_APP_ID}")
endif()
if(TARGET about_tests)
    target_compile_definitions(about_tests PRIVATE
        PELLIX_COPYRIGHT_FILE="${PROJECT_SOURCE_DIR}/resources/linux/copyright")
endif()

# The release date is the date of the changelog's newest entry, whose version
# is the project's.
set(PELLIX_CHANGELOG ${PROJECT_SOURCE_DIR}/resources/linux/changelog.in)
block(PROPAGATE PELLIX_RELEASE_DATE)
file(STRINGS ${PELLIX_CHANGELOG} trailer REGEX "^ -- " LIMIT_COUNT 1)
if(NOT trailer MATCHES ">  [A-Z][a-z][a-z], ([0-9][0-9]?) ([A-Z][a-z][a-z]) ([0-9][0-9][0-9][0-9]) ")
    message(FATAL_ERROR "${PELLIX_CHANGELOG}: no date in the newest entry's trailer line")
endif()
set(day ${CMAKE_MATCH_1})
set(year ${CMAKE_MATCH_3})
set(months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
list(FIND months ${CMAKE_MATCH_2} month)
if(month LESS 0)
    message(FATAL_ERROR "${PELLIX_CHANGELOG}: unknown month '${CMAKE_MATCH_2}'")
endif()
math(EXPR month "${month} + 1")
foreach(part day month)
    string(LENGTH "${${part}}" length)
    if(length EQUAL 1)
        set(${part} 0${${part}})
    endif()
endforeach()
set(PELLIX_RELEASE_DATE ${year}-${month}-${day})
endblock()

# The files installed on Linux; the block keeps its working variables.
block()
if(CMAKE_SYSTEM_NAME STREQUAL "Linux")
    set(pkg ${PROJECT_BINARY_DIR}/packaging)
    set(docdir ${CMAKE_INSTALL_DATADIR}/doc/pellix)
    set(man1dir ${CMAKE_INSTALL_MANDIR}/man1)
    set(linux ${PROJECT_SOURCE_DIR}/resources/linux)
    set(compressed)

    # Debian wants changelogs and manual pages compressed as hard as gzip
    # can, and without a time stamp so that the package is reproducible.
    function(pellix_gzip file)
        add_custom_command(OUTPUT ${file}.gz
                           COMMAND gzip -9nkf ${file}
                           DEPENDS ${file}
                           VERBATIM)
        set(compressed ${compressed} ${file}.gz PARENT_SCOPE)
    endfunction()

    configure_file(${PELLIX_CHANGELOG} ${pkg}/changelog @ONLY)
    pellix_gzip(${pkg}/changelog)
    install(FILES ${linux}/copyright ${pkg}/changelog.gz DESTINATION ${docdir})

    if(TARGET pellix)
        install(FILES ${linux}/${PELLIX_APP_ID}.desktop
                DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
        configure_file(${linux}/${PELLIX_APP_ID}.metainfo.xml.in
                       ${pkg}/${PELLIX_APP_ID}.metainfo.xml @ONLY)
        install(FILES ${pkg}/${PELLIX_APP_ID}.metainfo.xml
                DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
        configure_file(${linux}/pellix.1.in ${pkg}/pellix.1 @ONLY)
        pellix_gzip(${pkg}/pellix.1)
        install(FILES ${pkg}/pellix.1.gz DESTINATION ${man1dir})
    endif()

    # The page's options, tokens and exit status come from the program's
    # --help, so it is written by running the program just built.
    if(TARGET pellix-keys AND NOT CMAKE_CROSSCOMPILING)
        configure_file(${linux}/pellix-keys.1.in ${pkg}/pellix-keys.1.in @ONLY)
        add_custom_command(OUTPUT ${pkg}/pellix-keys.1
                           COMMAND sh ${PROJECT_SOURCE_DIR}/scripts/man-from-help.sh
                                   $<TARGET_FILE:pellix-keys> ${pkg}/pellix-keys.1.in
                                   ${pkg}/pellix-keys.1
                           DEPENDS pellix-keys ${pkg}/pellix-keys.1.in
                                   ${PROJECT_SOURCE_DIR}/scripts/man-from-help.sh
                           VERBATIM)
        pellix_gzip(${pkg}/pellix-keys.1)
        install(FILES ${pkg}/pellix-keys.1.gz DESTINATION ${man1dir})
    endif()

    add_custom_target(pellix_packaging ALL DEPENDS ${compressed})
endif()
endblock()

# Builds the package into a folder of its own and runs lintian, the
# AppStream validator and the manual-page lint on it. A package built with
# the sanitizers is no distribution package, so that build skips it.
if(PELLIX_BUILD_TESTS AND CMAKE_SYSTEM_NAME STREQUAL "Linux" AND TARGET pellix
   AND NOT CMAKE_CROSSCOMPILING AND NOT PELLIX_SANITIZE)
    add_test(NAME package.debian
             COMMAND sh ${PROJECT_SOURCE_DIR}/tests/package/package_test.sh
                     ${PROJECT_BINARY_DIR} ${PELLIX_APP_ID})
    set_tests_properties(package.debian PROPERTIES TIMEOUT 600 SKIP_RETURN_CODE 77)
endif()
if(PELLIX_BUILD_TESTS AND TARGET pellix-keys AND NOT CMAKE_CROSSCOMPILING AND UNIX)
    add_test(NAME package.manual_examples
             COMMAND sh ${PROJECT_SOURCE_DIR}/tests/package/manual_examples_test.sh
                     $<TARGET_FILE:pellix-keys> ${PROJECT_SOURCE_DIR}/resources/linux/pellix-keys.1.in)
endif()
