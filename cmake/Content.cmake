# Builds the show's content and packs data.sdd into PLASMORA_DATA_DIR. Runs once every target is
# known, since the generators and the packer come from several folders.
function(plasmora_content_step)
  if(NOT TARGET gen_content)
    return()
  endif()
  set(content_dir ${CMAKE_BINARY_DIR}/content)
  set(manifest ${CMAKE_BINARY_DIR}/content.manifest)
  set(commands
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${content_dir}
    COMMAND gen_content ${content_dir})
  set(depends gen_content ${CMAKE_SOURCE_DIR}/cmake/write_manifest.cmake)
  # Pictures and music come from their own generators when the tree has them.
  if(TARGET gen_textures)
    list(APPEND commands COMMAND gen_textures ${content_dir})
    list(APPEND depends gen_textures)
  endif()
  if(TARGET gen_music)
    list(APPEND commands COMMAND gen_music ${content_dir}/music.ogg)
    list(APPEND depends gen_music)
  endif()
  list(APPEND commands
    COMMAND ${CMAKE_COMMAND} -DCONTENT_DIR=${content_dir} -DMANIFEST=${manifest}
            -P ${CMAKE_SOURCE_DIR}/cmake/write_manifest.cmake)
  if(TARGET sddpack)
    set(output ${PLASMORA_DATA_DIR}/data.sdd)
    list(APPEND commands COMMAND sddpack -o ${output} ${manifest})
    list(APPEND depends sddpack)
  else()
    set(output)
  endif()
  add_custom_command(OUTPUT ${output} ${manifest}
    ${commands}
    DEPENDS ${depends}
    COMMENT "Generating the show's content and packing it"
    VERBATIM)
  add_custom_target(content ALL DEPENDS ${output} ${manifest})

  if(PLASMORA_TESTS AND TARGET sddpack)
    # The archive passes the saver's own reader, and packs the same bytes when made again.
    add_test(NAME data_sdd_test COMMAND sddtool test ${output})
    # "|" between the programs: a list separator would split the argument.
    set(generators $<TARGET_FILE:gen_content>)
    foreach(generator gen_textures gen_music)
      if(TARGET ${generator})
        string(APPEND generators "|$<TARGET_FILE:${generator}>")
      endif()
    endforeach()
    add_test(NAME data_sdd_reproducible_test
             COMMAND ${CMAKE_COMMAND} "-DGENERATORS=${generators}" -DSDDPACK=$<TARGET_FILE:sddpack>
                     -DSOURCE_DIR=${CMAKE_SOURCE_DIR} -DSCRATCH=${CMAKE_BINARY_DIR}/content-again
                     -DEXPECTED=${output} -P ${CMAKE_SOURCE_DIR}/cmake/check_content.cmake)
    set_tests_properties(data_sdd_reproducible_test PROPERTIES RUN_SERIAL TRUE)
  endif()
endfunction()

cmake_language(DEFER DIRECTORY ${CMAKE_SOURCE_DIR} CALL plasmora_content_step)
