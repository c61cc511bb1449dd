# Writes the man page of tallex-cli with help2man: its usage and exit codes, then each
# subcommand's help, so the page never says other than the program itself.
#   cmake -DCLI=path/to/tallex-cli -DHELP2MAN=path/to/help2man -DOUT=tallex-cli.1 -P man-page.cmake
set(include "${OUT}.include")
file(WRITE "${include}" "[SUBCOMMANDS]\n")
foreach(sub apr check report batch)
  execute_process(COMMAND "${CLI}" ${sub} --help OUTPUT_VARIABLE text RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${CLI} ${sub} --help exited ${rc}")
  endif()
  # Text for roff: backslashes escaped, hyphens as minus signs (as typed), no line read as a request.
  string(REPLACE "\\" "\\e" text "${text}")
  string(REPLACE "-" "\\-" text "${text}")
  string(REGEX REPLACE "(^|\n)([.'])" "\\1\\\\&\\2" text "${text}")
  file(APPEND "${include}" ".SS ${sub}\n.nf\n${text}.fi\n")
endforeach()
execute_process(COMMAND "${HELP2MAN}" --no-info --section=1
                        "--name=check Truth in Lending APR and finance charge disclosures"
                        "--include=${include}" "--output=${OUT}" "${CLI}"
                RESULT_VARIABLE rc ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "help2man failed (${rc}): ${err}")
endif()
file(REMOVE "${include}")
