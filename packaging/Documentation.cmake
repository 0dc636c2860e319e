# What the package says about itself: the manual pages, the changelog and
# copyright that Debian asks for, the AppStream metadata that software centres
# list it by, and the tool's bash completion.
set(TRAM_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/tram-map-editor)

# The changelog's newest entry is the release: its date dates the AppStream
# release and the manual pages. (The package test holds its version to
# project()'s.)
file(STRINGS doc/changelog trailers REGEX "^ -- ")
list(GET trailers 0 newest)
if(NOT newest MATCHES ">  [A-Z][a-z][a-z], ([0-9][0-9]) ([A-Z][a-z][a-z]) ([0-9][0-9][0-9][0-9]) ")
  message(FATAL_ERROR "packaging/doc/changelog: no date in \"${newest}\"")
endif()
set(months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
list(FIND months ${CMAKE_MATCH_2} month)
math(EXPR month "${month} + 1" OUTPUT_FORMAT DECIMAL)
string(LENGTH "${month}" digits)
if(digits EQUAL 1)
  set(month 0${month})
endif()
set(TRAM_RELEASE_DATE ${CMAKE_MATCH_3}-${month}-${CMAKE_MATCH_1})

# Debian wants the changelog gzipped at the highest level, without a name or
# time stamp in the header so the package is the same on every build.
set(changelog ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz)
add_custom_command(OUTPUT ${changelog}
  COMMAND sh -c "gzip -9 -n -c \"$1\" > \"$2\"" sh ${CMAKE_CURRENT_SOURCE_DIR}/doc/changelog ${changelog}
  DEPENDS doc/changelog
  VERBATIM)
configure_file(doc/copyright.in copyright @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/copyright ${changelog} DESTINATION ${TRAM_DOC_DIR})

# The manual pages are written from the programs' own --help at build time,
# so they say what the programs say; only the examples are kept apart.
set(man_dir ${CMAKE_CURRENT_BINARY_DIR}/man)
set(man_pages)
function(tram_man_page program summary see_also)
  set(page ${man_dir}/${program}.1.gz)
  add_custom_command(OUTPUT ${page}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${man_dir}
    COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/man/make-man-page.sh $<TARGET_FILE:${program}> ${summary}
            ${TRAM_RELEASE_DATE} ${CMAKE_CURRENT_SOURCE_DIR}/man/${program}.examples ${see_also} ${page}
    DEPENDS ${program} man/make-man-page.sh man/help-text.awk man/${program}.examples
    COMMENT "Writing the manual page of ${program} from its --help"
    VERBATIM)
  set(man_pages ${man_pages} ${page} PARENT_SCOPE)
endfunction()
tram_man_page(tram-map-editor "${TRAM_APP_SUMMARY}" tram-map-tool)
tram_man_page(tram-map-tool "${TRAM_TOOL_SUMMARY}" tram-map-editor)
add_custom_target(tram_documents ALL DEPENDS ${man_pages} ${changelog})
install(FILES ${man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

configure_file(metainfo.xml.in ${TRAM_APP_ID}.metainfo.xml @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/${TRAM_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

install(FILES tram-map-tool.bash-completion
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions
        RENAME tram-map-tool)
