# A step of the walk runs through the model's files and the portable math
# library: link-time optimisation inlines it into one loop, about an eighth
# of a long walk's time. The programs (and the walk benchmarks) are linked so;
# the core's objects are fat, so that the test programs link their plain code
# as quickly as before. GCC only, and not for the sanitizer and fuzz builds.
include_guard(GLOBAL)

function(wandrix_link_time_optimization)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "GNU" OR WANDRIX_SANITIZE OR WANDRIX_FUZZ)
    return()
  endif()
  include(CheckIPOSupported)
  check_ipo_supported(RESULT supported LANGUAGES C CXX)
  if(NOT supported)
    return()
  endif()
  # The math library and the five core libraries.
  foreach(library IN ITEMS wandrix_math wandrix_model wandrix_files wandrix_view wandrix_dialogs
                           wandrix_app)
    if(TARGET ${library})
      target_compile_options(${library} PRIVATE -flto=auto -ffat-lto-objects)
      # GCC's linker plugin would optimise every link that meets the
      # objects' intermediate code; the programs not listed link the plain
      # code instead.
      target_link_options(
        ${library} INTERFACE
        "$<$<NOT:$<BOOL:$<TARGET_PROPERTY:INTERPROCEDURAL_OPTIMIZATION>>>:-fno-lto>")
    endif()
  endforeach()
  foreach(program IN LISTS ARGN)
    if(TARGET ${program})
      set_property(TARGET ${program} PROPERTY INTERPROCEDURAL_OPTIMIZATION ON)
      # GCC 12 sees std::string's short-string copies across the whole
      # program and warns falsely that they read past their buffer.
      target_link_options(${program} PRIVATE -Wno-stringop-overread)
    endif()
  endforeach()
endfunction()
