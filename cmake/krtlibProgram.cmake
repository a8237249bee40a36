# krt_add_program(NAME [UTF8] SOURCES...): a user program of the library, that is, sources that
# define UserProgramInit and UserProgramMain, built as a Windows program linked with krtlib
# (whose archive holds the process entry).  Extra compile options for every such program may
# be set in KRT_PROGRAM_COMPILE_OPTIONS.
#
# UTF8 links a manifest that makes UTF-8 the program's code page (activeCodePage; Windows 10
# version 1903 and later, and Wine 8, honour it): every narrow text the program gives or takes,
# file names included, is then UTF-8.  Without it the program keeps the system's code page.
function(krt_add_program NAME)
  cmake_parse_arguments(KRT "UTF8" "" "" ${ARGN})
  add_executable(${NAME} WIN32 ${KRT_UNPARSED_ARGUMENTS})
  set_target_properties(${NAME} PROPERTIES SUFFIX ".exe")
  target_link_libraries(${NAME} PRIVATE krtlib::krtlib)
  if(KRT_PROGRAM_COMPILE_OPTIONS)
    target_compile_options(${NAME} PRIVATE ${KRT_PROGRAM_COMPILE_OPTIONS})
  endif()
  if(KRT_UTF8)
    krt_link_utf8_manifest(${NAME})
  endif()
endfunction()

# Links the UTF-8 manifest into an executable target.  MSVC takes the manifest as a source; with
# mingw-w64 it becomes a resource object made by windres, so that the project need not enable
# the RC language.
function(krt_link_utf8_manifest TARGET)
  set(manifest ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/krtlib_utf8.manifest)
  if(MSVC)
    target_sources(${TARGET} PRIVATE ${manifest})
    return()
  endif()
  set(windres ${CMAKE_RC_COMPILER})
  if(NOT windres)
    find_program(KRT_WINDRES NAMES x86_64-w64-mingw32-windres windres REQUIRED)
    set(windres ${KRT_WINDRES})
  endif()
  set(rc ${CMAKE_CURRENT_BINARY_DIR}/${TARGET}_utf8.rc)
  set(object ${CMAKE_CURRENT_BINARY_DIR}/${TARGET}_utf8.res.obj)
  # Resource 1 of type 24: the process's manifest (CREATEPROCESS_MANIFEST_RESOURCE_ID, RT_MANIFEST).
  file(WRITE ${rc} "1 24 \"${manifest}\"\n")
  add_custom_command(OUTPUT ${object}
                     COMMAND ${windres} -O coff -i ${rc} -o ${object}
                     DEPENDS ${rc} ${manifest}
                     COMMENT "UTF-8 manifest of ${TARGET}")
  set_source_files_properties(${object} PROPERTIES EXTERNAL_OBJECT TRUE GENERATED TRUE)
  target_sources(${TARGET} PRIVATE ${object})
endfunction()
