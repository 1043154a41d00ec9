# Proves that a console text's format is checked when compiling: each call
# below is compiled on its own. The first, well formed, must compile; every
# other must be refused, and by the format check (its error names it), not by
# some other fault of the case.
#   cmake -DCXX=<compiler> -DCOMMON=<src/common> -DWORK=<scratch folder> -P console_format_check.cmake
set(calls
  [=[console("row %d, %s %c 100%%\n", 12, std::string("x"), 'y')]=]
  [=[console("row %d\n", std::string("12"))]=]  # an argument of the wrong kind
  [=[console("row %d, %s\n", 12)]=]             # an argument missing
  [=[console("row\n", 12)]=]                    # an argument too many
  [=[print_to(stdout, "row %5d\n", 12)]=])      # a conversion the formatter lacks
file(MAKE_DIRECTORY ${WORK})
set(index 0)
foreach(call IN LISTS calls)
  set(source ${WORK}/case${index}.cpp)
  file(WRITE ${source} "#include <string>\n#include \"console_io.h\"\nvoid write_it() { ${call}; }\n")
  execute_process(COMMAND ${CXX} -std=c++20 -fsyntax-only -I${COMMON} ${source}
                  RESULT_VARIABLE refused ERROR_VARIABLE errors)
  if(index EQUAL 0 AND refused)
    message(FATAL_ERROR "a well-formed console text did not compile: ${call}\n${errors}")
  elseif(index GREATER 0 AND NOT refused)
    message(FATAL_ERROR "compiled, though its format does not match its arguments: ${call}")
  elseif(index GREATER 0 AND NOT errors MATCHES "message_format_does_not_match_its_arguments")
    message(FATAL_ERROR "refused, but not by the format check: ${call}\n${errors}")
  endif()
  math(EXPR index "${index} + 1")
endforeach()
