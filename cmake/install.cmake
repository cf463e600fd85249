# The SDK as `cmake --install` lays it out, and the zip `cpack` makes of it:
#   bin/   noxd.dll; ambrel.exe, the stand-in nox.dll, noxd_viewer.exe and its logo
#   lib/   the import libraries, libnoxd.dll.a (mingw-w64) and noxd.lib (Microsoft's
#          linker); lib/cmake/noxd/, the CMake package
#   include/ noxd.h
#   docs/  the reference and the guides; README.md beside these folders
#   examples/msvc_host/ a Visual Studio host's CMake project
# A host project then uses find_package(noxd CONFIG) and links noxd::noxd.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(NOXD_PACKAGE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/noxd)

target_include_directories(noxd INTERFACE $<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}/include>
                                          $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}>)
install(TARGETS noxd EXPORT noxdTargets
        RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})
install(FILES ${PROJECT_SOURCE_DIR}/include/noxd.h DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
if(TARGET noxd_msvc_import_library)
    install(FILES ${CMAKE_BINARY_DIR}/bin/noxd.lib DESTINATION ${CMAKE_INSTALL_LIBDIR})
endif()
install(EXPORT noxdTargets NAMESPACE noxd:: DESTINATION ${NOXD_PACKAGE_DIR})
configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/noxdConfig.cmake.in
                              ${CMAKE_BINARY_DIR}/package/noxdConfig.cmake
                              INSTALL_DESTINATION ${NOXD_PACKAGE_DIR} PATH_VARS CMAKE_INSTALL_LIBDIR)
# A 32-bit package refuses a 64-bit host build and the other way round.
write_basic_package_version_file(${CMAKE_BINARY_DIR}/package/noxdConfigVersion.cmake
                                 COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_BINARY_DIR}/package/noxdConfig.cmake ${CMAKE_BINARY_DIR}/package/noxdConfigVersion.cmake
        DESTINATION ${NOXD_PACKAGE_DIR})

if(TARGET ambrel)
    install(TARGETS ambrel RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    # The stand-in component, without an import library: it is only loaded.
    install(PROGRAMS $<TARGET_FILE:nox_sim> DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
if(TARGET noxd_viewer)
    install(TARGETS noxd_viewer RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    install(FILES ${PROJECT_SOURCE_DIR}/examples/viewer/logo.bmp DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

# The documents, every one the README links among them, with the links to
# the simulated camera's README pointing where the SDK has it,
# docs/nox_sim.md; written again when a source changes.
set(NOXD_SDK_DOCS ${CMAKE_BINARY_DIR}/package/sdk)
foreach(document README.md docs/viewer.md docs/ambrel.md)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${document})
    file(READ ${PROJECT_SOURCE_DIR}/${document} text)
    string(REPLACE "[nox_sim/README.md](nox_sim/README.md)" "[docs/nox_sim.md](docs/nox_sim.md)" text "${text}")
    string(REPLACE "[../nox_sim/README.md](../nox_sim/README.md)" "[nox_sim.md](nox_sim.md)" text "${text}")
    file(WRITE ${NOXD_SDK_DOCS}/${document}.new "${text}")
    configure_file(${NOXD_SDK_DOCS}/${document}.new ${NOXD_SDK_DOCS}/${document} COPYONLY)
endforeach()
install(FILES ${NOXD_SDK_DOCS}/README.md DESTINATION .)
install(FILES ${PROJECT_SOURCE_DIR}/docs/api.md ${PROJECT_SOURCE_DIR}/docs/noxd.md
              ${NOXD_SDK_DOCS}/docs/viewer.md ${NOXD_SDK_DOCS}/docs/ambrel.md
              ${PROJECT_SOURCE_DIR}/docs/performance.md ${PROJECT_SOURCE_DIR}/docs/architecture.md
        DESTINATION docs)
install(FILES ${PROJECT_SOURCE_DIR}/nox_sim/README.md DESTINATION docs RENAME nox_sim.md)
install(FILES ${PROJECT_SOURCE_DIR}/examples/msvc_host/CMakeLists.txt ${PROJECT_SOURCE_DIR}/examples/msvc_host/host.c
        DESTINATION examples/msvc_host)

# One zip per architecture: noxd-<version>-win32.zip holds the deliverables,
# noxd-<version>-win64.zip the 64-bit build of the same sources.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(NOXD_PACKAGE_ARCH win64)
else()
    set(NOXD_PACKAGE_ARCH win32)
endif()
set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME noxd)
set(CPACK_PACKAGE_VENDOR noxd)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME noxd-${PROJECT_VERSION}-${NOXD_PACKAGE_ARCH})
# The shipped binaries without their debug information.
set(CPACK_STRIP_FILES ON)
include(CPack)
