// Marks the checking code of a fuzz target: its branches say nothing about
// the code under test, so they are left out of the coverage the search
// follows, and a run does not pay for tracing them.
#pragma once

#define VORN_FUZZ_ORACLE __attribute__((no_sanitize("coverage")))
