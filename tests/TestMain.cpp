#include <gtest/gtest.h>

#include "platform/ProgramExit.h"

// The tests' process ends as the program's does: leaks checked, statics of the libraries left
// alone (see ProgramExit.h).
int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    celvane::endProgram(RUN_ALL_TESTS());
}
