# The program's own code builds without exceptions or run-time type
# information, on both builds, and sees the platform only through
# platform/win32.h.
function(t7105_product_library name)
  add_library(${name} STATIC ${ARGN})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_compile_options(${name} PRIVATE -fno-exceptions -fno-rtti)
  target_link_libraries(${name} PUBLIC t7105_platform)
endfunction()

# A windowless Windows executable that starts at its own entry point, without
# the C runtime's start-up files, and imports system DLLs only. It has no link
# time stamp, so the same source always gives the same bytes, and its link map
# lies beside it. It is linked by the C driver, so no C++ runtime library is
# on the link line: code that came to need one (operator new, exceptions)
# fails to link rather than grow the executable or import a DLL that Windows
# lacks. So does data imported from a DLL: the fix-ups that it needs are
# applied by the start-up code, which the executable does not have. Like the
# programs of Windows' own linker, it is marked aware of terminal servers.
# CONSOLE, before the sources, makes it a console program instead.
function(t7105_windows_executable name entry)
  cmake_parse_arguments(PARSE_ARGV 2 arg "CONSOLE" "" "")
  set(subsystem WIN32)
  if(arg_CONSOLE)
    set(subsystem "")
  endif()
  add_executable(${name} ${subsystem} ${arg_UNPARSED_ARGUMENTS})
  target_compile_options(${name} PRIVATE -fno-exceptions -fno-rtti)
  target_link_options(${name} PRIVATE
    -static -s -nostartfiles -Wl,-e,${entry} -Wl,--gc-sections -Wl,--no-insert-timestamp
    -Wl,--disable-auto-import -Wl,--tsaware -Wl,-Map=$<TARGET_FILE_DIR:${name}>/${name}.map)
  set_target_properties(${name} PROPERTIES LINKER_LANGUAGE C)
endfunction()

# CMake puts the C++ compiler's own libraries (libstdc++, libgcc_s) on a C
# driver's link line when the objects are C++. In the Windows build only the
# executables above link C++ objects, and they take none of them.
if(WIN32)
  set(CMAKE_CXX_IMPLICIT_LINK_LIBRARIES "")
endif()
