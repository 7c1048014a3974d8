// SPDX-License-Identifier: MIT
#pragma once
// A Qt application object for the whole test program, made before the first test and destroyed
// after the last: QtApplicationEnvironment<QApplication> for tests with widgets,
// QtApplicationEnvironment<QCoreApplication> for those that only need the event loop.

#include <gtest/gtest.h>

#include <memory>

template <class Application> class QtApplicationEnvironment : public testing::Environment {
  public:
    void SetUp() override {
        static int argc = 1;
        static char name[] = "verasco-test";
        static char* argv[] = {name, nullptr};
        app_ = std::make_unique<Application>(argc, argv);
    }
    void TearDown() override { app_.reset(); }

  private:
    std::unique_ptr<Application> app_;
};
