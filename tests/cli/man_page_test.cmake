# The generated man page holds the usage, every subcommand's help and the exit codes.
file(READ "${PAGE}" page)
foreach(text ".TH TALLEX-CLI \"1\"" ".SH SUBCOMMANDS" ".SS apr" ".SS check" ".SS report" ".SS batch"
             "Exit codes: 0 every case was checked" "\\-\\-input\\-format" "tallex-cli ${VERSION}")
  string(FIND "${page}" "${text}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "the man page lacks '${text}'")
  endif()
endforeach()
