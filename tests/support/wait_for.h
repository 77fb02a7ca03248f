// GoogleTest's counterparts of QTRY_VERIFY: turn the event loop until a
// condition holds (at most five seconds) instead of waiting a fixed time.
#pragma once

#include <QTest>

#include <gtest/gtest.h>

#define EXPECT_SOON(condition) \
    EXPECT_TRUE(QTest::qWaitFor([&] { return static_cast<bool>(condition); })) << "never true: " #condition
#define ASSERT_SOON(condition) \
    ASSERT_TRUE(QTest::qWaitFor([&] { return static_cast<bool>(condition); })) << "never true: " #condition
