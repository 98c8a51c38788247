# vversion: the generated header "vwrd_version.h" that gives every program PROJECT_VERSION.
configure_file(${CMAKE_CURRENT_LIST_DIR}/version.h.in ${PROJECT_BINARY_DIR}/generated/vwrd_version.h
  @ONLY)
add_library(vversion INTERFACE)
target_include_directories(vversion INTERFACE ${PROJECT_BINARY_DIR}/generated)
