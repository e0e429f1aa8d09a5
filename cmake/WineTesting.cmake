# Running Windows test programs under Wine (first version: plain add_test).
function(add_wine_test)
    cmake_parse_arguments(W "" "NAME;TIMEOUT" "COMMAND" ${ARGN})
    add_test(NAME ${W_NAME} COMMAND ${W_COMMAND})
endfunction()
