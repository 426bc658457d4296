# Runs the whole content step again into a scratch folder and checks that it packs the very
# same data.sdd as the build did: the archive must not depend on when or where it was made.
# Usage: cmake -DGENERATORS="gen_content|gen_textures|gen_music" -DSDDPACK=... -DSOURCE_DIR=...
#              -DSCRATCH=dir -DEXPECTED=data.sdd -P check_content.cmake
string(REPLACE "|" ";" GENERATORS "${GENERATORS}")
file(REMOVE_RECURSE ${SCRATCH})
set(content ${SCRATCH}/content)
foreach(generator IN LISTS GENERATORS)
  get_filename_component(name ${generator} NAME_WE)
  if(name STREQUAL "gen_music")
    execute_process(COMMAND ${generator} ${content}/music.ogg RESULT_VARIABLE failed OUTPUT_QUIET)
  else()
    execute_process(COMMAND ${generator} ${content} RESULT_VARIABLE failed OUTPUT_QUIET)
  endif()
  if(failed)
    message(FATAL_ERROR "${generator} failed: ${failed}")
  endif()
endforeach()
execute_process(COMMAND ${CMAKE_COMMAND} -DCONTENT_DIR=${content} -DMANIFEST=${SCRATCH}/manifest
                        -P ${SOURCE_DIR}/cmake/write_manifest.cmake OUTPUT_QUIET)
execute_process(COMMAND ${SDDPACK} -o ${SCRATCH}/data.sdd ${SCRATCH}/manifest RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "sddpack failed: ${failed}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${SCRATCH}/data.sdd ${EXPECTED}
                RESULT_VARIABLE different)
if(different)
  message(FATAL_ERROR "a second run packs a different archive than ${EXPECTED}")
endif()
file(REMOVE_RECURSE ${SCRATCH})
message(STATUS "the same archive, byte for byte")
