# Third-party code, built from the sources that scripts/setup.sh fetched into
# the build tree, with the same toolchain as our own code. Our warning flags
# do not apply here.
set(KALVEX_DEPS_DIR ${CMAKE_BINARY_DIR}/deps CACHE PATH "Fetched dependency sources")

file(GLOB _zlib_src LIST_DIRECTORIES true ${KALVEX_DEPS_DIR}/zlib-*)
file(GLOB _json_src LIST_DIRECTORIES true ${KALVEX_DEPS_DIR}/libjsoncpp-*)
if(NOT _zlib_src OR NOT _json_src)
  message(FATAL_ERROR "Dependency sources missing in ${KALVEX_DEPS_DIR}: run scripts/setup.sh")
endif()
list(GET _zlib_src 0 _zlib_src)
list(GET _json_src 0 _json_src)

find_library(KALVEX_ZLIB NAMES libz.a REQUIRED)
find_path(KALVEX_ZLIB_INCLUDE zlib.h REQUIRED)

set(_minizip ${_zlib_src}/contrib/minizip)
# Upstream's unzip.c compiles its ZipCrypto decryption out by defining
# NOUNCRYPT itself. The skin archive is enciphered, so we compile a copy of
# unzip.c with only that forced define removed.
file(READ ${_minizip}/unzip.c _unzip)
string(REPLACE "#ifndef NOUNCRYPT\n        #define NOUNCRYPT\n#endif" "" _unzip_crypt "${_unzip}")
if(_unzip_crypt STREQUAL _unzip)
  message(FATAL_ERROR "unzip.c no longer forces NOUNCRYPT as expected; check the minizip sources")
endif()
file(WRITE ${CMAKE_BINARY_DIR}/minizip/unzip.c.new "${_unzip_crypt}")
configure_file(${CMAKE_BINARY_DIR}/minizip/unzip.c.new ${CMAKE_BINARY_DIR}/minizip/unzip.c COPYONLY)
add_library(minizip STATIC ${CMAKE_BINARY_DIR}/minizip/unzip.c ${_minizip}/ioapi.c)
target_include_directories(minizip SYSTEM PUBLIC ${_minizip} ${KALVEX_ZLIB_INCLUDE})
target_compile_options(minizip PRIVATE -w ${KALVEX_SECTION_FLAGS})
target_link_libraries(minizip PUBLIC ${KALVEX_ZLIB})

add_library(jsoncpp STATIC
  ${_json_src}/src/lib_json/json_reader.cpp
  ${_json_src}/src/lib_json/json_value.cpp
  ${_json_src}/src/lib_json/json_writer.cpp)
target_include_directories(jsoncpp SYSTEM PUBLIC ${_json_src}/include)
target_compile_options(jsoncpp PRIVATE -w ${KALVEX_SECTION_FLAGS})

# pugixml: the XML parse the skin benchmark measures CXmlDocument against;
# nothing else links it. A build tree made before setup.sh fetched it builds
# everything but that benchmark.
file(GLOB _pugixml_src LIST_DIRECTORIES true ${KALVEX_DEPS_DIR}/pugixml-*/src)
if(_pugixml_src)
  list(GET _pugixml_src 0 _pugixml_src)
  add_library(pugixml STATIC ${_pugixml_src}/pugixml.cpp)
  target_include_directories(pugixml SYSTEM PUBLIC ${_pugixml_src})
  target_compile_options(pugixml PRIVATE -w)
else()
  message(WARNING "pugixml sources missing in ${KALVEX_DEPS_DIR}: run scripts/setup.sh to build skin_bench")
endif()

# GDI+ is not one of the libraries Windows always takes from the system folder,
# so an import of it would be resolved before start-up can restrict the search,
# from the folder the uninstaller runs in (TEMP, user-writable). It is
# delay-loaded instead: the first call loads it after the restriction. The
# import library is made from the toolchain's own list of GDI+ exports.
find_program(KALVEX_NM ${CMAKE_SYSTEM_PROCESSOR}-w64-mingw32-nm REQUIRED)
find_program(KALVEX_DLLTOOL ${CMAKE_SYSTEM_PROCESSOR}-w64-mingw32-dlltool REQUIRED)
find_library(KALVEX_GDIPLUS_IMPORTS libgdiplus.a REQUIRED)
set(_gdiplus_delay ${CMAKE_BINARY_DIR}/deps-gen/libgdiplus_delay.a)
if(NOT EXISTS ${_gdiplus_delay} OR ${KALVEX_GDIPLUS_IMPORTS} IS_NEWER_THAN ${_gdiplus_delay})
  file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/deps-gen)
  execute_process(COMMAND ${KALVEX_NM} ${KALVEX_GDIPLUS_IMPORTS} OUTPUT_VARIABLE _nm COMMAND_ERROR_IS_FATAL ANY)
  string(REGEX MATCHALL "T _[A-Za-z0-9_]+@[0-9]+" _exports "${_nm}")
  list(REMOVE_DUPLICATES _exports)
  list(TRANSFORM _exports REPLACE "^T _" "")
  list(JOIN _exports "\n" _exports)
  file(WRITE ${CMAKE_BINARY_DIR}/deps-gen/gdiplus.def "LIBRARY gdiplus.dll\nEXPORTS\n${_exports}\n")
  execute_process(COMMAND ${KALVEX_DLLTOOL} -d ${CMAKE_BINARY_DIR}/deps-gen/gdiplus.def -D gdiplus.dll -k
                          -y ${_gdiplus_delay} COMMAND_ERROR_IS_FATAL ANY)
endif()
add_library(gdiplus_delayed INTERFACE)
target_link_libraries(gdiplus_delayed INTERFACE ${_gdiplus_delay} delayimp)

# stb_image is a single header; ui/render defines its implementation once.
add_library(stb_image INTERFACE)
target_include_directories(stb_image SYSTEM INTERFACE /usr/include/stb)

if(KALVEX_BUILD_TESTS)
  set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  foreach(t gtest gtest_main)
    target_compile_options(${t} PRIVATE -w)
  endforeach()
endif()
