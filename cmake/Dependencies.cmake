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

# Delay-loaded system libraries: the import library is made from the
# toolchain's own list of the library's exports, and the first call into the
# library loads it. `kalvex_delay_imports(<name> <target> [PLAIN <fn>...])`
# makes the INTERFACE target <target> that links it that way.
# Most Windows headers declare functions dllimport, so code calls them through
# their __imp_ pointers only; ld drops the stub of an import whose plain name
# nobody references, and for a delay-loaded import that stub is what the
# pointer starts out pointing at (the call would jump to address 0). So the
# plain names are taken out of the library, and ld keeps every stub, except
# those listed after PLAIN: functions the headers declare without dllimport,
# which are called by their plain name. A plain call to any other function
# then fails to link instead of failing at run time. Without PLAIN (GDI+,
# whose flat interface is never dllimport) the library is left as made.
find_program(KALVEX_NM ${CMAKE_SYSTEM_PROCESSOR}-w64-mingw32-nm REQUIRED)
find_program(KALVEX_DLLTOOL ${CMAKE_SYSTEM_PROCESSOR}-w64-mingw32-dlltool REQUIRED)
function(kalvex_delay_imports name target)
  find_library(_imports_${name} lib${name}.a REQUIRED)
  set(_imports ${_imports_${name}})
  set(_delay ${CMAKE_BINARY_DIR}/deps-gen/lib${name}_delay.a)
  # Made again when the toolchain's library or the arguments change.
  set(_made_with ${CMAKE_BINARY_DIR}/deps-gen/${name}.args)
  set(_previous "")
  if(EXISTS ${_made_with})
    file(READ ${_made_with} _previous)
  endif()
  if(NOT EXISTS ${_delay} OR ${_imports} IS_NEWER_THAN ${_delay} OR NOT _previous STREQUAL "${ARGN}")
    file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/deps-gen)
    execute_process(COMMAND ${KALVEX_NM} ${_imports} OUTPUT_VARIABLE _nm COMMAND_ERROR_IS_FATAL ANY)
    string(REGEX MATCHALL "T _[A-Za-z0-9_]+@[0-9]+" _exports "${_nm}")
    list(REMOVE_DUPLICATES _exports)
    list(TRANSFORM _exports REPLACE "^T _" "")
    list(JOIN _exports "\n" _exports)
    file(WRITE ${CMAKE_BINARY_DIR}/deps-gen/${name}.def "LIBRARY ${name}.dll\nEXPORTS\n${_exports}\n")
    execute_process(COMMAND ${KALVEX_DLLTOOL} -d ${CMAKE_BINARY_DIR}/deps-gen/${name}.def -D ${name}.dll -k
                            -y ${_delay} COMMAND_ERROR_IS_FATAL ANY)
    cmake_parse_arguments(_opt "" "" "PLAIN" ${ARGN})
    if("PLAIN" IN_LIST ARGN)
      execute_process(COMMAND ${KALVEX_NM} ${_delay} OUTPUT_VARIABLE _nm COMMAND_ERROR_IS_FATAL ANY)
      string(REGEX MATCHALL "T _[A-Za-z0-9_]+@[0-9]+" _strip "${_nm}")
      list(TRANSFORM _strip REPLACE "^T " "")
      list(REMOVE_DUPLICATES _strip)
      foreach(_fn ${_opt_PLAIN})
        list(FILTER _strip EXCLUDE REGEX "^_${_fn}@[0-9]+$")
      endforeach()
      list(JOIN _strip "\n" _strip)
      file(WRITE ${CMAKE_BINARY_DIR}/deps-gen/${name}.strip "${_strip}\n")
      execute_process(COMMAND ${CMAKE_OBJCOPY} --strip-symbols=${CMAKE_BINARY_DIR}/deps-gen/${name}.strip ${_delay}
                      COMMAND_ERROR_IS_FATAL ANY)
    endif()
    file(WRITE ${_made_with} "${ARGN}")
  endif()
  add_library(${target} INTERFACE)
  target_link_libraries(${target} INTERFACE ${_delay} delayimp)
endfunction()

# GDI+ is not one of the libraries Windows always takes from the system folder,
# so an import of it would be resolved before start-up can restrict the search,
# from the folder the uninstaller runs in (TEMP, user-writable). It is
# delay-loaded instead: the first call loads it after the restriction.
kalvex_delay_imports(gdiplus gdiplus_delayed)

# The window's libraries are delay-loaded too, under their own names, so that
# every target naming them links them that way. A process that never shows a
# window (the first start, which only copies itself into TEMP and starts the
# copy) then never loads them: loading the common controls alone initialises
# visual styles and connects to the display, which costs as much as a small
# program's whole start; user32 loads the input method library and sets up
# the thread for windows. They load on the first call that needs them.
kalvex_delay_imports(comctl32 comctl32 PLAIN DefSubclassProc RemoveWindowSubclass SetWindowSubclass)
kalvex_delay_imports(oleacc oleacc PLAIN CreateStdAccessibleObject LresultFromObject)
kalvex_delay_imports(shell32 shell32 PLAIN SHGetKnownFolderPath)
foreach(_lib oleaut32 ole32 shlwapi user32 gdi32)
  kalvex_delay_imports(${_lib} ${_lib} PLAIN)
endforeach()

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
