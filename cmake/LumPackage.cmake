# What an installation and a release archive hold besides the libraries, headers and
# CMake package files: the pkg-config file and the licence; and how CPack packs them.
# Included by the top-level CMakeLists.txt after the libraries' install rules.
#   Linux:   <build>/CPackConfig.cmake writes LumDerivedDocumentsBase-<version>-Linux-x86_64.tar.gz
#   Windows: the MinGW cross build writes LumDerivedDocumentsBase-<version>-win64.zip

# The libraries a host links, in link order; header-only ones (INTERFACE) add no flag.
set(lumPackageLibraries LumDerivedDocumentsBase LumTable QXRepositoryProxy QXNativeDataObjects
    LumRoots)

# --- pkg-config --------------------------------------------------------------------
set(LUM_PC_INSTALL_DIR "${CMAKE_INSTALL_LIBDIR}/pkgconfig")
if(IS_ABSOLUTE "${CMAKE_INSTALL_LIBDIR}" OR IS_ABSOLUTE "${CMAKE_INSTALL_INCLUDEDIR}")
    # Folders given outside the prefix tie the file to this one installation.
    set(LUM_PC_PREFIX "${CMAKE_INSTALL_PREFIX}")
    set(LUM_PC_LIBDIR "${CMAKE_INSTALL_FULL_LIBDIR}")
    set(LUM_PC_INCLUDEDIR "${CMAKE_INSTALL_FULL_INCLUDEDIR}")
else()
    # ${pcfiledir} is the folder of the .pc file: climb back from it to the prefix.
    file(RELATIVE_PATH lumPcToPrefix "/prefix/${LUM_PC_INSTALL_DIR}" "/prefix")
    string(REGEX REPLACE "/$" "" lumPcToPrefix "${lumPcToPrefix}")
    set(LUM_PC_PREFIX "\${pcfiledir}/${lumPcToPrefix}")
    set(LUM_PC_LIBDIR "\${prefix}/${CMAKE_INSTALL_LIBDIR}")
    set(LUM_PC_INCLUDEDIR "\${prefix}/${CMAKE_INSTALL_INCLUDEDIR}")
endif()
set(LUM_PC_LIBS "")
foreach(library IN LISTS lumPackageLibraries)
    get_target_property(libraryType ${library} TYPE)
    if(NOT libraryType STREQUAL "INTERFACE_LIBRARY")
        string(APPEND LUM_PC_LIBS " -l${library}")
    endif()
endforeach()
string(STRIP "${LUM_PC_LIBS}" LUM_PC_LIBS)
configure_file("${PROJECT_SOURCE_DIR}/cmake/lum-derived-documents-base.pc.in"
               "${PROJECT_BINARY_DIR}/lum-derived-documents-base.pc" @ONLY)
install(FILES "${PROJECT_BINARY_DIR}/lum-derived-documents-base.pc"
        DESTINATION "${LUM_PC_INSTALL_DIR}")

# --- Licence and the archive's own README ---------------------------------------------
# An installation keeps the licence with its documentation. A release archive carries
# the licence and a short README at its top instead: they belong to components of their
# own, the first left out of the archive, the second left out of `cmake --install`.
install(FILES "${PROJECT_SOURCE_DIR}/LICENSE" DESTINATION "${CMAKE_INSTALL_DOCDIR}"
        COMPONENT Licence)
install(FILES "${PROJECT_SOURCE_DIR}/LICENSE" DESTINATION . COMPONENT ArchiveTop
        EXCLUDE_FROM_ALL)
configure_file("${PROJECT_SOURCE_DIR}/cmake/README.package.md.in"
               "${PROJECT_BINARY_DIR}/README.package.md" @ONLY)
install(FILES "${PROJECT_BINARY_DIR}/README.package.md" DESTINATION . RENAME README.md
        COMPONENT ArchiveTop EXCLUDE_FROM_ALL)

# --- CPack ---------------------------------------------------------------------------
if(WIN32)
    set(lumPackageSystem win32)
    if(CMAKE_SIZEOF_VOID_P EQUAL 8)
        set(lumPackageSystem win64)
    endif()
    set(CPACK_GENERATOR ZIP) # DLLs in bin/, their import libraries (.dll.a) in lib/
else()
    set(lumPackageSystem "${CMAKE_SYSTEM_NAME}-${CMAKE_SYSTEM_PROCESSOR}")
    set(CPACK_GENERATOR TGZ)
endif()
set(CPACK_PACKAGE_NAME "${PROJECT_NAME}")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_VENDOR "the LumDerivedDocumentsBase developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Registry of the documents derived from a structural model, for CAD hosts")
set(CPACK_RESOURCE_FILE_LICENSE "${PROJECT_SOURCE_DIR}/LICENSE")
set(CPACK_PACKAGE_FILE_NAME "${PROJECT_NAME}-${PROJECT_VERSION}-${lumPackageSystem}")
set(CPACK_VERBATIM_VARIABLES ON)
# One archive of the listed components: what `cmake --install` installs (the default
# component) and the archive's top files; no test program or example has an install
# rule, and GoogleTest's are switched off (INSTALL_GTEST).
set(CPACK_ARCHIVE_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)
set(CPACK_COMPONENT_INCLUDE_TOPLEVEL_DIRECTORY ON) # everything below <archive name>/
set(lumDefaultComponent Unspecified) # install() rules that name no component
if(CMAKE_INSTALL_DEFAULT_COMPONENT_NAME)
    set(lumDefaultComponent "${CMAKE_INSTALL_DEFAULT_COMPONENT_NAME}")
endif()
set(CPACK_COMPONENTS_ALL "${lumDefaultComponent}" ArchiveTop)
# A source archive (package_source) leaves out the build folders and the repository.
set(CPACK_SOURCE_GENERATOR TGZ)
set(CPACK_SOURCE_IGNORE_FILES "/\\.git/" "/build/" "/\\.cache/" "__pycache__")
include(CPack)
