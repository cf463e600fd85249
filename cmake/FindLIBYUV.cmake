# Finds a static libyuv built for the target: LIBYUV_ROOT (or
# CMAKE_PREFIX_PATH) names its prefix, with include/libyuv.h and
# lib/libyuv.a. Makes the imported target LIBYUV::LIBYUV.
find_path(LIBYUV_INCLUDE_DIR libyuv.h)
find_library(LIBYUV_LIBRARY NAMES libyuv.a yuv)
include(FindPackageHandleStandardArgs)
find_package_handle_standard_args(LIBYUV REQUIRED_VARS LIBYUV_LIBRARY LIBYUV_INCLUDE_DIR)
if(LIBYUV_FOUND AND NOT TARGET LIBYUV::LIBYUV)
    add_library(LIBYUV::LIBYUV STATIC IMPORTED)
    # An imported target's headers are system headers: their own warnings
    # are not this tree's.
    set_target_properties(LIBYUV::LIBYUV PROPERTIES IMPORTED_LOCATION ${LIBYUV_LIBRARY}
                          INTERFACE_INCLUDE_DIRECTORIES ${LIBYUV_INCLUDE_DIR})
endif()
mark_as_advanced(LIBYUV_INCLUDE_DIR LIBYUV_LIBRARY)
