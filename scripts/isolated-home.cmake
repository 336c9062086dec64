# Makes ROOT a fresh, empty home for test and benchmark runs: home, config, cache, data and runtime
# folders, the runtime one private as the XDG rules want it. Whatever an earlier run left there is gone.
#   cmake -DROOT=<folder> -P isolated-home.cmake
cmake_minimum_required(VERSION 3.22)
if(NOT ROOT)
    message(FATAL_ERROR "usage: cmake -DROOT=<folder> -P isolated-home.cmake")
endif()
file(REMOVE_RECURSE ${ROOT})
foreach(folder home config cache data runtime)
    file(MAKE_DIRECTORY ${ROOT}/${folder})
endforeach()
file(CHMOD ${ROOT}/runtime DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)
