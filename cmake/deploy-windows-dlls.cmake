# Install-time part of the Windows application folder: copies beside the
# programs every DLL that they import, directly or through another DLL, from
# the folders in BRENVOTH_DLL_DIRS. DLLs found in none of them (Windows' own)
# are left out.
#
# In: BRENVOTH_OBJDUMP, BRENVOTH_DLL_DIRS, BRENVOTH_DEPLOY_ROOTS (installed
# executables and plugins to start from).
cmake_policy(VERSION 3.16)

list(GET BRENVOTH_DEPLOY_ROOTS 0 first)
get_filename_component(app_dir "${first}" DIRECTORY)
set(pending ${BRENVOTH_DEPLOY_ROOTS})
set(seen)
while(pending)
    list(POP_FRONT pending binary)
    execute_process(COMMAND "${BRENVOTH_OBJDUMP}" -p "${binary}"
                    OUTPUT_VARIABLE dump RESULT_VARIABLE failed)
    if(failed)
        message(FATAL_ERROR "cannot read the imports of ${binary}")
    endif()
    string(REGEX MATCHALL "DLL Name: [^\n]+" imports "${dump}")
    foreach(import IN LISTS imports)
        string(REPLACE "DLL Name: " "" dll "${import}")
        if(dll IN_LIST seen)
            continue()
        endif()
        list(APPEND seen "${dll}")
        foreach(dir IN LISTS BRENVOTH_DLL_DIRS)
            if(EXISTS "${dir}/${dll}")
                file(INSTALL "${dir}/${dll}" DESTINATION "${app_dir}")
                list(APPEND pending "${app_dir}/${dll}")
                break()
            endif()
        endforeach()
    endforeach()
endwhile()
