# Writes the manual page of lumetra-cli from the program's own help text, so the page
# can never describe options the program does not have.
#   cmake -DPROGRAM=path/to/lumetra-cli -DVERSION=0.1 -DOUTPUT=lumetra-cli.1 -P make_manpage.cmake
# The help lists each command on a line indented by two blanks (its synopsis, then its
# description after a run of blanks), continuation lines indented further, and the
# command's options on lines indented by six blanks.
foreach(required PROGRAM VERSION OUTPUT)
  if(NOT DEFINED ${required})
    message(FATAL_ERROR "make_manpage.cmake needs -D${required}=...")
  endif()
endforeach()

execute_process(COMMAND "${PROGRAM}" --help OUTPUT_VARIABLE help RESULT_VARIABLE status)
if(NOT status EQUAL 0 OR help STREQUAL "")
  message(FATAL_ERROR "${PROGRAM} --help failed (${status})")
endif()

# Text for roff: backslashes and hyphens escaped, a leading dot or quote neutralised.
function(roff_escape text out)
  string(REPLACE "\\" "\\e" text "${text}")
  string(REPLACE "-" "\\-" text "${text}")
  if(text MATCHES "^[.']")
    set(text "\\&${text}")
  endif()
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

set(page ".TH LUMETRA\\-CLI 1 \"\" \"Lumetra ${VERSION}\" \"User Commands\"
.SH NAME
lumetra\\-cli \\- compute currents, fields and radiated emission of PCB traces without a window
.SH SYNOPSIS
.B lumetra\\-cli
.I COMMAND
.RI [ ARGUMENTS ]
.SH DESCRIPTION
.B lumetra\\-cli
works on the project files (.PRO) of the desktop program
.BR lumetra (1)
by the method of moments: it creates and saves projects, computes the currents of the
traces over a frequency sweep, their far and near fields, the radiated emission at a
test site against CISPR 32 and FCC limits, and the network parameters of the voltage
sources. It never asks a question.
.SH COMMANDS
")

# The help's lines, with the usage line dropped (it is the synopsis above).
string(REPLACE ";" "\\;" help "${help}")
string(REPLACE "\n" ";" lines "${help}")
set(in_options FALSE)
foreach(line IN LISTS lines)
  if(line MATCHES "^usage:" OR line STREQUAL "")
    continue()
  endif()
  if(line MATCHES "^  ([^ ].*)$")
    # A command: its synopsis in bold, its description after two or more blanks.
    if(in_options)
      string(APPEND page ".fi\n.RE\n")
      set(in_options FALSE)
    endif()
    set(rest "${CMAKE_MATCH_1}")
    set(description "")
    if(rest MATCHES "^(.*[^ ])   +([^ ].*)$")
      set(rest "${CMAKE_MATCH_1}")
      set(description "${CMAKE_MATCH_2}")
    endif()
    roff_escape("${rest}" rest)
    roff_escape("${description}" description)
    string(APPEND page ".TP\n.B ${rest}\n")
    if(NOT description STREQUAL "")
      string(APPEND page "${description}\n")
    endif()
  elseif(line MATCHES "^      ([^ ].*)$")
    # One of the command's option lines, kept as laid out.
    if(NOT in_options)
      string(APPEND page ".RS\n.nf\n")
      set(in_options TRUE)
    endif()
    roff_escape("${line}" text)
    string(SUBSTRING "${text}" 6 -1 text)
    string(APPEND page "${text}\n")
  elseif(line MATCHES "^ +([^ ].*)$")
    # Continuation of the description above, or of an option line.
    roff_escape("${CMAKE_MATCH_1}" text)
    if(in_options)
      roff_escape("${line}" text)
      string(SUBSTRING "${text}" 6 -1 text)
    endif()
    string(APPEND page "${text}\n")
  endif()
endforeach()
if(in_options)
  string(APPEND page ".fi\n.RE\n")
endif()

string(APPEND page ".SH EXIT STATUS
.TP
.B 0
success
.TP
.B 1
the program reported an error; the message is printed
.TP
.B 2
a malformed command line, or input a command refused
.TP
.B 3
.B emission
only: a line of the spectrum exceeds the limit
.SH ENVIRONMENT
.TP
.B LUMETRA_DATA
a directory whose
.I limits
subdirectory is searched first for the limit files named by
.BR \\-\\-limit .
.SH FILES
.TP
.I /usr/share/lumetra/limits
the shipped limit lines (CSV), found relative to the program's own directory
.RI ( ../share/lumetra/limits ),
so an installed tree works under any prefix
.TP
.I /usr/share/lumetra/examples
example projects; copy one to a writable directory before computing it, since the
results are written beside the project
.SH EXAMPLE
.nf
cp \\-r /usr/share/lumetra/examples/clock\\-trace .
lumetra\\-cli emission clock\\-trace/clock\\-trace.PRO \\e
    \\-\\-clock 1:25:3.3:1 \\-\\-distance 3 \\-\\-site sac \\-\\-limit cispr32\\-b
.fi
.SH SEE ALSO
.BR lumetra (1)
")
file(WRITE "${OUTPUT}" "${page}")
