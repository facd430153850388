# cmake -DBUILD_DIR=... -DWORK_DIR=... -DPROGRAM_DIR=... -DGENERATOR=...
#       -DCXX=... [-DFLAGS=...] -P InstallAndRun.cmake
# Installs the built tree into WORK_DIR/prefix, then configures, builds and
# runs the program in PROGRAM_DIR against that prefix only.
file(REMOVE_RECURSE ${WORK_DIR})
set(prefix ${WORK_DIR}/prefix)
set(build ${WORK_DIR}/build)

execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix}
                OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND ${CMAKE_COMMAND} -S ${PROGRAM_DIR} -B ${build} -G ${GENERATOR}
                        -DCMAKE_PREFIX_PATH=${prefix} -DCMAKE_CXX_COMPILER=${CXX}
                        "-DCMAKE_CXX_FLAGS=${FLAGS}" "-DCMAKE_EXE_LINKER_FLAGS=${FLAGS}"
                COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND ${CMAKE_COMMAND} --build ${build} COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND ${build}/zxhello COMMAND_ERROR_IS_FATAL ANY)
