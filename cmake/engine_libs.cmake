# The libraries the engine stands on (poppler and the image libraries), as
# one interface target, zandrix_engine_libs. Natively they are Debian's -dev
# packages, found with pkg-config. On Windows they are the static libraries
# that scripts/build-deps.sh builds into a cache folder, named by
# ZANDRIX_DEPS_PREFIX. ZANDRIX_ENGINE says whether the engine can be built.
add_library(zandrix_engine_libs INTERFACE)
set(ZANDRIX_ENGINE OFF)
if(NOT WIN32)
    find_package(PkgConfig REQUIRED)
    pkg_check_modules(ENGINE_LIBS REQUIRED IMPORTED_TARGET
        poppler libpng libjpeg libtiff-4 libgif freetype2 zlib)
    target_link_libraries(zandrix_engine_libs INTERFACE PkgConfig::ENGINE_LIBS)
    set(ZANDRIX_ENGINE ON)
endif()
