# nlohmann JSON and GoogleTest for every build. The cross builds must not see
# the host's /usr/include, so they reach the header-only JSON library through
# a folder of their own that links to it, and build GoogleTest from source.
find_path(VELMORA_NLOHMANN_DIR nlohmann/json.hpp PATHS /usr/include NO_CMAKE_FIND_ROOT_PATH REQUIRED)
add_library(velmora_json INTERFACE)
if(CMAKE_CROSSCOMPILING)
  set(json_root "${CMAKE_BINARY_DIR}/json-include")
  file(MAKE_DIRECTORY "${json_root}")
  file(CREATE_LINK "${VELMORA_NLOHMANN_DIR}/nlohmann" "${json_root}/nlohmann" SYMBOLIC)
  target_include_directories(velmora_json SYSTEM INTERFACE "${json_root}")
  # The cross compilers use Win32 threads, not winpthreads; GoogleTest gets
  # the one piece of its thread support that needs std::mutex from us.
  set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest "${CMAKE_BINARY_DIR}/googletest" EXCLUDE_FROM_ALL SYSTEM)
  target_compile_options(gtest PUBLIC "SHELL:-include ${CMAKE_SOURCE_DIR}/tests/windows/gtest_notification_win32.h")
else()
  find_package(nlohmann_json 3.11 REQUIRED)
  target_link_libraries(velmora_json INTERFACE nlohmann_json::nlohmann_json)
  find_package(GTest REQUIRED)
  # Brotli decodes Unity's compressed build files in the export; its encoder
  # makes them in the tests.
  find_package(PkgConfig REQUIRED)
  pkg_check_modules(BROTLI REQUIRED IMPORTED_TARGET libbrotlidec libbrotlienc)
endif()

if(VELMORA_BUILD STREQUAL "win64")
  include(cmake/WebView2Sdk.cmake)
endif()

# The Windows programs carry the C and C++ runtimes inside them. They are
# stripped: a symbol table after the last section would count as an overlay,
# which the icon updater refuses to rewrite.
# Unused functions and data are dropped at link time, and the terminate
# handler without the demangler is linked in (common/terminate_handler_win32.cpp).
function(velmora_windows_program target)
  target_sources(${target} PRIVATE ${CMAKE_SOURCE_DIR}/common/terminate_handler_win32.cpp)
  target_link_options(${target} PRIVATE -s -static -static-libgcc -static-libstdc++ -municode -mwindows
    -Wl,--gc-sections)
  target_compile_definitions(${target} PRIVATE UNICODE _UNICODE NOMINMAX)
endfunction()

function(velmora_windows_test target)
  target_link_options(${target} PRIVATE -static -static-libgcc -static-libstdc++)
  target_compile_definitions(${target} PRIVATE UNICODE _UNICODE NOMINMAX)
endfunction()
