# Restores Microsoft's WebView2 SDK from NuGet into the build tree with the
# dotnet CLI and exposes its native headers and the x64 loader.
set(VELMORA_WEBVIEW2_VERSION "1.0.3719.77")
set(sdk_packages "${CMAKE_BINARY_DIR}/nuget")
set(sdk_root "${sdk_packages}/microsoft.web.webview2/${VELMORA_WEBVIEW2_VERSION}")

if(NOT EXISTS "${sdk_root}/build/native/include/WebView2.h")
  find_program(DOTNET dotnet REQUIRED)
  set(restore_dir "${CMAKE_BINARY_DIR}/webview2-restore")
  configure_file("${CMAKE_SOURCE_DIR}/cmake/webview2-restore.csproj.in" "${restore_dir}/webview2-restore.csproj" @ONLY)
  message(STATUS "Restoring Microsoft.Web.WebView2 ${VELMORA_WEBVIEW2_VERSION}")
  execute_process(
    COMMAND "${DOTNET}" restore "${restore_dir}/webview2-restore.csproj" --packages "${sdk_packages}"
    RESULT_VARIABLE restore_result OUTPUT_VARIABLE restore_output ERROR_VARIABLE restore_output)
  if(NOT restore_result EQUAL 0 OR NOT EXISTS "${sdk_root}/build/native/include/WebView2.h")
    message(FATAL_ERROR "could not restore the WebView2 SDK:\n${restore_output}")
  endif()
endif()

set(VELMORA_WEBVIEW2_INCLUDE "${sdk_root}/build/native/include")
set(VELMORA_WEBVIEW2_LOADER "${sdk_root}/build/native/x64/WebView2Loader.dll")
# The SDK header names "EventToken.h"; mingw-w64 ships it in lower case.
set(sdk_shim "${CMAKE_BINARY_DIR}/webview2-shim")
file(WRITE "${sdk_shim}/EventToken.h" "#include <eventtoken.h>\n")
add_library(velmora_webview2_sdk INTERFACE)
target_include_directories(velmora_webview2_sdk SYSTEM INTERFACE "${VELMORA_WEBVIEW2_INCLUDE}" "${sdk_shim}")
file(COPY "${VELMORA_WEBVIEW2_LOADER}" DESTINATION "${VELMORA_DIST_DIR}")
