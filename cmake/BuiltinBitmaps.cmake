# korvane_builtin_bitmaps(target id=path ...) gives a program its built-in bitmaps: RT_BITMAP
# resources in the Windows build, generated arrays elsewhere. Both come from the same files.
function(korvane_builtin_bitmaps target)
    set(files "")
    foreach(pair IN LISTS ARGN)
        string(REGEX REPLACE "^[0-9]+=" "" path "${pair}")
        list(APPEND files "${path}")
    endforeach()
    if(TARGET korvane_art)
        add_dependencies(${target} korvane_art)
    endif()
    if(WIN32)
        set(rc "${CMAKE_CURRENT_BINARY_DIR}/${target}_bitmaps.rc")
        set(content "")
        foreach(pair IN LISTS ARGN)
            string(REGEX MATCH "^[0-9]+" id "${pair}")
            string(REGEX REPLACE "^[0-9]+=" "" path "${pair}")
            string(APPEND content "${id} BITMAP \"${path}\"\n")
        endforeach()
        file(GENERATE OUTPUT "${rc}" CONTENT "${content}")
        set_source_files_properties("${rc}" PROPERTIES OBJECT_DEPENDS "${files}")
        target_sources(${target} PRIVATE "${rc}"
                       "${PROJECT_SOURCE_DIR}/image/builtin_bitmaps_win.cpp")
    else()
        set(out "${CMAKE_CURRENT_BINARY_DIR}/${target}_bitmaps.cpp")
        string(REPLACE ";" "|" joined "${ARGN}")
        add_custom_command(
            OUTPUT "${out}"
            COMMAND "${CMAKE_COMMAND}" "-DOUTPUT=${out}" "-DBITMAPS=${joined}"
                    -P "${PROJECT_SOURCE_DIR}/cmake/EmbedBitmaps.cmake"
            DEPENDS ${files} "${PROJECT_SOURCE_DIR}/cmake/EmbedBitmaps.cmake"
            COMMENT "Embedding built-in bitmaps of ${target}"
            VERBATIM)
        target_sources(${target} PRIVATE "${out}")
    endif()
endfunction()
