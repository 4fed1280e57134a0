# Runtime options of the sanitized build (SETUP_SANITIZE). ctest reads the generated file
# before it starts any test, so every test and every program a test starts (the e2e scenarios
# run the real Settings) inherits them, whoever registered the test.
#
# Any report fails: AddressSanitizer and UndefinedBehaviorSanitizer stop the process at the
# first finding, LeakSanitizer ends it with a failing exit code.

set(SETUP_SANITIZER_DIR ${CMAKE_CURRENT_LIST_DIR})

find_program(SETUP_LLVM_SYMBOLIZER NAMES llvm-symbolizer llvm-symbolizer-14 PATHS /usr/lib/llvm-14/bin)

set(_asan halt_on_error=1 print_stacktrace=1 detect_leaks=1 detect_stack_use_after_return=1
    check_initialization_order=1 strict_init_order=1 detect_invalid_pointer_pairs=0)
set(_lsan suppressions=${SETUP_SANITIZER_DIR}/lsan.supp print_suppressions=0)
set(_ubsan halt_on_error=1 print_stacktrace=1)
if(EXISTS ${SETUP_SANITIZER_DIR}/ubsan.supp)
  list(APPEND _ubsan suppressions=${SETUP_SANITIZER_DIR}/ubsan.supp)
endif()
list(JOIN _asan ":" SETUP_ASAN_OPTIONS)
list(JOIN _lsan ":" SETUP_LSAN_OPTIONS)
list(JOIN _ubsan ":" SETUP_UBSAN_OPTIONS)

set(_env "set(ENV{ASAN_OPTIONS} \"${SETUP_ASAN_OPTIONS}\")\n"
         "set(ENV{LSAN_OPTIONS} \"${SETUP_LSAN_OPTIONS}\")\n"
         "set(ENV{UBSAN_OPTIONS} \"${SETUP_UBSAN_OPTIONS}\")\n")
if(SETUP_LLVM_SYMBOLIZER)
  string(APPEND _env "set(ENV{ASAN_SYMBOLIZER_PATH} \"${SETUP_LLVM_SYMBOLIZER}\")\n")
endif()
file(WRITE ${CMAKE_BINARY_DIR}/sanitizer_environment.cmake ${_env})
set_property(DIRECTORY ${CMAKE_SOURCE_DIR} APPEND PROPERTY TEST_INCLUDE_FILES
             ${CMAKE_BINARY_DIR}/sanitizer_environment.cmake)
