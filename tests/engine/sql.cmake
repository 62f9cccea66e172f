# Tests of the local SQL dialect and the query object.
tarvo_add_test(tst_sqldialect SOURCES tst_sqldialect.cpp sqlfixture.h sqlsample.h LIBS tarvo_engine)
tarvo_add_test(tst_sqlcorpus SOURCES tst_sqlcorpus.cpp sqlsample.h LIBS tarvo_engine)
tarvo_add_test(tst_query SOURCES tst_query.cpp LIBS tarvo_engine)

# The translator's fuzz target (clang only):
#   cmake -B build-fuzz -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang -DTARVO_BUILD_FUZZ=ON
#   build-fuzz/tests/fuzz_sqldialect tests/engine/corpus/sqldialect
if(TARVO_BUILD_FUZZ)
  add_executable(fuzz_sqldialect fuzz_sqldialect.cpp
                 ${PROJECT_SOURCE_DIR}/src/engine/sqldialect.cpp
                 ${PROJECT_SOURCE_DIR}/src/engine/sqllexer.cpp
                 ${PROJECT_SOURCE_DIR}/src/engine/sqlparser.cpp
                 ${PROJECT_SOURCE_DIR}/src/engine/sqltranslator.cpp
                 ${PROJECT_SOURCE_DIR}/src/engine/sqlexpressions.cpp
                 ${PROJECT_SOURCE_DIR}/src/engine/sqlfunctions.cpp)
  set_target_properties(fuzz_sqldialect PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  target_include_directories(fuzz_sqldialect PRIVATE ${PROJECT_SOURCE_DIR}/src)
  target_compile_options(fuzz_sqldialect PRIVATE -fsanitize=fuzzer,address,undefined)
  target_link_options(fuzz_sqldialect PRIVATE -fsanitize=fuzzer,address,undefined)
  target_link_libraries(fuzz_sqldialect PRIVATE Qt6::Core PkgConfig::SQLCIPHER)
endif()
tarvo_add_test(tst_sqlfunctions SOURCES tst_sqlfunctions.cpp LIBS tarvo_engine)
