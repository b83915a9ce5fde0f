# StormLib, the MPQ archive library, as the imported target StormLib::StormLib.
# Debian's libstorm-dev ships neither a pkg-config file nor a CMake package.
find_library(StormLib_LIBRARY NAMES storm)
find_path(StormLib_INCLUDE_DIR NAMES StormLib.h)

include(FindPackageHandleStandardArgs)
find_package_handle_standard_args(StormLib REQUIRED_VARS StormLib_LIBRARY StormLib_INCLUDE_DIR)

if(StormLib_FOUND AND NOT TARGET StormLib::StormLib)
  add_library(StormLib::StormLib UNKNOWN IMPORTED)
  set_target_properties(StormLib::StormLib PROPERTIES
    IMPORTED_LOCATION "${StormLib_LIBRARY}"
    INTERFACE_INCLUDE_DIRECTORIES "${StormLib_INCLUDE_DIR}")
endif()
mark_as_advanced(StormLib_LIBRARY StormLib_INCLUDE_DIR)
