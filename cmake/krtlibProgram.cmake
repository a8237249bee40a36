# krt_add_program(NAME SOURCES...): a user program of the library, that is, sources that define
# UserProgramInit and UserProgramMain, built as a Windows program linked with krtlib (whose
# archive holds the process entry).  Extra compile options for every such program may be set
# in KRT_PROGRAM_COMPILE_OPTIONS.
function(krt_add_program NAME)
  add_executable(${NAME} WIN32 ${ARGN})
  set_target_properties(${NAME} PROPERTIES SUFFIX ".exe")
  target_link_libraries(${NAME} PRIVATE krtlib::krtlib)
  if(KRT_PROGRAM_COMPILE_OPTIONS)
    target_compile_options(${NAME} PRIVATE ${KRT_PROGRAM_COMPILE_OPTIONS})
  endif()
endfunction()
