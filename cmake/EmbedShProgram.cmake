# Makes OUTPUT, C++ that RejoinScript.cpp includes, from INPUT, the sh program
# of the rejoin script: the program as a string, and every message that it
# names (say_Name, ask_Name) as SplitMessages::Name, so that a name that no
# message has fails the build.
#   cmake -DINPUT=split/rejoin.sh -DOUTPUT=.../RejoinShProgram.inc -P cmake/EmbedShProgram.cmake
file(READ "${INPUT}" program)
set(delimiter "rejoin_sh")
string(FIND "${program}" ")${delimiter}\"" clash)
if(NOT clash EQUAL -1)
    message(FATAL_ERROR "${INPUT} holds )${delimiter}\", which would end the string that holds it")
endif()
# The names that the code uses, its comment lines aside.
string(REGEX REPLACE "(^|\n)[ \t]*#[^\n]*" "\\1" code "${program}")
string(REGEX MATCHALL "(say|ask)_[A-Za-z0-9]+" uses "${code}")
list(REMOVE_DUPLICATES uses)
list(SORT uses)
set(entries "")
foreach(use IN LISTS uses)
    string(REGEX MATCH "^(say|ask)_(.*)$" parts "${use}")
    string(APPEND entries "    {\"${CMAKE_MATCH_1}\", \"${CMAKE_MATCH_2}\", SplitMessages::${CMAKE_MATCH_2}},\n")
endforeach()
file(WRITE "${OUTPUT}.new"
    "// Made by cmake/EmbedShProgram.cmake from split/rejoin.sh: edit that, not this.\n"
    "constexpr const char* RejoinShProgram = R\"${delimiter}(${program})${delimiter}\";\n"
    "constexpr ShMessage RejoinShMessages[] = {\n${entries}};\n")
file(COPY_FILE "${OUTPUT}.new" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.new")
