#pragma once
// Several Qt Test classes in one executable: each registers itself with VUMO_TEST_CLASS and the
// shared main runs them all (or only those named on the command line with -class NAME).
#include <QObject>

#include <functional>

namespace VumoTest {
using Factory = std::function<QObject*()>;
int registerTest(const char* name, Factory factory);
} // namespace VumoTest

#define VUMO_TEST_CLASS(Cls)                                                                                           \
    static const int vumoTestRegistration_##Cls = ::VumoTest::registerTest(#Cls, [] { return new Cls; });
