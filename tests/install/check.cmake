# Installs the build into a scratch prefix, then builds a consumer through
# find_package and, separately, through pkg-config, and runs them as a user
# would, without LD_LIBRARY_PATH: the programs find the libraries through
# their run paths, and the libraries each other through theirs ($ORIGIN).
file(REMOVE_RECURSE ${WORK_DIR})
set(PREFIX ${WORK_DIR}/prefix)
unset(ENV{LD_LIBRARY_PATH})
function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "failed: ${ARGN}\n${out}")
  endif()
endfunction()
run(${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX})
run(${CMAKE_COMMAND} -S ${SOURCE_DIR} -B ${WORK_DIR}/consumer -DCMAKE_PREFIX_PATH=${PREFIX})
run(${CMAKE_COMMAND} --build ${WORK_DIR}/consumer)
run(${WORK_DIR}/consumer/consumer)
run(${WORK_DIR}/consumer/calckit_only)

find_program(PKG_CONFIG pkg-config)
if(PKG_CONFIG)
  file(GLOB pcdirs ${PREFIX}/lib*/pkgconfig ${PREFIX}/lib/*/pkgconfig)
  string(REPLACE ";" ":" pcpath "${pcdirs}")
  set(ENV{PKG_CONFIG_PATH} ${pcpath})
  execute_process(COMMAND ${PKG_CONFIG} --cflags --libs orvcalckit OUTPUT_VARIABLE flags
                  OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE rc)
  execute_process(COMMAND ${PKG_CONFIG} --variable=libdir orvcalckit OUTPUT_VARIABLE libdir
                  OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE rc2)
  if(NOT rc EQUAL 0 OR NOT rc2 EQUAL 0)
    message(FATAL_ERROR "pkg-config does not know orvcalckit")
  endif()
  separate_arguments(flags UNIX_COMMAND "${flags}")
  # The README's command.
  run(c++ -std=c++20 ${SOURCE_DIR}/consumer.cpp ${flags} -Wl,-rpath,${libdir} -o ${WORK_DIR}/consumer_pc)
  run(${WORK_DIR}/consumer_pc)
  run(c++ -std=c++20 ${SOURCE_DIR}/calckit_only.cpp -Wl,--as-needed ${flags} -Wl,-rpath,${libdir}
      -o ${WORK_DIR}/calckit_only_pc)
  run(${WORK_DIR}/calckit_only_pc)
endif()
