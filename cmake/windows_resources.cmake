# The resources every Windows program of the tree carries: the manifest (administrator rights, Vista and 7,
# system DPI aware) and the version resource, filled in for one executable target.
# enable_language works only in file scope, so in the folder that includes this file.
enable_language(RC)

function(quillfex_windows_resources target description)
  # "1.03": the minor part as a number, for the resources' four-part versions.
  math(EXPR QUILLFEX_VERSION_MINOR "${PROJECT_VERSION_MINOR}")
  if(CMAKE_SYSTEM_PROCESSOR MATCHES "^(x86_64|AMD64)$")
    set(QUILLFEX_MANIFEST_ARCHITECTURE amd64)
  else()
    set(QUILLFEX_MANIFEST_ARCHITECTURE x86)
  endif()
  set(QUILLFEX_RESOURCE_NAME ${target})
  set(QUILLFEX_RESOURCE_DESCRIPTION ${description})
  set(QUILLFEX_RESOURCE_MANIFEST ${CMAKE_CURRENT_BINARY_DIR}/${target}.manifest)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/program.manifest.in ${QUILLFEX_RESOURCE_MANIFEST} @ONLY)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/program.rc.in ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc @ONLY)
  target_sources(${target} PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc)
endfunction()
