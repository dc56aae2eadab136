// The main() of the test programs whose every test must leave no descriptor
// open: the port, link, library and device-access tests.
#include <gtest/gtest.h>

#include "DescriptorCheck.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    talvo_test::CheckDescriptorsAroundEachTest();
    return RUN_ALL_TESTS();
}
