# The layers of noxd.dll, lowest first: math, renderer, osd, interaction, api.
# noxd_add_layer(NAME SOURCES...) in a layer's folder makes its static library,
# compiled with a PRIVATE include path of its own folder and the folders of
# the layers added before it; a header of a higher layer is not even found.
# (tools/check-layers checks the include lines themselves.)
# The public header's folder, include/, sits below every layer but the maths.
function(noxd_add_layer name)
    add_library(${name} STATIC ${ARGN})
    get_property(below GLOBAL PROPERTY NOXD_LAYER_DIRS)
    target_include_directories(${name} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR} ${below})
    get_property(lower_layers GLOBAL PROPERTY NOXD_LAYERS)
    target_link_libraries(${name} PUBLIC ${lower_layers})
    if(below)
        target_compile_definitions(${name} PUBLIC NOXD_BUILDING GLEW_STATIC)
        target_link_libraries(${name} PUBLIC win32_owners GLEW::GLEW OpenGL::GL glu32 winmm gdi32 user32)
    endif()
    if(NOT below)
        set(below ${PROJECT_SOURCE_DIR}/include)
    endif()
    set_property(GLOBAL PROPERTY NOXD_LAYER_DIRS ${CMAKE_CURRENT_SOURCE_DIR} ${below})
    # Highest first, as a static link wants them.
    set_property(GLOBAL PROPERTY NOXD_LAYERS ${name} ${lower_layers})
endfunction()
