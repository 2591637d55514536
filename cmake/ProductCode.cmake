# Product code builds without exceptions or run-time type information, on
# both builds, and sees the platform only through platform/win32.h.
function(t7105_product_library name)
  add_library(${name} STATIC ${ARGN})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_compile_options(${name} PRIVATE -fno-exceptions -fno-rtti)
  target_link_libraries(${name} PUBLIC t7105_platform)
endfunction()
