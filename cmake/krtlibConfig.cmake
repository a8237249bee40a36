# The package of an installed KRTLIB: find_package(krtlib) gives the target krtlib::krtlib
# (the archive, krtlib.h and the system libraries it needs) and krt_add_program(NAME [UTF8]
# SOURCES...).
include(${CMAKE_CURRENT_LIST_DIR}/krtlibTargets.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/krtlibProgram.cmake)
