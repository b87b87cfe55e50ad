// What the code under test prints on the console: each helper runs a piece of
// code with one stream captured and returns what was written to it, which a
// test checks or, to keep the test's output quiet, ignores.
#pragma once

#include <functional>
#include <string>

std::string printedBy(const std::function<void()>& run);  // standard output
std::string errorsOf(const std::function<void()>& run);   // standard error
