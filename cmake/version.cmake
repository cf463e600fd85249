# The version resource Windows shows for a file (product, version,
# description), from the project's one version number.
set(NOXD_VERSION_RC_TEMPLATE ${CMAKE_CURRENT_LIST_DIR}/version.rc.in)

# noxd_add_version_resource(TARGET PRODUCT name DESCRIPTION text)
function(noxd_add_version_resource target)
    cmake_parse_arguments(V "" "PRODUCT;DESCRIPTION" "" ${ARGN})
    get_target_property(type ${target} TYPE)
    if(type STREQUAL "EXECUTABLE")
        set(FILE_TYPE VFT_APP)
    else()
        set(FILE_TYPE VFT_DLL)
    endif()
    set(PRODUCT ${V_PRODUCT})
    set(DESCRIPTION ${V_DESCRIPTION})
    # The file name is known only at generation time.
    set(FILE_NAME "$<TARGET_FILE_NAME:${target}>")
    configure_file(${NOXD_VERSION_RC_TEMPLATE} ${CMAKE_BINARY_DIR}/version/${target}.rc.in @ONLY)
    file(GENERATE OUTPUT ${CMAKE_BINARY_DIR}/version/${target}.rc INPUT ${CMAKE_BINARY_DIR}/version/${target}.rc.in)
    target_sources(${target} PRIVATE ${CMAKE_BINARY_DIR}/version/${target}.rc)
endfunction()
