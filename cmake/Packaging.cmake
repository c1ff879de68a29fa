# Release data, the package documents and the Debian package.
#
# packaging/changelog records the releases: its top entry must be the project version, and
# its date is the release date of the AppStream data and the manual pages
# (TESSARY_RELEASE_DATE, YYYY-MM-DD). `cpack -G DEB` in a built tree makes
# tessary_<version>_<arch>.deb under <build>/package with prefix /usr, whatever prefix the
# build was configured for (scripts/check-package.sh builds and checks it).

file(STRINGS ${CMAKE_SOURCE_DIR}/packaging/changelog changelog_lines)
list(GET changelog_lines 0 changelog_top)
if(NOT changelog_top MATCHES "^tessary \\(([^)]+)\\)")
  message(FATAL_ERROR "packaging/changelog: no entry at the top")
endif()
if(NOT CMAKE_MATCH_1 STREQUAL PROJECT_VERSION)
  message(FATAL_ERROR "packaging/changelog: the top entry is ${CMAKE_MATCH_1} but the project "
                      "is ${PROJECT_VERSION}; add an entry for the new version")
endif()
set(TESSARY_RELEASE_DATE "")
foreach(line IN LISTS changelog_lines)
  if(line MATCHES "^ -- .*  [A-Z][a-z][a-z], ([0-9][0-9]?) ([A-Z][a-z][a-z]) ([0-9][0-9][0-9][0-9]) ")
    set(day ${CMAKE_MATCH_1})
    set(year ${CMAKE_MATCH_3})
    set(months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
    list(FIND months "${CMAKE_MATCH_2}" month)
    math(EXPR month "${month} + 1")
    if(month LESS 10)
      string(PREPEND month 0)
    endif()
    string(LENGTH "${day}" day_digits)
    if(day_digits EQUAL 1)
      string(PREPEND day 0)
    endif()
    set(TESSARY_RELEASE_DATE "${year}-${month}-${day}")
    break()
  endif()
endforeach()
if(NOT TESSARY_RELEASE_DATE)
  message(FATAL_ERROR "packaging/changelog: the top entry has no trailer line with its date")
endif()

# The copyright file and the changelog, compressed as Debian keeps it (no name, no time).
set(tessary_doc_dir ${CMAKE_INSTALL_DATAROOTDIR}/doc/tessary)
find_program(GZIP_PROGRAM gzip REQUIRED)
set(changelog_copy ${CMAKE_BINARY_DIR}/packaging/changelog)
configure_file(${CMAKE_SOURCE_DIR}/packaging/changelog ${changelog_copy} COPYONLY)
add_custom_command(OUTPUT ${changelog_copy}.gz
  COMMAND ${GZIP_PROGRAM} -9 -n -k -f ${changelog_copy}
  DEPENDS ${changelog_copy}
  VERBATIM)
add_custom_target(tessary_changelog ALL DEPENDS ${changelog_copy}.gz)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/copyright ${changelog_copy}.gz DESTINATION ${tessary_doc_dir})

if(TESSARY_BUILD_GUI)
  set(CPACK_GENERATOR DEB)
  set(CPACK_PACKAGE_NAME tessary)
  set(CPACK_PACKAGE_VENDOR Orvanne)
  set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
  set(CPACK_PACKAGE_CONTACT "Orvanne <tessary@orvanne.example>")
  set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "photo-album manager")
  # Lines kept under 80 characters, as the package description wants them.
  string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
    "Tessary keeps photos in albums: an album is a folder holding one album"
    "file and a copy of every photo added to it. Inside an album, photos are"
    "sorted into collections and given tag values, and an incremental search"
    "finds them again, highlighting its matches as you type."
    ""
    "The package also holds tessary-cli, which makes, fills and searches"
    "albums from scripts.")
  set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
  set(CPACK_STRIP_FILES ON)
  set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
      OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

  execute_process(COMMAND dpkg --print-architecture
                  OUTPUT_VARIABLE deb_arch OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE deb_arch_failed)
  if(NOT deb_arch_failed AND deb_arch)
    set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE ${deb_arch})
  endif()
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Orvanne <tessary@orvanne.example>")
  set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://www.orvanne.com/")
  # Library dependencies found by dpkg-shlibdeps (dpkg-dev) from the binaries themselves.
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  # The interface font (src/views/common/SharedFonts.cpp); without it a sans font stands in.
  set(CPACK_DEBIAN_PACKAGE_RECOMMENDS fonts-wine)
  include(CPack)
endif()
