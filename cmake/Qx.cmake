# Common settings of the builds: "native" (host compiler, portable modules
# and their tests), "win32" (i686 mingw-w64, the shipped deliverables, tests
# run under 32-bit Wine) and "win64" (the same sources for x86_64, whose
# tests run under 64-bit Wine where no 32-bit code can run).
include_guard(GLOBAL)

set(CMAKE_CXX_STANDARD 17)
set(CMAKE_CXX_STANDARD_REQUIRED ON)
set(CMAKE_CXX_EXTENSIONS OFF)
set(CMAKE_C_STANDARD 11)
if(NOT CMAKE_BUILD_TYPE)
  set(CMAKE_BUILD_TYPE RelWithDebInfo CACHE STRING "" FORCE)
endif()

set(QX_ROOT ${CMAKE_CURRENT_LIST_DIR}/..)
get_filename_component(QX_ROOT ${QX_ROOT} ABSOLUTE)
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
set(CMAKE_LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)

enable_testing()

if(WIN32)
  # Any Windows side; QX_SHIPPED_SIDE only on the 32-bit one that ships.
  set(QX_WIN32 ON)
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(QX_SHIPPED_SIDE ON)
    set(qx_arch i686)
    set(qx_side win32)
    set(QX_MANIFEST_ARCH x86)
  else()
    set(QX_SHIPPED_SIDE OFF)
    set(qx_arch x86_64)
    set(qx_side win64)
    set(QX_MANIFEST_ARCH amd64)
  endif()
  enable_language(RC)
  # Doubles stay on SSE; long double remains the x87 80-bit type.
  add_compile_options(-msse2 -mfpmath=sse)
  add_compile_definitions(_WIN32_WINNT=0x0601 WINVER=0x0601 _WIN32_IE=0x0800 NOMINMAX)
  # No mingw runtime DLLs next to the deliverables.
  add_link_options(-static -static-libgcc -static-libstdc++)
  # Tests run on this side's Wine whoever starts ctest.
  set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run)
  file(WRITE ${CMAKE_BINARY_DIR}/wine-run
    "#!/bin/sh\nQX_SIDE=${qx_side} exec '${QX_ROOT}/scripts/wine-run.sh' \"$@\"\n")
  file(CHMOD ${CMAKE_BINARY_DIR}/wine-run PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE
    GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
  set(QX_THIRDPARTY $ENV{QX_CACHE})
  if(NOT QX_THIRDPARTY)
    set(QX_THIRDPARTY /var/cache/qxbuild)
  endif()
  set(QX_THIRDPARTY ${QX_THIRDPARTY}/thirdparty-${qx_arch})
else()
  set(QX_WIN32 OFF)
  set(QX_SHIPPED_SIDE OFF)
  option(QX_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
  if(QX_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
  endif()
endif()
add_compile_options(-Wall -Wextra $<$<COMPILE_LANGUAGE:CXX>:-Wno-missing-field-initializers>)

# GoogleTest from Debian's source package, built by each side itself.
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)

# Picture libraries as qx::jpeg, qx::gif, qx::png for both sides.
if(QX_WIN32)
  foreach(lib jpeg gif z)
    add_library(qx_tp_${lib} STATIC IMPORTED GLOBAL)
    set_target_properties(qx_tp_${lib} PROPERTIES
      IMPORTED_LOCATION ${QX_THIRDPARTY}/lib/lib${lib}.a
      INTERFACE_INCLUDE_DIRECTORIES ${QX_THIRDPARTY}/include)
  endforeach()
  add_library(qx_tp_png STATIC IMPORTED GLOBAL)
  set_target_properties(qx_tp_png PROPERTIES
    IMPORTED_LOCATION ${QX_THIRDPARTY}/lib/libpng.a
    INTERFACE_INCLUDE_DIRECTORIES ${QX_THIRDPARTY}/include
    INTERFACE_LINK_LIBRARIES qx_tp_z)
  add_library(qx::jpeg ALIAS qx_tp_jpeg)
  add_library(qx::gif ALIAS qx_tp_gif)
  add_library(qx::png ALIAS qx_tp_png)
else()
  find_package(JPEG REQUIRED)
  find_package(GIF REQUIRED)
  find_package(PNG REQUIRED)
  add_library(qx::jpeg ALIAS JPEG::JPEG)
  add_library(qx_tp_gif INTERFACE)
  target_include_directories(qx_tp_gif INTERFACE ${GIF_INCLUDE_DIRS})
  target_link_libraries(qx_tp_gif INTERFACE ${GIF_LIBRARIES})
  add_library(qx::gif ALIAS qx_tp_gif)
  add_library(qx::png ALIAS PNG::PNG)
endif()

# qx_add_test(name SOURCES ... [LIBS ...] [ARGS ...])
# A GoogleTest program; in the win32 build CTest runs it under Wine.
function(qx_add_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS;ARGS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
  add_test(NAME ${name} COMMAND ${name} ${T_ARGS})
  if(QX_WIN32)
    set_tests_properties(${name} PROPERTIES LABELS wine TIMEOUT 600)
  else()
    set_tests_properties(${name} PROPERTIES LABELS native TIMEOUT 600)
  endif()
endfunction()

# qx_add_subdirectories(dir): adds dir itself when it has a CMakeLists.txt,
# otherwise each of its immediate subfolders that has one, in name order.
# Modules of a subsystem thereby live side by side without a shared list.
function(qx_add_subdirectories dir)
  set(abs ${CMAKE_CURRENT_SOURCE_DIR}/${dir})
  if(EXISTS ${abs}/CMakeLists.txt)
    add_subdirectory(${dir})
    return()
  endif()
  file(GLOB children LIST_DIRECTORIES true CONFIGURE_DEPENDS ${abs}/*)
  list(SORT children)
  foreach(child ${children})
    if(IS_DIRECTORY ${child} AND EXISTS ${child}/CMakeLists.txt)
      file(RELATIVE_PATH rel ${CMAKE_CURRENT_SOURCE_DIR} ${child})
      add_subdirectory(${rel})
    endif()
  endforeach()
endfunction()

# qx_check_shipped(target [options of pe_check.py...]): a test that reads the
# built file as it ships (machine, imports, exports, resources) without
# running it. Only the shipped 32-bit side registers these checks, and they
# need no Wine, so they run on every machine.
function(qx_check_shipped target)
  if(NOT QX_SHIPPED_SIDE)
    return()
  endif()
  add_test(NAME ${target}_shipped
    COMMAND python3 ${QX_ROOT}/cmake/pe_check.py $<TARGET_FILE:${target}> --machine i386 ${ARGN})
  set_tests_properties(${target}_shipped PROPERTIES LABELS shipped)
endfunction()
