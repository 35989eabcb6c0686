# SPDX-License-Identifier: GPL-3.0-or-later
# orvanta_cups_fixture(FIXTURE DIR LOCK [START-OPTIONS...]): fixture FIXTURE
# starts a private spooler in DIR (tests/cups/start.sh) before its tests and
# stops it after, holding the resource lock LOCK. lpadmin and cupsd live in
# /usr/sbin, which an ordinary user's PATH lacks.
function(orvanta_cups_fixture fixture dir lock)
    set(scripts ${PROJECT_SOURCE_DIR}/tests/cups)
    add_test(NAME ${fixture}_start COMMAND bash ${scripts}/start.sh ${dir} ${ARGN})
    add_test(NAME ${fixture}_stop COMMAND bash ${scripts}/stop.sh ${dir})
    set_tests_properties(${fixture}_start PROPERTIES FIXTURES_SETUP ${fixture} RESOURCE_LOCK ${lock}
                         ENVIRONMENT_MODIFICATION "PATH=path_list_append:/usr/sbin")
    set_tests_properties(${fixture}_stop PROPERTIES FIXTURES_CLEANUP ${fixture} RESOURCE_LOCK ${lock})
endfunction()
