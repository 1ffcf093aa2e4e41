#include <gtest/gtest.h>

#include <QCoreApplication>

#include "support/TestFailure.h"

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    QCoreApplication app(argc, argv);
    kyv::test::SetTestFailureHandler([](const std::string& what) { ADD_FAILURE() << what; });
    return RUN_ALL_TESTS();
}
