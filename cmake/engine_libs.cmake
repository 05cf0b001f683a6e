# The libraries the engine stands on (poppler and the image libraries), as
# one interface target, zandrix_engine_libs. Natively they are Debian's -dev
# packages, found with pkg-config. On Windows they are the static libraries
# that scripts/build-deps.sh builds into a cache folder, named by
# ZANDRIX_DEPS_PREFIX. ZANDRIX_ENGINE says whether the engine can be built.
add_library(zandrix_engine_libs INTERFACE)
set(ZANDRIX_ENGINE OFF)
set(ZANDRIX_DEPS_PREFIX "" CACHE PATH
    "Windows builds: the prefix scripts/build-deps.sh printed for this target")
if(NOT WIN32)
    find_package(PkgConfig REQUIRED)
    pkg_check_modules(ENGINE_LIBS REQUIRED IMPORTED_TARGET
        poppler libpng libjpeg libtiff-4 libgif freetype2 zlib)
    target_link_libraries(zandrix_engine_libs INTERFACE PkgConfig::ENGINE_LIBS)
    set(ZANDRIX_ENGINE ON)
elseif(ZANDRIX_DEPS_PREFIX)
    if(NOT EXISTS "${ZANDRIX_DEPS_PREFIX}/.complete")
        message(FATAL_ERROR "ZANDRIX_DEPS_PREFIX=${ZANDRIX_DEPS_PREFIX} is not a complete build of "
                            "scripts/build-deps.sh")
    endif()
    # Static libraries: each one before the libraries it uses.
    set(engine_lib_files)
    foreach(name poppler freetype png16 tiff jpeg openjp2 lcms2 gif z)
        set(file "${ZANDRIX_DEPS_PREFIX}/lib/lib${name}.a")
        if(NOT EXISTS "${file}")
            message(FATAL_ERROR "${file} is missing from the engine's libraries")
        endif()
        list(APPEND engine_lib_files "${file}")
    endforeach()
    # What poppler's Windows code calls: the registry, the fonts folder.
    target_link_libraries(zandrix_engine_libs INTERFACE ${engine_lib_files} advapi32 shell32 gdi32 user32)
    # The same include folders as pkg-config's poppler gives natively, so that
    # "PDFDoc.h" and "splash/SplashBitmap.h" are found alike on both.
    target_include_directories(zandrix_engine_libs SYSTEM INTERFACE
        "${ZANDRIX_DEPS_PREFIX}/include/poppler" "${ZANDRIX_DEPS_PREFIX}/include"
        "${ZANDRIX_DEPS_PREFIX}/include/freetype2")
    # The libraries are static: their headers must not declare DLL imports.
    target_compile_definitions(zandrix_engine_libs INTERFACE OPJ_STATIC)
    set(ZANDRIX_ENGINE ON)
endif()
