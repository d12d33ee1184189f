# SPDX-License-Identifier: MIT
# Finds FLINT and the GMP under it; defines the imported target FLINT::FLINT.
find_path(FLINT_INCLUDE_DIR flint/flint.h)
find_library(FLINT_LIBRARY flint)
find_path(GMP_INCLUDE_DIR gmp.h)
find_library(GMP_LIBRARY gmp)

include(FindPackageHandleStandardArgs)
find_package_handle_standard_args(FLINT REQUIRED_VARS FLINT_LIBRARY FLINT_INCLUDE_DIR GMP_LIBRARY GMP_INCLUDE_DIR)
mark_as_advanced(FLINT_INCLUDE_DIR FLINT_LIBRARY GMP_INCLUDE_DIR GMP_LIBRARY)

if(FLINT_FOUND AND NOT TARGET FLINT::FLINT)
    add_library(FLINT::FLINT UNKNOWN IMPORTED)
    set_target_properties(FLINT::FLINT PROPERTIES
        IMPORTED_LOCATION ${FLINT_LIBRARY}
        INTERFACE_INCLUDE_DIRECTORIES "${FLINT_INCLUDE_DIR};${GMP_INCLUDE_DIR}"
        INTERFACE_LINK_LIBRARIES ${GMP_LIBRARY})
endif()
