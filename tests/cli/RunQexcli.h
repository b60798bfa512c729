#pragma once
// Runs the qexcli built with these tests.

#include "tests/support/TestSupport.h"

namespace qex::test {

inline ProcessResult RunQexcli(const std::vector<std::string>& arguments, const std::string& workingDir = {},
                               const std::function<void()>& inChild = {})
{
    return RunProgram(QEXCLI_PATH, arguments, workingDir, inChild);
}

} // namespace qex::test
