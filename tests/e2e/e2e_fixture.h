// The fixture of the end-to-end tests: a scratch folder of the test's own
// for the program's copy, its notes and its settings; the test is skipped
// when no Jotstack.exe is given.
#pragma once

#include <gtest/gtest.h>

#include "tests/e2e/jotstack_process.h"

class JotstackE2ETest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (JotstackUnderTest().empty())
            GTEST_SKIP() << "JOTSTACK_EXE is not set";
    }

    ScratchDir m_dir;
};
